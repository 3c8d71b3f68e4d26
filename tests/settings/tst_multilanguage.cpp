#include "settings/multilanguage.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace settings;

namespace {

/// A language file with three languages, as a translator writes it before scrambling.
const char kThreeLanguages[] = "\tEnglish\tDeutsch\tFran\xc3\xa7"
                               "ais\r\n"
                               "\tEnglish\tGerman\tFrench\r\n"
                               "\r\n"
                               "[Strings]\t\t\r\n"
                               "AppName\tVarlo\r\n"
                               "Stopped\tStopped\tAngehalten\tArr\xc3\xaat\xc3\xa9\r\n"
                               "GermanEmpty\tColumn zero\t\tTroisi\xc3\xa8me\r\n"
                               "TwoColumns\tFirst\tSecond\r\n"
                               "Lines\tone~~two\tein~`zwei\r\n"
                               "\r\n"
                               "[Translations]\r\n"
                               "Cancel\tCancel\tAbbrechen\tAnnuler\r\n"
                               "\r\n"
                               "[Form.Settings]\r\n"
                               ".Caption\tOptions\tOptionen\r\n";

TMultiLanguage translator(const QByteArray& plain, int language) {
    TMultiLanguage result;
    result.loadData(TMultiLanguage::scramble(plain));
    result.setLanguage(language);
    return result;
}

} // namespace

class TstMultiLanguage : public QObject {
    Q_OBJECT
private slots:
    void keyStream();
    void headerLists();
    void lookupWithColumnFallbacks_data();
    void lookupWithColumnFallbacks();
    void escapes_data();
    void escapes();
    void windows1252WhenNotUtf8();
    void sectionsAndTranslations();
    void defaultLanguageFromSystemName_data();
    void defaultLanguageFromSystemName();
    void chooseLanguage_data();
    void chooseLanguage();
    void missingFileFallsBackToEnglish();
    void cliRoundTrip();
};

void TstMultiLanguage::keyStream() {
    const QByteArray stream = TMultiLanguage::scramble(QByteArray(16, '\0'));
    const QList<int> expected = {21, 0, 9, 10, 1, 2, 7, 8, 29, 21, 7, 24, 15, 22, 15, 8};
    QList<int> actual;
    for (char byte : stream)
        actual << quint8(byte);
    QCOMPARE(actual, expected);
}

void TstMultiLanguage::headerLists() {
    const TMultiLanguage language = translator(kThreeLanguages, -1);
    QCOMPARE(language.LanguageNames(), (QStringList{"English", "Deutsch", "Français"}));
    QCOMPARE(language.SystemLanguageNames(), (QStringList{"English", "German", "French"}));
    QCOMPARE(language.sectionNames(), (QStringList{"Strings", "Translations", "Form.Settings"}));
}

void TstMultiLanguage::lookupWithColumnFallbacks_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("own column") << 2 << "Stopped"
                                << "Arrêté";
    QTest::newRow("key ignores case") << 1 << "STOPPED"
                                      << "Angehalten";
    QTest::newRow("empty column takes column 0") << 1 << "GermanEmpty"
                                                 << "Column zero";
    QTest::newRow("short line takes last column") << 2 << "TwoColumns"
                                                  << "Second";
    QTest::newRow("one value for all") << 2 << "AppName"
                                       << "Varlo";
    QTest::newRow("missing key, built-in English") << 1 << "NoFilesFound"
                                                   << "No files found";
    QTest::newRow("unknown everywhere") << 1 << "NoSuchKey"
                                        << "";
}

void TstMultiLanguage::lookupWithColumnFallbacks() {
    QFETCH(int, language);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(translator(kThreeLanguages, language).Lookup(key), expected);
}

void TstMultiLanguage::escapes_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("line break") << "one~~two"
                                << "one\r\ntwo";
    QTest::newRow("tab") << "a~`b"
                         << "a\tb";
    QTest::newRow("left to right") << "~~`"
                                   << "\r\n`";
    QTest::newRow("lone tilde") << "a~b~"
                                << "a~b~";
}

void TstMultiLanguage::escapes() {
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(TMultiLanguage::unescape(value), expected);
}

