#include "settings/optionnames.h"
#include "settings/registrysave.h"
#include "settings/settings.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace settings;

class TstOptionsModel : public QObject {
    Q_OBJECT
private slots:
    void everySettingHasItsDefault_data();
    void everySettingHasItsDefault();
    void namesAreUnique();
    void changeSurvivesARestart();
    void paddingPercentIsNotStored();
    void clamping_data();
    void clamping();
    void noExtensionCheckedMeansAll();
    void changeSignalOnlyOnChange();
    void tagOptionsFollowSettings();
    void separatorList_data();
    void separatorList();
};

void TstOptionsModel::everySettingHasItsDefault_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("expected");
    const auto row = [](const char* name, const QVariant& value) {
        QTest::newRow(name) << QString::fromLatin1(name) << value;
    };
    using namespace names;
    for (const char* name : {AutoOpenMRU,
                             ScanRecursively,
                             DisplayHints,
                             AlwaysSorting,
                             ShowSplashScreenCheckBox,
                             AutoLoadSelectedCheckBox,
                             AspectRatioCheckBox,
                             ExtendedContextCheckBox,
                             CheckBoxShowStartAssistant,
                             chkCheckUpdates,
                             CapitalizeTag,
                             CompatibilityModeCheckBox,
                             CombinedEditCheckBox,
                             LeadingZeroCheckBox,
                             PasteOnlyToEmptyFields,
                             ZeroPadding,
                             UndoAfterSave,
                             RetainFileDate,
                             ClearReadOnly,
                             BrowseWith,
                             CheckBoxAutoCorrect,
                             chkCache,
                             chkBackgroundSynching})
        row(name, true);
    for (const char* name : {HotTracking, chkNetworkVBR, RenameBarCheckBox,
                             FilenameSpaceToUnderscore, FilenameLowercase, EncodePercent,
                             UnknownIfEmpty, UppercaseFirstOnly, Unsynchronize, AlwaysSave})
        row(name, false);
    row(Language, QString());
    row(DoubleClick, 0);
    row(PlayAction, 0);
    row(PlayerStartPerc, 0);
    row(Extensions, QStringLiteral("1111111"));
    row(FilenameSeparator, QStringLiteral(" - "));
    row(DigitsCount, 4);
    row(NumbersStart, 0);
    row(lstSeparators, QStringList{" - ", "{", "}", "[", "]", "(", ")"});
    row(Lowercase, QStringLiteral("a in of the on it aka to at vs feat"));
    row(Uppercase, QStringLiteral("I ATB UB40 U2 NRG ZZ OMD A1 U96 2XLC JJ BB II ABC AFI USM DJ "
                                  "FC KD MC PM POD REM DMC TLC XTC"));
    row(Troubleshooting, QStringLiteral("00000"));
    row(PaddingPerc, 50);
    row(MinPadding, 2);
    row(DupFilesComboBox, 3);
    row(FileTypeAssociations, QStringLiteral("0000000000"));
    row(FreeDBProxy, QString());
    row(ProxyServerPort, QString());
    row(FreeDBTimeout, 10);
}

void TstOptionsModel::everySettingHasItsDefault() {
    QFETCH(QString, name);
    QFETCH(QVariant, expected);
    QVERIFY(findOption(name));
    QVariant actual = Settings().value(name);
    if (actual.metaType() == QMetaType::fromType<QList<bool>>())
        actual = encodeCheckStates(actual.value<QList<bool>>());
    QCOMPARE(actual, expected);
}

void TstOptionsModel::namesAreUnique() {
    QSet<QString> names;
    for (const OptionSpec& spec : optionSpecs())
        names.insert(QLatin1String(spec.name));
    QCOMPARE(names.size(), optionSpecs().size());
    QCOMPARE(optionSpecs().size(), 52);
}

void TstOptionsModel::changeSurvivesARestart() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Varlo.conf"));
    {
        TRegistrySave store(path);
        Settings settings;
        settings.setValue(QLatin1String(names::FilenameSeparator), QStringLiteral("_"));
        settings.setValue(QLatin1String(names::DupFilesComboBox), 1);
        settings.setValue(QLatin1String(names::HotTracking), true);
        settings.setValue(QLatin1String(names::lstSeparators), QStringList{"-", "+"});
        settings.setValue(QLatin1String(names::Troubleshooting),
                          QVariant::fromValue(QList<bool>{false, false, false, false, true}));
        settings.save(store);
        QVERIFY(store.sync());
        QCOMPARE(store.backend().value(QStringLiteral("Settings/Settings/Troubleshooting")),
                 QVariant(QStringLiteral("00001")));
    }
    TRegistrySave store(path);
    Settings settings;
    settings.load(store);
    QCOMPARE(settings.filenameSeparator(), QStringLiteral("_"));
    QCOMPARE(settings.duplicateFiles(), Settings::DuplicateRename);
    QVERIFY(settings.hotTracking());
    QCOMPARE(settings.separators(), (QStringList{"-", "+"}));
    QVERIFY(settings.troubleshooting(Settings::KeepDoubleSpaces));
    QVERIFY(!settings.troubleshooting(Settings::NoCommentExtraction));
    QVERIFY(settings.autoOpenMRU()); // untouched settings keep their defaults
}

