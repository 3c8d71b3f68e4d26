// Rename and swap by template on in-memory file objects.
#include "operations/namebuilder.h"
#include "sampletrack.h"

#include <QTest>

using tags::Field;
using Fields = QMap<Field, QString>;
Q_DECLARE_METATYPE(Fields)
Q_DECLARE_METATYPE(operations::NameOptions)

class TestNameBuilder : public QObject {
    Q_OBJECT
private slots:
    void rename_data() {
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<operations::NameOptions>("options");
        QTest::addColumn<QString>("expected");
        const Fields at{{Field::Artist, "A"}, {Field::Title, "T"}};
        const operations::NameOptions plain;
        operations::NameOptions unknown;
        unknown.unknownIfEmpty = true;
        operations::NameOptions blanks;
        blanks.spaceToUnderscore = true;
        blanks.lowercase = true;
        operations::NameOptions percent;
        percent.encodePercent = true;
        QTest::newRow("empty album in brackets") << at << "#art - #tit (#alb)" << plain << "A - T";
        QTest::newRow("empty first value drops literal") << at << "#alb - #tit" << plain << "T";
        QTest::newRow("literal after empty last value") << at << "#art - #alb end" << plain << "A";
        QTest::newRow("literal after filled last value") << at << "#art x" << plain << "A x";
        QTest::newRow("codes in any case") << at << "#ART - #tIt" << plain << "A - T";
        QTest::newRow("brackets survive") << at << "[#art] #tit" << plain << "[A] T";
        QTest::newRow("unknown if empty") << at << "#art - #alb" << unknown << "A - Unknown Album";
        QTest::newRow("track with leading zero")
            << Fields{{Field::Track, "7"}, {Field::Title, "T"}} << "#tra #tit" << plain << "07 T";
        QTest::newRow("underscore and lowercase") << at << "#art - #tit" << blanks << "a_-_t";
        QTest::newRow("percent") << at << "#art - #tit" << percent << "A%20-%20T";
        // Faults of the plain design that are mended here.
        QTest::newRow("value with a code is not expanded again")
            << Fields{{Field::Artist, "#Tit"}, {Field::Title, "T"}} << "#art - #tit" << plain
            << "#Tit - T";
        QTest::newRow("value with a code, unknown if empty")
            << Fields{{Field::Artist, "#Alb"}, {Field::Title, "T"}} << "#art - #tit" << unknown
            << "#Alb - T";
        QTest::newRow("slash in a value cannot leave the folder")
            << Fields{{Field::Artist, "../../etc/AC/DC"}} << "#art" << plain << "....etcACDC";
        QTest::newRow("control characters and reserved ones go")
            << Fields{{Field::Artist, "a\tb\x01<c>|\"d"}} << "#art" << plain << "abcd";
        QTest::newRow("dot dot keeps the old name")
            << Fields{{Field::Artist, ".."}} << "#art" << plain << "old name";
        QTest::newRow("slash in the template itself") << at << "#art/#tit" << plain << "AT";
        QTest::newRow("empty result keeps the old name")
            << Fields{} << "#art" << plain << "old name";
        QTest::newRow("trailing blank never becomes %20") << at << "#art ( )" << percent << "A";
    }
    void rename() {
        QFETCH(Fields, fields);
        QFETCH(QString, templateText);
        QFETCH(operations::NameOptions, options);
        QFETCH(QString, expected);
        auto file = sampleTrack(fields);
        operations::RenameByTemplate(*file, templateText, options);
        QCOMPARE(file->FileName(), expected);
    }

    void quickRename_data() {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QString>("expected");
        QTest::newRow("defaults: artist and title") << ""
                                                    << "A - T";
        QTest::newRow("track, artist, album in brackets") << "401001111"
                                                          << "05 - A (L)";
        QTest::newRow("empty field skipped") << "501001201"
                                             << "A - T";
        QTest::newRow("percent after trim") << "001111200"
                                            << "A%20(L)";
    }
    void quickRename() {
        QFETCH(QString, scheme);
        auto file = sampleTrack(
            {{Field::Artist, "A"}, {Field::Title, "T"}, {Field::Album, "L"}, {Field::Track, "5"}});
        operations::NameOptions options;
        options.encodePercent = QTest::currentDataTag() == QByteArray("percent after trim");
        operations::QuickRename(*file, scheme, options);
        QTEST(file->FileName(), "expected");
    }

    void swap_data() {
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("album");
        QTest::newRow("pair") << "#art#tit"
                              << "T"
                              << "A"
                              << "L";
        QTest::newRow("unpaired last code ignored") << "#art#tit#alb"
                                                    << "T"
                                                    << "A"
                                                    << "L";
        QTest::newRow("any case, text between") << "#ALB and #art"
                                                << "L"
                                                << "T"
                                                << "A";
        QTest::newRow("unknown code") << "#xyz#art"
                                      << "A"
                                      << "T"
                                      << "L";
    }
    void swap() {
        QFETCH(QString, templateText);
        auto file = sampleTrack({{Field::Artist, "A"}, {Field::Title, "T"}, {Field::Album, "L"}});
        operations::SwapByTemplate(*file, templateText);
        QTEST(file->get(Field::Artist), "artist");
        QTEST(file->get(Field::Title), "title");
        QTEST(file->get(Field::Album), "album");
    }
};

QTEST_GUILESS_MAIN(TestNameBuilder)
#include "tst_namebuilder.moc"