void TstMultiLanguage::windows1252WhenNotUtf8() {
    QCOMPARE(TMultiLanguage::decodeText("Arr\xeat\xe9 \x80"), QStringLiteral("Arrêté €"));
    QCOMPARE(TMultiLanguage::decodeText("Arr\xc3\xaat\xc3\xa9"), QStringLiteral("Arrêté"));
}

void TstMultiLanguage::sectionsAndTranslations() {
    const TMultiLanguage german = translator(kThreeLanguages, 1);
    QCOMPARE(german.translation(QStringLiteral("Cancel")), QStringLiteral("Abbrechen"));
    QCOMPARE(german.section(QStringLiteral("Form.Settings")),
             (QList<LanguageEntry>{{".Caption", "Optionen"}}));
    QCOMPARE(german.Lookup(QStringLiteral("Lines")), QStringLiteral("ein\tzwei"));
    QCOMPARE(translator(kThreeLanguages, 0).Lookup(QStringLiteral("Lines")),
             QStringLiteral("one\r\ntwo"));
}

void TstMultiLanguage::defaultLanguageFromSystemName_data() {
    QTest::addColumn<QString>("system");
    QTest::addColumn<int>("language");
    QTest::newRow("with region") << "German (Germany)" << 1;
    QTest::newRow("case ignored") << "french (Canada)" << 2;
    QTest::newRow("unknown") << "Dutch (Netherlands)" << -1;
}

void TstMultiLanguage::defaultLanguageFromSystemName() {
    QFETCH(QString, system);
    QFETCH(int, language);
    QCOMPARE(translator(kThreeLanguages, -1).languageForSystemName(system), language);
}

void TstMultiLanguage::chooseLanguage_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("system");
    QTest::addColumn<int>("language");
    QTest::newRow("stored name") << "Deutsch"
                                 << "French (France)" << 1;
    QTest::newRow("stored name not in file") << "Klingon"
                                             << "French (France)" << 2;
    QTest::newRow("nothing stored") << ""
                                    << "German (Austria)" << 1;
    QTest::newRow("no match takes the first") << ""
                                              << "Dutch (Belgium)" << 0;
}

void TstMultiLanguage::chooseLanguage() {
    QFETCH(QString, stored);
    QFETCH(QString, system);
    QFETCH(int, language);
    QCOMPARE(translator(kThreeLanguages, -1).chooseLanguage(stored, system), language);
    QCOMPARE(TMultiLanguage().chooseLanguage(stored, system), -1);
}

void TstMultiLanguage::missingFileFallsBackToEnglish() {
    const TMultiLanguage missing(QStringLiteral("/nonexistent/varlo.lng"));
    QVERIFY(missing.LanguageNames().isEmpty());
    QCOMPARE(missing.Lookup(QStringLiteral("AppName")), QStringLiteral("Varlo"));
    QCOMPARE(lookupText(QStringLiteral("LanguageFileNotFound")),
             QStringLiteral("Language file not found! Please reinstall Varlo."));
}

void TstMultiLanguage::cliRoundTrip() {
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.txt"));
    const QString scrambled = dir.filePath(QStringLiteral("varlo.lng"));
    const QString back = dir.filePath(QStringLiteral("back.txt"));
    QFile file(plain);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kThreeLanguages);
    file.close();
    for (const QStringList& args : {QStringList{"lng", "scramble", plain, scrambled},
                                    QStringList{"lng", "unscramble", scrambled, back}})
        QCOMPARE(QProcess::execute(QStringLiteral(VARLO_CLI_PATH), args), 0);
    const TMultiLanguage fromFile(scrambled);
    QCOMPARE(fromFile.LanguageNames().size(), 3);
    QFile result(back);
    QVERIFY(result.open(QIODevice::ReadOnly));
    QCOMPARE(result.readAll(), QByteArray(kThreeLanguages));
    QCOMPARE(QProcess::execute(QStringLiteral(VARLO_CLI_PATH), {"lng", "scramble", plain}), 2);
}

QTEST_GUILESS_MAIN(TstMultiLanguage)
#include "tst_multilanguage.moc"
