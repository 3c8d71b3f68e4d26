// The per-file steps of the file-name and capitalisation commands, and import file names.
#include "operations/filenamecommands.h"
#include "sampletrack.h"
#include "settings/optionnames.h"
#include "settings/settings.h"

#include <QTemporaryDir>
#include <QTest>

using tags::Field;
using Fields = QMap<Field, QString>;
Q_DECLARE_METATYPE(Fields)

namespace {

const QStringList kPaths = {"/m/a.mp3", "/m/b.ogg", "/m/c.mp3"};

void compareFields(tags::TMP3& file, const Fields& expected) {
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(file.get(it.key()), it.value());
}

std::vector<std::unique_ptr<tags::TMP3>> threeFiles() {
    std::vector<std::unique_ptr<tags::TMP3>> files;
    for (const QString& path : kPaths)
        files.push_back(sampleTrack({}, path));
    return files;
}

} // namespace

class TestFileNameCommands : public QObject {
    Q_OBJECT
private slots:
    void command_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<QString>("expectedName");
        QTest::addColumn<Fields>("expectedFields");
        const QString automaticName = "01 - artist - album - title (live)";
        const Fields automaticFields{{Field::Track, "1"},
                                     {Field::Artist, "Artist"},
                                     {Field::Album, "Album"},
                                     {Field::Title, "Title"},
                                     {Field::Comment, "live"}};
        QTest::newRow("capitalize filename")
            << "CapitalizeFnEvery"
            << "the best of the bee gees" << Fields{} << "The Best of the Bee Gees" << Fields{};
        QTest::newRow("capitalize tag") << "CapitalizeFnFirst"
                                        << "dj shadow"
                                        << Fields{{Field::Artist, "dj shadow"},
                                                  {Field::Title, "track ii"},
                                                  {Field::Album, "ac-dc"}}
                                        << "dj shadow"
                                        << Fields{{Field::Artist, "DJ Shadow"},
                                                  {Field::Title, "Track II"},
                                                  {Field::Album, "Ac-Dc"}};
        QTest::newRow("underscore to space")
            << "UnderscoreToSpace"
            << "Artist_-_Title%20(Live)" << Fields{} << "Artist - Title (Live)" << Fields{};
        QTest::newRow("correct separator")
            << "CorrectMinusDelimiter"
            << "Artist-Title" << Fields{} << "Artist - Title" << Fields{};
        QTest::newRow("correct separator, two hyphens")
            << "CorrectMinusDelimiter"
            << "Jay-Z -- Song" << Fields{} << "Jay-Z - Song" << Fields{};
        QTest::newRow("prepare") << "ActPrepareFilename"
                                 << "Artist-Title!!s" << Fields{} << "Artist - Title" << Fields{};
        QTest::newRow("prepare underscores")
            << "ActPrepareFilename"
            << "Artist Name_Title" << Fields{} << "Artist Name - Title" << Fields{};
        QTest::newRow("add number") << "ActAddNumbers"
                                    << "Song" << Fields{} << "0000 - Song" << Fields{};
        QTest::newRow("remove number") << "ActDelNumbers"
                                       << "0001 - Song" << Fields{} << "Song" << Fields{};
        QTest::newRow("remove number keeps one character") << "ActDelNumbers"
                                                           << "12" << Fields{} << "2" << Fields{};
        QTest::newRow("remove number leaves no leading blank")
            << "ActDelNumbers"
            << "01 Song" << Fields{} << "Song" << Fields{};
        QTest::newRow("automatic renames")
            << "ActAutomatic" << automaticName << Fields{} << "Artist - Title" << automaticFields;
        QTest::newRow("automatic from the generate menu keeps the name")
            << "ActAutogenerateTag" << automaticName << Fields{} << automaticName
            << automaticFields;
        QTest::newRow("quick rename")
            << "QuickRename"
            << "old" << Fields{{Field::Artist, "A"}, {Field::Title, "T"}} << "A - T" << Fields{};
        QTest::newRow("empty result keeps the name") << "UnderscoreToSpace"
                                                     << "_" << Fields{} << "_" << Fields{};
        QTest::newRow("quick rename without tag keeps the name")
            << "QuickRename"
            << "old" << Fields{} << "old" << Fields{};
    }
    void command() {
        QFETCH(QString, command);
        QFETCH(QString, name);
        QFETCH(Fields, fields);
        operations::FileNameCommandOptions options;
        options.renameTemplate = "#art - #tit";
        auto file = sampleTrack(fields, "/m/" + name + ".mp3");
        const std::optional<operations::FileStep> step =
            operations::fileNameCommandStep(command, options, 0);
        QVERIFY(step);
        QVERIFY((*step)(*file).ok());
        QTEST(file->FileName(), "expectedName");
        QFETCH(Fields, expectedFields);
        compareFields(*file, expectedFields);
        QCOMPARE(file->FilePath(), "/m/" + name + ".mp3");
    }

    void addNumbers_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("defaults") << 0 << 4 << QStringList{"0000 - a", "0001 - b", "0002 - c"};
        QTest::newRow("start 1, 3 digits")
            << 1 << 3 << QStringList{"001 - a", "002 - b", "003 - c"};
        QTest::newRow("numbers outgrow the digits")
            << 99 << 2 << QStringList{"99 - a", "100 - b", "101 - c"};
    }
    void addNumbers() {
        QFETCH(int, start);
        QFETCH(int, digits);
        operations::FileNameCommandOptions options;
        options.numbersStart = start;
        options.digitsCount = digits;
        const operations::FileStep step =
            operations::stepsInSelectionOrder([&options](int position) {
                return *operations::fileNameCommandStep("ActAddNumbers", options, position);
            });
        QStringList names;
        for (const auto& file : threeFiles()) {
            step(*file);
            names << file->FileName();
        }
        QTEST(names, "expected");
    }

    void importFileNames_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("noted");
        QTest::newRow("equal count, extensions cut")
            << QByteArray("One\r\nTwo.OGG\r\nThree.MP3\r\n") << QStringList{"One", "Two", "Three"}
            << false;
        QTest::newRow("fewer lines") << QByteArray("One\n") << QStringList{"One", "b", "c"} << true;
        QTest::newRow("more lines")
            << QByteArray("One\nTwo\nThree\nFour\n") << QStringList{"One", "Two", "Three"} << true;
        QTest::newRow("slash, dots and blank lines")
            << QByteArray("AC/DC - Song\n..\n  \n") << QStringList{"ACDC - Song", "b", "c"}
            << false;
    }
    void importFileNames() {
        QFETCH(QByteArray, list);
        QTemporaryDir dir;
        QFile listFile(dir.filePath("names.txt"));
        QVERIFY(listFile.open(QIODevice::WriteOnly));
        listFile.write(list);
        listFile.close();

        QStringList lines;
        QVERIFY(operations::readFileNameList(listFile.fileName(), lines).ok());
        const operations::FileStep step = operations::stepsInSelectionOrder(
            [&lines](int position) { return operations::importFileNameStep(lines, position); });
        QStringList names;
        for (const auto& file : threeFiles()) {
            QVERIFY(step(*file).ok());
            names << file->FileName();
        }
        QTEST(names, "expected");
        QTEST(!operations::fileNameListNote(lines.size(), kPaths.size()).isEmpty(), "noted");
    }

    void missingListIsAnError() {
        QStringList lines{"kept"};
        const tags::Status status = operations::readFileNameList("/no/such/list.txt", lines);
        QCOMPARE(status.code(), tags::ErrorCode::NotFound);
        QVERIFY(!status.message().isEmpty());
    }

    void unknownCommand() {
        QVERIFY(!operations::fileNameCommandStep("ActRename", {}, 0));
        QVERIFY(!operations::fileNameCommandStep("capitalizefnfirst", {}, 0));
    }

    void optionsFromSettings() {
        namespace names = settings::names;
        settings::Settings settings;
        settings.setValue(names::NumbersStart, 7);
        settings.setValue(names::Lowercase, "of  the");
        settings.setValue(names::Troubleshooting,
                          QVariant::fromValue(QList<bool>{false, true, true, false, false}));
        const auto options = operations::FileNameCommandOptions::fromSettings(settings);
        QCOMPARE(options.numbersStart, 7);
        QCOMPARE(options.digitsCount, 4);
        QCOMPARE(options.capitalize.lowerWords, QStringList({"of", "the"}));
        QCOMPARE(options.capitalize.upperWords, operations::CapitalizeOptions().upperWords);
        QCOMPARE(options.parse.separators, operations::ParseOptions().separators);
        QVERIFY(options.parse.disableCommentExtraction);
        QVERIFY(options.capitalize.noForceUpper);
        QVERIFY(!options.parse.disableUnderscoreConversion);
        QCOMPARE(options.names.separator, QStringLiteral(" - "));
    }
};

QTEST_GUILESS_MAIN(TestFileNameCommands)
#include "tst_filenamecommands.moc"
