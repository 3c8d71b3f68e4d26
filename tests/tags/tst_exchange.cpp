#include "tags/audiofile.h"

#include <QTest>

using namespace tags;

namespace {

const QString kFixture = QStringLiteral(VARLO_TEST_DATA "/mpeg/tagged-v1v2.mp3");

TagOptions mode(int tagMode) {
    TagOptions options;
    options.tagMode = tagMode;
    return options;
}

} // namespace

class TestExchange : public QObject {
    Q_OBJECT
private slots:
    void cacheTextRoundTrip_data() {
        QTest::addColumn<int>("writeMode");
        QTest::addColumn<int>("readMode");
        QTest::addColumn<QString>("title");
        const QString nasty = QStringLiteral("a':~:b`\"c!~~!d~!!~e~~!!f\\c\\\\g:h");
        for (int w = 1; w <= 3; ++w)
            for (int r = 1; r <= 3; ++r)
                QTest::addRow("write %d read %d", w, r) << w << r << nasty;
        QTest::newRow("unicode") << 2 << 2 << QStringLiteral("Ωμέγα 東京 🎵");
        QTest::newRow("ends with escape char") << 2 << 3 << QStringLiteral("x\\");
    }
    void cacheTextRoundTrip() {
        QFETCH(int, writeMode);
        QFETCH(int, readMode);
        QFETCH(QString, title);
        TMP3 original(kFixture, mode(2));
        original.set(Field::Title, title);
        original.set(Field::Copyright, QStringLiteral("Comp:~:oser"));
        const QString text = original.ToCacheString(2);
        Q_UNUSED(writeMode);

        TMP3 restored(QString(), mode(readMode));
        QVERIFY(restored.FromCacheString(text));
        TagOptions v2 = mode(2);
        restored.setOptions(v2);
        QCOMPARE(restored.get(Field::Title), title);
        QCOMPARE(restored.get(Field::Copyright), QStringLiteral("Comp:~:oser"));
        QCOMPARE(restored.get(Field::Artist), QStringLiteral("Artist v2"));
        QCOMPARE(restored.Track(), 7);
        TMP3::Stream expected = original.stream();
        expected.Header = 0; // where the audio starts is found again when the file is read
        expected.Offs = 0;
        QCOMPARE(restored.stream(), expected);
        QCOMPARE(restored.FilePath(), original.FilePath());
        QCOMPARE(restored.stamp(), original.stamp());
        QCOMPARE(restored.id3v1().bytes(), original.id3v1().bytes());
        QVERIFY(restored.Tag());
        QVERIFY(!restored.ID3v2().modified);
    }

    void cacheTextUnderEachModeKeepsTheMainFields_data() {
        QTest::addColumn<int>("tagMode");
        QTest::newRow("ID3v1") << 1;
        QTest::newRow("ID3v2") << 2;
        QTest::newRow("mixed") << 3;
    }
    void cacheTextUnderEachModeKeepsTheMainFields() {
        QFETCH(int, tagMode);
        TMP3 original(kFixture, mode(tagMode));
        TMP3 restored(QString(), mode(tagMode));
        QVERIFY(restored.FromCacheString(original.ToCacheString(tagMode)));
        for (Field f : {Field::Title, Field::Artist, Field::Album, Field::Year, Field::Track})
            QCOMPARE(restored.get(f), original.get(f));
    }

    void damagedOrOldCacheTextIsRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("old layout")
            << QStringLiteral("TAG:~:title:~:") + QStringLiteral("x:~:").repeated(53);
        TMP3 file(kFixture);
        const QString good = file.ToCacheString(3);
        QTest::newRow("cut short") << good.left(good.size() / 2);
        QTest::newRow("extra field") << good + QStringLiteral("x:~:");
    }
    void damagedOrOldCacheTextIsRefused() {
        QFETCH(QString, text);
        TMP3 file;
        QVERIFY(!file.FromCacheString(text));
        QCOMPARE(file.FilePath(), QString());
    }

    void cacheTextNeverLoadsTheFile() {
        struct Cache : CacheLink {
            void updateEntry(TMP3&) override {}
        } cache;
        TMP3 file(QString(), TagOptions{}, &cache);
        file.setFilePath(kFixture);
        file.ToCacheString(3);
        QVERIFY(!file.IsSyn());
    }

    void commonTagData() {
        TMP3 source(kFixture);
        TCommonTagData data = source.ToCommonTagData();
        QCOMPARE(data.kind, QStringLiteral("0"));
        QCOMPARE(data.tagCode, QStringLiteral("3"));
        QCOMPARE(data[TCommonTagData::Title], QStringLiteral("Title v2"));
        QCOMPARE(data[TCommonTagData::FolderName], QStringLiteral("mpeg"));
        QCOMPARE(data[TCommonTagData::SampleRate], QStringLiteral("44100"));

        TMP3 wma;
        data.kind = QStringLiteral("2");
        wma.FromCommonTagData(data);
        QVERIFY(wma.WMA());
        QCOMPARE(wma.NewFileDir(), QString()); // a folder name never becomes a folder

        TMP3 v1Only;
        SetFrameText(v1Only.ID3v2().AddFrame("TIT2"), QStringLiteral("stale"));
        data.kind = QStringLiteral("0");
        data.tagCode = QStringLiteral("1");
        v1Only.FromCommonTagData(data);
        QVERIFY(v1Only.Tag());
        QVERIFY(!v1Only.Ver2());
        QCOMPARE(v1Only.id3v1().read(ID3v1Block::Title), QStringLiteral("Title v2"));
    }

    void assignCopiesEverythingAndLeavesTheSource() {
        TMP3 source(kFixture);
        source.setAPE(true);
        source.setApeSize(100);
        source.setFormat(false, false, false);
        source.streamForUpdate().BitsPerSample = 16;
        SetFrameText(source.ID3v2().AddFrame("TCOM"), QString()); // empty frame
        const int frames = source.ID3v2().frameCount();
        TMP3 copy;
        copy.Assign(source);
        QCOMPARE(copy.ID3v2().frameCount(), frames);
        QCOMPARE(source.ID3v2().frameCount(), frames);
        QCOMPARE(copy.stream(), source.stream());
        QVERIFY(copy.APE());
        QCOMPARE(copy.apeSize(), 100);
        QCOMPARE(copy.get(Field::Title), QStringLiteral("Title v2"));
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
