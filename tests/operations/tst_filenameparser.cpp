// Tokenizer, generate tag, extract, automatic generation and name preparation.
#include "operations/filenameparser.h"
#include "sampletrack.h"

#include <QTest>

using tags::Field;
using Fields = QMap<Field, QString>;
Q_DECLARE_METATYPE(Fields)

namespace {

const QStringList kSeparators = operations::ParseOptions().separators;

/// The fields of `expected` read back from the file.
void compareFields(tags::TMP3& file, const Fields& expected) {
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(file.get(it.key()), it.value());
}

} // namespace

class TestFileNameParser : public QObject {
    Q_OBJECT
private slots:
    void tokenize_data() {
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<QStringList>("tokens");
        QTest::newRow("variables and literal")
            << "#art - #tit" << QStringList{"#art", " - ", "#tit", ":"};
        QTest::newRow("blank literal dropped") << "#art #tit" << QStringList{"#art", "#tit", ":"};
        QTest::newRow("trailing literal dropped") << "#art end" << QStringList{"#art", ":"};
        QTest::newRow("quoted") << "#art\"x y\"#tit" << QStringList{"#art", "\"x y\"", "#tit", ":"};
        QTest::newRow("choice collapses")
            << "#art| | |#tit" << QStringList{"#art", "|", "#tit", ":"};
        QTest::newRow("folders and wildcards")
            << "#art\\#alb\\*#tit?"
            << QStringList{"#art", "\\", "#alb", "\\", "*", "#tit", "?", ":"};
        QTest::newRow("unclosed quote is literal")
            << "#art \"x#tit" << QStringList{"#art", " \"x", "#tit", ":"};
        QTest::newRow("short code at the end") << "a#ar" << QStringList{"a", "#ar", ":"};
    }
    void tokenize() {
        QFETCH(QString, templateText);
        QTEST(operations::TokenizeTemplate(templateText), "tokens");
    }

