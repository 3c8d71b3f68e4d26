#include "settings/browsewith.h"
#include "settings/multilanguage.h"
#include "settings/optionnames.h"
#include "settings/registrysave.h"
#include "settings/settings.h"
#include "settings/ui/optionsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace settings;

class TstOptionsDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everySettingHasANamedEditor();
    void applyStoresAndCancelDiscards();
    void separatorsAddedOnce();
    void genrePageSetsShortGenreList();
    void extensionsAnnounced();
    void browseWithEntryFollowsCheckBox();
    void cacheButtonsRequestCommands();

private:
    QTemporaryDir m_dataHome;
};

void TstOptionsDialog::initTestCase() {
    // Apply writes the file manager's "Browse with" entry below the user's data folder.
    qputenv("XDG_DATA_HOME", m_dataHome.path().toUtf8());
}

void TstOptionsDialog::everySettingHasANamedEditor() {
    QTemporaryDir dir;
    TRegistrySave store(dir.filePath(QStringLiteral("Varlo.conf")));
    Settings settings;
    TMultiLanguage languages;
    TSettings dialog(settings, store, languages);
    for (const OptionSpec& spec : optionSpecs())
        QCOMPARE(dialog.findChild<QWidget*>(QLatin1String(spec.name)) != nullptr,
                 spec.page != Page::None);
    QCOMPARE(dialog.shownValues(), settings.values());
}

void TstOptionsDialog::applyStoresAndCancelDiscards() {
    QTemporaryDir dir;
    TRegistrySave store(dir.filePath(QStringLiteral("Varlo.conf")));
    Settings settings;
    TMultiLanguage languages;
    TSettings dialog(settings, store, languages);
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
    TMultiLanguage languages;
    TSettings dialog(settings, store, languages);
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

void TstOptionsDialog::genrePageSetsShortGenreList() {
    QTemporaryDir dir;
    TRegistrySave store(dir.filePath(QStringLiteral("Varlo.conf")));
    Settings settings;
    TMultiLanguage languages;
    TSettings dialog(settings, store, languages);
    QSignalSpy changed(&settings, &Settings::shortGenreListChanged);
    auto* genres = dialog.findChild<QListWidget*>(QStringLiteral("GenreList"));
    QCOMPARE(genres->count(), 148);
    QCOMPARE(genres->item(0)->text(), QStringLiteral("A Cappella")); // sorted by name
    QList<QListWidgetItem*> blues = genres->findItems(QStringLiteral("Blues"), Qt::MatchExactly);
    QCOMPARE(blues.first()->checkState(), Qt::Unchecked);
    blues.first()->setCheckState(Qt::Checked);
    genres->findItems(QStringLiteral("Dance"), Qt::MatchExactly)
        .first()
        ->setCheckState(Qt::Unchecked);
    dialog.Apply();
    const QSet<int> expected{0, 8, 12, 14, 18, 21, 25, 33, 106, 255};
    QCOMPARE(changed.size(), 1);
    QCOMPARE(settings.shortGenreList(), expected);
    Settings restarted;
    restarted.load(TRegistrySave(dir.filePath(QStringLiteral("Varlo.conf"))));
    QCOMPARE(restarted.shortGenreList(), expected);
}

void TstOptionsDialog::extensionsAnnounced() {
    QTemporaryDir dir;
    TRegistrySave store(dir.filePath(QStringLiteral("Varlo.conf")));
    Settings settings;
    TMultiLanguage languages;
    TSettings dialog(settings, store, languages);
    QSignalSpy changed(&settings, &Settings::extensionsChanged);
    QVERIFY(settings.wmaEnabled() && settings.oggEnabled());
    auto* extensions = dialog.findChild<QListWidget*>(QLatin1String(names::Extensions));
    extensions->findItems(QStringLiteral("WMA"), Qt::MatchExactly)
        .first()
        ->setCheckState(Qt::Unchecked);
    dialog.Apply();
    QCOMPARE(changed.size(), 1);
    QVERIFY(!settings.wmaEnabled());
    QVERIFY(settings.oggEnabled());
    QVERIFY(!changed.first().first().toStringList().contains(QStringLiteral("WMA")));
    dialog.Apply();
    QCOMPARE(changed.size(), 1); // nothing changed, nothing announced
}

void TstOptionsDialog::browseWithEntryFollowsCheckBox() {
    QTemporaryDir dir;
    TRegistrySave store(dir.filePath(QStringLiteral("Varlo.conf")));
    Settings settings;
    TMultiLanguage languages;
    TSettings dialog(settings, store, languages);
    dialog.Apply();
    QVERIFY(QFileInfo::exists(TBrowseWithEntry::entryPath()));
    dialog.findChild<QCheckBox*>(QLatin1String(names::BrowseWith))->setChecked(false);
    dialog.Apply();
    QVERIFY(!QFileInfo::exists(TBrowseWithEntry::entryPath()));
}

void TstOptionsDialog::cacheButtonsRequestCommands() {
    QTemporaryDir dir;
    TRegistrySave store(dir.filePath(QStringLiteral("Varlo.conf")));
    Settings settings;
    TMultiLanguage languages;
    TSettings dialog(settings, store, languages);
    QSignalSpy build(&dialog, &TSettings::buildCacheRequested);
    QSignalSpy synchronize(&dialog, &TSettings::synchronizeCacheRequested);
    QSignalSpy clean(&dialog, &TSettings::cleanCacheRequested);
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == QLatin1String("Build cache") ||
            button->text() == QLatin1String("Synchronize") ||
            button->text() == QLatin1String("Clean cache"))
            button->click();
    }
    QCOMPARE(build.size() + synchronize.size() + clean.size(), 3);
    QCOMPARE(clean.size(), 1);
}

QTEST_MAIN(TstOptionsDialog)
#include "tst_optionsdialog.moc"
