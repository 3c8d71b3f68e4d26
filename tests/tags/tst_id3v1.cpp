#include "tags/genres.h"
#include "tags/id3v1.h"

#include <QTest>

using namespace tags;

class TestId3v1 : public QObject {
    Q_OBJECT
private slots:
    void readField_data() {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QString>("expected");
        QTest::newRow("trailing blanks and NULs") << QByteArray("Word  \0\0", 8) << "Word";
        QTest::newRow("cut at first NUL") << QByteArray("A\0B", 3) << "A";
        QTest::newRow("Latin-1") << QByteArray("Caf\xe9") << QString::fromUtf8("Café");
    }
    void readField() {
        QFETCH(QByteArray, raw);
        QFETCH(QString, expected);
        QByteArray bytes = "TAG" + raw + QByteArray(125 - raw.size(), '\0');
        ID3v1Block block;
        QVERIFY(block.assign(bytes));
        QCOMPARE(block.read(ID3v1Block::Title), expected);
    }

    void writeCutsAtFieldLength() {
        ID3v1Block block;
        block.write(ID3v1Block::Title, QString(31, 'x'));
        block.write(ID3v1Block::Year, QStringLiteral("19999"));
        QCOMPARE(block.read(ID3v1Block::Title), QString(30, 'x'));
        QCOMPARE(block.read(ID3v1Block::Year), QStringLiteral("1999"));
        QCOMPARE(block.read(ID3v1Block::Artist), QString()); // neighbour untouched
    }

    void id3v10CommentHasNoTrack() {
        QByteArray bytes = "TAG" + QByteArray(94, ' ') + QByteArray(30, 'c') + char(3);
        ID3v1Block block;
        QVERIFY(block.assign(bytes));
        QCOMPARE(block.read(ID3v1Block::Comment), QString(28, 'c'));
        QCOMPARE(block.track(), 0);
        block.setTrackByte(7);
        QCOMPARE(block.track(), 7);
    }

    void genreNames_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::newRow("lower case") << "rock" << 17;
        QTest::newRow("parenthesised") << "(17)" << 17;
        QTest::newRow("parenthesised with name") << "(17)Rock" << 17;
        QTest::newRow("over 255") << "(300)" << 255;
        QTest::newRow("prefix only") << "Roc" << 255;
        QTest::newRow("unknown text") << "Chillwave" << 255;
        QTest::newRow("alt spelling 81") << "Folk-Rock" << 81;
        QTest::newRow("alt spelling 85") << "Bebop" << 85;
        QTest::newRow("last") << "Synthpop" << 147;
    }
    void genreNames() {
        QFETCH(QString, text);
        QFETCH(int, index);
        QCOMPARE(GenreNames::IndexOf(text), index);
    }

    void genreNameOf() {
        QCOMPARE(GenreNames::NameOf(255), QString());
        QCOMPARE(GenreNames::NameOf(17), QStringLiteral("Rock"));
        QCOMPARE(GenreNames::NameOf(200), QStringLiteral("Unknown 200"));
        QCOMPARE(GenreNames::names().size(), 148);
    }
};

QTEST_GUILESS_MAIN(TestId3v1)
#include "tst_id3v1.moc"