    void generate_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<QStringList>("separators");
        QTest::addColumn<Fields>("expected");
        QTest::newRow("artist - title")
            << "/m/Artist - Title.mp3"
            << "#art - #tit" << kSeparators
            << Fields{{Field::Artist, "Artist"}, {Field::Title, "Title"}};
        QTest::newRow("blank between codes")
            << "/m/Artist Title.mp3"
            << "#art #tit" << kSeparators
            << Fields{{Field::Artist, "Artist Title"}, {Field::Title, ""}};
        QTest::newRow("parent folders") << "/m/Art/Alb/03 - Song.mp3"
                                        << "#art\\#alb\\#tra - #tit" << kSeparators
                                        << Fields{{Field::Artist, "Art"},
                                                  {Field::Album, "Alb"},
                                                  {Field::Track, "3"},
                                                  {Field::Title, "Song"}};
        QTest::newRow("folders only")
            << "/m/Art/Alb/03 - Song.mp3"
            << "#art\\#alb\\" << kSeparators
            << Fields{{Field::Artist, "Art"}, {Field::Album, "Alb"}, {Field::Title, ""}};
        QTest::newRow("trailing literal ignored")
            << "/m/A - T (x).mp3"
            << "#art - #tit (x)" << kSeparators
            << Fields{{Field::Artist, "A"}, {Field::Title, "T (x)"}};
        QTest::newRow("separator choice")
            << "/m/A [T].mp3"
            << "#art|#tit|" << kSeparators << Fields{{Field::Artist, "A"}, {Field::Title, "T"}};
        QTest::newRow("quoted text skipped") << "/m/A - bonus T.mp3"
                                             << "#art - \"bonus \"#tit" << kSeparators
                                             << Fields{{Field::Artist, "A"}, {Field::Title, "T"}};
        QTest::newRow("nil takes nothing") << "/m/01 - A - T.mp3"
                                           << "#nil - #art - #tit" << kSeparators
                                           << Fields{{Field::Artist, "A"}, {Field::Title, "T"}};
        QTest::newRow("track not a number")
            << "/m/x - T.mp3"
            << "#tra - #tit" << kSeparators << Fields{{Field::Track, "0"}, {Field::Title, "T"}};
        // Found by fuzzing: a literal that starts with an unclosed quote is not a quoted text.
        QTest::newRow("lone quote before a folder")
            << "/m/b/x.mp3"
            << "#art\"\\#tit" << kSeparators << Fields{{Field::Artist, "b\\x"}};
        // Empty separators must not match everywhere or loop.
        QTest::newRow("empty separators ignored")
            << "/m/A - T.mp3"
            << "#art|#tit" << QStringList{"", " - ", ""}
            << Fields{{Field::Artist, "A"}, {Field::Title, "T"}};
    }
    void generate() {
        QFETCH(QString, path);
        QFETCH(QString, templateText);
        QFETCH(QStringList, separators);
        QFETCH(Fields, expected);
        auto file = sampleTrack({}, path);
        operations::GenerateFromName(*file, operations::TokenizeTemplate(templateText), separators);
        compareFields(*file, expected);
    }

    void extract_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<Fields>("expected");
        QTest::addColumn<QString>("newName");
        QTest::newRow("any keeps the title")
            << "Artist - Title"
            << "#art - #any" << Fields{{Field::Artist, "Artist"}} << "Title";
        QTest::newRow("last value stays")
            << "Artist - Title"
            << "#art - #tit" << Fields{{Field::Artist, "Artist"}, {Field::Title, "Title"}}
            << "Title";
        QTest::newRow("nil removes without assigning")
            << "01 - Title"
            << "#nil - #any" << Fields{{Field::Track, "0"}} << "Title";
        QTest::newRow("separator choice")
            << "Live - Title"
            << "#com|#any" << Fields{{Field::Comment, "Live"}} << "Title";
        QTest::newRow("name fully taken keeps last value")
            << "Title"
            << "#tit" << Fields{{Field::Title, "Title"}} << "Title";
    }
    void extract() {
        QFETCH(QString, name);
        QFETCH(QString, templateText);
        QFETCH(Fields, expected);
        auto file = sampleTrack({}, "/m/" + name + ".mp3");
        operations::ExtractFromName(*file, operations::TokenizeTemplate(templateText), kSeparators);
        compareFields(*file, expected);
        QTEST(file->FileName(), "newName");
    }

    void automatic_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Fields>("expected");
        QTest::newRow("full") << "01 - Artist - Album - Title (Live)"
                              << Fields{{Field::Track, "1"},
                                        {Field::Artist, "Artist"},
                                        {Field::Album, "Album"},
                                        {Field::Title, "Title"},
                                        {Field::Comment, "Live"}};
        QTest::newRow("title alone")
            << "Title"
            << Fields{{Field::Title, "Title"}, {Field::Artist, ""}, {Field::Comment, ""}};
        QTest::newRow("four digits are an album")
            << "Artist - 1999 - Title"
            << Fields{{Field::Artist, "Artist"}, {Field::Album, "1999"}, {Field::Title, "Title"}};
        QTest::newRow("leading bracket")
            << "[Art] 2. Title"
            << Fields{{Field::Artist, "Art"}, {Field::Track, "2"}, {Field::Title, "Title"}};
    }
    void automatic() {
        QFETCH(QString, name);
        QFETCH(Fields, expected);
        auto file = sampleTrack({{Field::Comment, "old"}}, "/m/" + name + ".mp3");
        operations::AutoGenerate(*file, {});
        compareFields(*file, expected);
    }

    void automaticWithEmptySeparatorEnds() {
        operations::ParseOptions options;
        options.separators = {"", " - "};
        auto file = sampleTrack({}, "/m/A - T.mp3");
        operations::AutoGenerate(*file, options);
        compareFields(*file, {{Field::Artist, "A"}, {Field::Title, "T"}});
    }

    void prepare_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("strict");
        QTest::addColumn<QString>("expected");
        QTest::newRow("underscores") << "Artist_Title" << false << "Artist Title";
        QTest::newRow("percent") << "A%20B" << false << "A B";
        QTest::newRow("underscore to separator") << "A B_C" << false << "A B - C";
        QTest::newRow("bang s") << "Song!!s" << false << "Song";
        QTest::newRow("double blanks") << "A  -   B" << false << "A - B";
        QTest::newRow("strict corrects dash") << "Artist-Title" << true << "Artist - Title";
        QTest::newRow("strict double dash") << "A -- B" << true << "A - B";
    }
    void prepare() {
        QFETCH(QString, name);
        QFETCH(bool, strict);
        QTEST(operations::PrepareName(name, strict, {}), "expected");
    }
};

QTEST_GUILESS_MAIN(TestFileNameParser)
#include "tst_filenameparser.moc"
