#include "app/columnsdialog.h"
#include "settings/ui/windowstate.h"

#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>

namespace {

/// A list of six columns "C0" to "C5", 100 to 150 pixels wide, all shown.
struct ColumnList {
    QStandardItemModel model{2, 6};
    QTreeView view;

    ColumnList() {
        for (int column = 0; column < model.columnCount(); ++column)
            model.setHorizontalHeaderItem(column,
                                          new QStandardItem(QStringLiteral("C%1").arg(column)));
        view.setModel(&model);
        header()->setStretchLastSection(false);
        header()->setSectionsMovable(true);
        for (int column = 0; column < model.columnCount(); ++column)
            header()->resizeSection(column, 100 + 10 * column);
    }
    QHeaderView* header() { return view.header(); }
    QString layout() { return settings::columnLayoutText(header()); }
};

/// The dialog's controls, found as the user would see them.
struct Chooser {
    app::TFormColumns dialog;
    QListWidget* list;
    QSpinBox* width;

    explicit Chooser(QHeaderView* header)
        : dialog(header), list(dialog.findChild<QListWidget*>(QStringLiteral("lstColumns"))),
          width(dialog.findChild<QSpinBox*>(QStringLiteral("edtWidth"))) {}

    QPushButton* button(const char* name) {
        return dialog.findChild<QPushButton*>(QLatin1String(name));
    }
    void select(int row) { list->setCurrentRow(row); }
    void click(const char* name) { button(name)->click(); }
    QPushButton* ok() {
        for (QPushButton* candidate : dialog.findChildren<QPushButton*>())
            if (candidate->text().remove(QLatin1Char('&')) == QLatin1String("OK"))
                return candidate;
        return nullptr;
    }
};

} // namespace

class TestColumnsDialog : public QObject {
    Q_OBJECT
private slots:
    void listsColumnsInScreenOrder();
    void okAppliesOrderWidthsAndHiddenColumns();
    void enterKeepsTheTypedWidth();
    void cancelLeavesTheList();
    void showingAColumnWithoutWidthGivesItSixty();
    void buttonsFollowTheSelectedEntry_data();
    void buttonsFollowTheSelectedEntry();
    void okNeedsAShownColumn();
};

void TestColumnsDialog::listsColumnsInScreenOrder() {
    ColumnList columns;
    columns.header()->moveSection(3, 0);
    columns.view.hideColumn(4);

    const QList<app::ColumnEntry> expected = {
        {QStringLiteral("C3"), 3, 130, true}, {QStringLiteral("C0"), 0, 100, true},
        {QStringLiteral("C1"), 1, 110, true}, {QStringLiteral("C2"), 2, 120, true},
        {QStringLiteral("C4"), 4, 0, false},  {QStringLiteral("C5"), 5, 150, true}};
    QCOMPARE(app::TFormColumns::entriesOf(columns.header()), expected);

    Chooser chooser(columns.header());
    QCOMPARE(chooser.list->count(), 6);
    QCOMPARE(chooser.list->item(0)->text(), QStringLiteral("C3"));
    QCOMPARE(chooser.list->item(4)->checkState(), Qt::Unchecked);
    QCOMPARE(chooser.width->value(), 130); // the first entry is selected
}

void TestColumnsDialog::okAppliesOrderWidthsAndHiddenColumns() {
    ColumnList columns;
    Chooser chooser(columns.header());
    chooser.select(1);
    chooser.click("btnHide");
    chooser.select(3);
    chooser.click("btnMoveUp");
    chooser.click("btnMoveUp"); // the selection moves with the entry
    chooser.select(0);
    chooser.width->setValue(222);

    const QString expected = QStringLiteral("0,222;3,130;1,0;2,120;4,140;5,150;");
    QCOMPARE(app::TFormColumns::layoutTextOf(chooser.dialog.entries()), expected);
    chooser.ok()->click();

    QCOMPARE(chooser.dialog.result(), int(QDialog::Accepted));
    QHeaderView* header = columns.header();
    QCOMPARE(header->logicalIndex(1), 3);
    QCOMPARE(header->logicalIndex(2), 1);
    QVERIFY(header->isSectionHidden(1));
    QCOMPARE(header->sectionSize(0), 222);
    QCOMPARE(columns.layout(), expected);
}

/// The width field takes a number once it is typed; Enter must not close the dialog first.
void TestColumnsDialog::enterKeepsTheTypedWidth() {
    ColumnList columns;
    Chooser chooser(columns.header());
    chooser.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chooser.dialog));
    chooser.select(1);
    chooser.width->setFocus();
    chooser.width->selectAll();
    QTest::keyClicks(chooser.width, QStringLiteral("87"));
    QTest::keyClick(chooser.width, Qt::Key_Return);

    QCOMPARE(chooser.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(columns.header()->sectionSize(1), 87);
}

void TestColumnsDialog::cancelLeavesTheList() {
    ColumnList columns;
    const QString before = columns.layout();
    Chooser chooser(columns.header());
    chooser.select(2);
    chooser.click("btnHide");
    chooser.click("btnMoveDown");
    chooser.width->setValue(33);
    chooser.dialog.reject();

    QCOMPARE(columns.layout(), before);
}

void TestColumnsDialog::showingAColumnWithoutWidthGivesItSixty() {
    ColumnList columns;
    columns.view.hideColumn(2);
    Chooser chooser(columns.header());
    chooser.select(2);
    QCOMPARE(chooser.width->value(), 0);
    chooser.click("btnShow");

    QCOMPARE(chooser.list->item(2)->checkState(), Qt::Checked);
    QCOMPARE(chooser.width->value(), app::TFormColumns::kShownWidth);
    chooser.ok()->click();
    QVERIFY(!columns.header()->isSectionHidden(2));
    QCOMPARE(columns.header()->sectionSize(2), app::TFormColumns::kShownWidth);
}

void TestColumnsDialog::buttonsFollowTheSelectedEntry_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("show");
    QTest::addColumn<bool>("hide");
    QTest::newRow("first") << 0 << false << true << false << true;
    QTest::newRow("middle") << 2 << true << true << false << true;
    QTest::newRow("hidden") << 4 << true << true << true << false;
    QTest::newRow("last") << 5 << true << false << false << true;
}

void TestColumnsDialog::buttonsFollowTheSelectedEntry() {
    QFETCH(int, row);
    ColumnList columns;
    columns.view.hideColumn(4);
    Chooser chooser(columns.header());
    chooser.select(row);

    QTEST(chooser.button("btnMoveUp")->isEnabled(), "up");
    QTEST(chooser.button("btnMoveDown")->isEnabled(), "down");
    QTEST(chooser.button("btnShow")->isEnabled(), "show");
    QTEST(chooser.button("btnHide")->isEnabled(), "hide");
}

/// Hiding every column would leave a list that shows nothing, not even where to click.
void TestColumnsDialog::okNeedsAShownColumn() {
    ColumnList columns;
    const QString before = columns.layout();
    Chooser chooser(columns.header());
    for (int row = 0; row < chooser.list->count(); ++row)
        chooser.list->item(row)->setCheckState(Qt::Unchecked);
    chooser.select(5);
    QVERIFY(chooser.button("btnShow")->isEnabled()); // the check box acts as Hide did
    QVERIFY(!chooser.ok()->isEnabled());
    chooser.dialog.accept();
    QCOMPARE(columns.layout(), before);

    chooser.click("btnShow");
    QVERIFY(chooser.ok()->isEnabled());
}

QTEST_MAIN(TestColumnsDialog)
#include "tst_columnsdialog.moc"