void TstOptionsModel::paddingPercentIsNotStored() {
    QTemporaryDir dir;
    TRegistrySave store(dir.filePath(QStringLiteral("Varlo.conf")));
    Settings settings;
    settings.setValue(QLatin1String(names::PaddingPerc), 80);
    settings.save(store);
    Settings restarted;
    restarted.load(store);
    QCOMPARE(settings.paddingPerc(), 80);
    QCOMPARE(restarted.paddingPerc(), 50);
}

void TstOptionsModel::clamping_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected");
    using namespace names;
    const auto row = [](const char* tag, const char* name, QVariant value, QVariant expected) {
        QTest::newRow(tag) << QString::fromLatin1(name) << value << expected;
    };
    row("digits below", DigitsCount, 0, 1);
    row("digits above", DigitsCount, 9, 6);
    row("padding step", PaddingPerc, 84, 80);
    row("padding below", PaddingPerc, 3, 10);
    row("padding text", PaddingPerc, QStringLiteral("70"), 70);
    row("start above", PlayerStartPerc, 250, 100);
    row("choice beyond items", DupFilesComboBox, 9, 3);
    row("choice not a number", DoubleClick, QStringLiteral("Play"), 0);
    row("timeout huge", FreeDBTimeout, QStringLiteral("99999999999"), 1024);
    row("flag as text", HotTracking, QStringLiteral("1"), true);
    row("flag garbage", ScanRecursively, QStringLiteral("maybe"), true);
}

void TstOptionsModel::clamping() {
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);
    Settings settings;
    QVERIFY(settings.setValue(name, value));
    QCOMPARE(settings.value(name), expected);
}

void TstOptionsModel::noExtensionCheckedMeansAll() {
    Settings settings;
    settings.setValue(QLatin1String(names::Extensions), QStringLiteral("0001"));
    QCOMPARE(settings.extensions(), QStringList{"MP3"});
    settings.setValue(QLatin1String(names::Extensions), QStringLiteral("0000000"));
    QCOMPARE(settings.extensions().size(), 7);
}

void TstOptionsModel::changeSignalOnlyOnChange() {
    Settings settings;
    QSignalSpy spy(&settings, &Settings::valueChanged);
    settings.setValue(QLatin1String(names::MinPadding), 2);
    QCOMPARE(spy.size(), 0);
    settings.setValue(QLatin1String(names::MinPadding), 4000);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy[0][0].toString(), QLatin1String(names::MinPadding));
    QCOMPARE(spy[0][1], QVariant(1024));
    QVERIFY(!settings.setValue(QStringLiteral("minpadding"), 3)); // names are case-sensitive
}

void TstOptionsModel::tagOptionsFollowSettings() {
    Settings settings;
    const tags::TagOptions defaults = settings.tagOptions();
    const tags::TagOptions expected;
    const bool flags[][2] = {{defaults.keepDoubleSpaces, expected.keepDoubleSpaces},
                             {defaults.leadingZero, expected.leadingZero},
                             {defaults.compatibilityMode, expected.compatibilityMode},
                             {defaults.networkVbr, expected.networkVbr},
                             {defaults.clearReadOnly, expected.clearReadOnly},
                             {defaults.retainFileDate, expected.retainFileDate},
                             {defaults.id3.unsynchronize, expected.id3.unsynchronize},
                             {defaults.id3.zeroPadding, expected.id3.zeroPadding}};
    for (const auto& [actual, wanted] : flags)
        QCOMPARE(actual, wanted);
    QCOMPARE(defaults.id3.paddingPerc, expected.id3.paddingPerc);
    settings.setValue(QLatin1String(names::Unsynchronize), true);
    settings.setValue(QLatin1String(names::PaddingPerc), 30);
    settings.setValue(QLatin1String(names::LeadingZeroCheckBox), false);
    settings.setValue(QLatin1String(names::Troubleshooting), QStringLiteral("00001"));
    const tags::TagOptions options = settings.tagOptions(tags::TagOptions::ID3v2Only, true);
    QCOMPARE(options.tagMode, int(tags::TagOptions::ID3v2Only));
    QVERIFY(options.commonMode);
    QVERIFY(options.id3.unsynchronize);
    QCOMPARE(options.id3.paddingPerc, 30);
    QVERIFY(!options.leadingZero);
    QVERIFY(options.keepDoubleSpaces);
}

void TstOptionsModel::separatorList_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("removed");
    QTest::newRow("new") << "+" << QStringList{" - ", "[", "+"} << QStringList{" - ", "["};
    QTest::newRow("listed") << "[" << QStringList{" - ", "["} << QStringList{" - "};
    QTest::newRow("empty") << "" << QStringList{" - ", "["} << QStringList{" - ", "["};
}

void TstOptionsModel::separatorList() {
    QFETCH(QString, text);
    QFETCH(QStringList, added);
    QFETCH(QStringList, removed);
    const QStringList list = {" - ", "["};
    QCOMPARE(withSeparatorAdded(list, text), added);
    QCOMPARE(withSeparatorRemoved(list, text), removed);
}

QTEST_GUILESS_MAIN(TstOptionsModel)
#include "tst_optionsmodel.moc"
