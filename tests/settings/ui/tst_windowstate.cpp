#include "settings/registrysave.h"
#include "settings/ui/windowstate.h"

#include <QDockWidget>
#include <QHeaderView>
#include <QListWidget>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

using namespace settings;

namespace {

/// A list with four columns 100 pixels wide, shown in their own order.
std::unique_ptr<QTreeWidget> fourColumnList() {
    auto list = std::make_unique<QTreeWidget>();
    list->setHeaderLabels({"Name", "Artist", "Title", "Size"});
    for (int column = 0; column < 4; ++column)
        list->header()->resizeSection(column, 100);
    list->header()->setStretchLastSection(false);
    return list;
}

/// A main window as the program builds one: a named toolbar and a named panel on the left.
std::unique_ptr<QMainWindow> mainWindow() {
    auto window = std::make_unique<QMainWindow>();
    window->setObjectName(QStringLiteral("FormMain"));
    window->setCentralWidget(new QListWidget);
    auto* toolbar = new QToolBar;
    toolbar->setObjectName(QStringLiteral("MainToolbar"));
    window->addToolBar(toolbar);
    auto* dock = new QDockWidget(QStringLiteral("Folders"));
    dock->setObjectName(QStringLiteral("FolderPanel"));
    dock->setWidget(new QListWidget);
    window->addDockWidget(Qt::LeftDockWidgetArea, dock);
    return window;
}

} // namespace

class TstWindowState : public QObject {
    Q_OBJECT
private slots:
    void columnLayoutApplied_data();
    void columnLayoutApplied();
    void windowLayoutRoundTrip();
};

void TstWindowState::columnLayoutApplied_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("every column: order and widths") << "2,80;0,120;3,0;1,60;"
                                                    << "2,80;0,120;3,0;1,60;";
    QTest::newRow("fewer pairs keep the order") << "1,50;3,0;"
                                                << "0,100;1,50;2,100;3,0;";
    QTest::newRow("negative width hides") << "1,-5;"
                                          << "0,100;1,0;2,100;3,100;";
    QTest::newRow("bad first pair changes nothing") << "x,50;1,60;"
                                                    << "0,100;1,100;2,100;3,100;";
    QTest::newRow("stops at a bad pair") << "1,70;9,20;2,30;"
                                         << "0,100;1,70;2,100;3,100;";
}

void TstWindowState::columnLayoutApplied() {
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    const auto list = fourColumnList();
    applyColumnLayoutText(list->header(), stored);
    QCOMPARE(columnLayoutText(list->header()), shown);
    // What is read back applies to a fresh list as it is.
    const auto again = fourColumnList();
    applyColumnLayout(again->header(), columnLayoutOf(list->header()));
    QCOMPARE(columnLayoutText(again->header()), shown);
}

void TstWindowState::windowLayoutRoundTrip() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Varlo.conf"));
    {
        const auto window = mainWindow();
        window->setGeometry(60, 40, 640, 480);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->findChild<QToolBar*>()->hide();
        auto* dock = window->findChild<QDockWidget*>();
        window->resizeDocks({dock}, {230}, Qt::Horizontal);
        QTRY_COMPARE(dock->width(), 230);
        TRegistrySave store(path);
        saveWindowState(store, *window);
        QVERIFY(store.sync());
    }
    const auto window = mainWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    restoreWindowState(TRegistrySave(path), *window);
    QTRY_COMPARE(window->geometry(), QRect(60, 40, 640, 480));
    QVERIFY(window->findChild<QToolBar*>()->isHidden());
    QTRY_COMPARE(window->findChild<QDockWidget*>()->width(), 230);
}

QTEST_MAIN(TstWindowState)
#include "tst_windowstate.moc"
