#include "settings/multilanguage.h"
#include "settings/optionnames.h"
#include "settings/registrysave.h"
#include "settings/settings.h"
#include "settings/ui/optionsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace settings;

class TstOptionsDialog : public QObject {
    Q_OBJECT
private slots:
    void everySettingHasANamedEditor();
    void applyStoresAndCancelDiscards();
    void separatorsAddedOnce();
};

void TstOptionsDialog::everySettingHasANamedEditor() {
    QTemporaryDir dir;
    TRegistrySave store(dir.filePath(QStringLiteral("Varlo.conf")));
    Settings settings;
    TSettings dialog(settings, store, TMultiLanguage());
    for (const OptionSpec& spec : optionSpecs())
        QCOMPARE(dialog.findChild<QWidget*>(QLatin1String(spec.name)) != nullptr,
                 spec.page != Page::None);
    QCOMPARE(dialog.shownValues(), settings.values());
}

void TstOptionsDialog::applyStoresAndCancelDiscards() {
    QTemporaryDir dir;
    TRegistrySave store(dir.filePath(QStringLiteral("Varlo.conf")));
    Settings settings;
    TSettings dialog(settings, store, TMultiLanguage());
    dialog.findChild<QCheckBox*>(QLatin1String(names::HotTracking))->setChecked(true);
    dialog.findChild<QComboBox*>(QLatin1String(names::DupFilesComboBox))->setCurrentIndex(0);
    dialog.findChild<QListWidget*>(QLatin1String(names::Troubleshooting))
        ->item(4)
        ->setCheckState(Qt::Checked);
    QVERIFY(!settings.hotTracking()); // nothing is in force before Apply
    dialog.Apply();
    QVERIFY(settings.hotTracking());
    QCOMPARE(settings.duplicateFiles(), Settings::DuplicateSkip);
    QVERIFY(settings.tagOptions().keepDoubleSpaces);
    QVERIFY(settings.setValue(QLatin1String(names::FreeDBProxy), QStringLiteral("proxy")));
    dialog.Apply(); // settings without an editor are left alone
    QCOMPARE(settings.freeDBProxy(), QStringLiteral("proxy"));
    Settings restarted;
    restarted.load(TRegistrySave(dir.filePath(QStringLiteral("Varlo.conf"))));
    QCOMPARE(restarted.values(), settings.values());

    auto* digits = dialog.findChild<QSpinBox*>(QLatin1String(names::DigitsCount));
    digits->setValue(6);
    dialog.Cancel();
    QCOMPARE(digits->value(), 4);
    QCOMPARE(settings.digitsCount(), 4);
}

void TstOptionsDialog::separatorsAddedOnce() {
    QTemporaryDir dir;
    TRegistrySave store(dir.filePath(QStringLiteral("Varlo.conf")));
    Settings settings;
    TSettings dialog(settings, store, TMultiLanguage());
    auto* list = dialog.findChild<QListWidget*>(QLatin1String(names::lstSeparators));
    auto* edit = list->parentWidget()->findChild<QLineEdit*>();
    for (const QString& text : {QStringLiteral("+"), QStringLiteral("+"), QString()}) {
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(edit->text().isEmpty());
    }
    QCOMPARE(dialog.result(), int(QDialog::Rejected)); // Enter did not press "Ok"
    dialog.Apply();
    QCOMPARE(settings.separators(), (QStringList{" - ", "{", "}", "[", "]", "(", ")", "+"}));
}

QTEST_MAIN(TstOptionsDialog)
#include "tst_optionsdialog.moc"
