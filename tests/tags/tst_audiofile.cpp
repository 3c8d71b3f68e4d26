#include "tags/audiofile.h"

#include <QTest>

using namespace tags;

namespace {

/// Counts what an audio object asks of the tag cache.
struct CountingCache : CacheLink {
    int updates = 0;
    void updateEntry(TMP3&) override { ++updates; }
};

struct Setup {
    int tagMode = TagOptions::Mixed;
    bool commonMode = false;
    QString v1Title; ///< empty: no ID3v1 tag
    QString v2Title; ///< null: no TIT2 frame
};

/// An MPEG object held in memory with the given tags.
std::unique_ptr<TMP3> mpegObject(const Setup& setup) {
    TagOptions options;
    options.tagMode = setup.tagMode;
    options.commonMode = setup.commonMode;
    auto file = std::make_unique<TMP3>(QString(), options);
    if (!setup.v1Title.isEmpty()) {
        file->id3v1().write(ID3v1Block::Title, setup.v1Title);
        file->setTag(true);
    }
    if (!setup.v2Title.isNull())
        SetFrameText(file->ID3v2().AddFrame("TIT2"), setup.v2Title);
    return file;
}

QString frameText(TMP3& file, const char* id) {
    TID3Frame* frame = file.ID3v2().FindFrame(id);
    return frame ? GetFrameText(*frame) : QString();
}

} // namespace

Q_DECLARE_METATYPE(Setup)

class TestAudioFile : public QObject {
    Q_OBJECT
private slots:
    void titleReadRouting_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ID3v1 mode") << Setup{1, false, "V1", "V2"} << "V1";
        QTest::newRow("ID3v2 mode") << Setup{2, false, "V1", "V2"} << "V2";
        QTest::newRow("mixed, only ID3v1") << Setup{3, false, "V1", {}} << "V1";
        QTest::newRow("mixed, both") << Setup{3, false, "V1", "V2"} << "V2";
        QTest::newRow("mixed, only ID3v2") << Setup{3, false, {}, "V2"} << "V2";
        QTest::newRow("common, blank TIT2") << Setup{3, true, "V1", " "} << "V1";
        QTest::newRow("common, TIT2") << Setup{3, true, "V1", "V2"} << "V2";
        QTest::newRow("ID3v2 mode, no frame") << Setup{2, false, "V1", {}} << "";
    }
    void titleReadRouting() {
        QFETCH(Setup, setup);
        QTEST(mpegObject(setup)->get(Field::Title), "expected");
    }

    void titleWriteRouting_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("v1");
        QTest::addColumn<QString>("v2");
        QTest::addColumn<bool>("v2Modified");
        QTest::newRow("ID3v1 mode") << Setup{1, false, "V1", "V2"} << "New"
                                    << "V2" << false;
        QTest::newRow("ID3v2 mode") << Setup{2, false, "V1", "V2"} << "V1"
                                    << "New" << true;
        QTest::newRow("mixed, both") << Setup{3, false, "V1", "V2"} << "New"
                                     << "New" << true;
        QTest::newRow("mixed, only ID3v1") << Setup{3, false, "V1", {}} << "New"
                                           << "" << false;
        QTest::newRow("mixed, no tags") << Setup{3, false, {}, {}} << "New"
                                        << "New" << true;
    }
    void titleWriteRouting() {
        QFETCH(Setup, setup);
        auto file = mpegObject(setup);
        file->set(Field::Title, QStringLiteral("New"));
        QTEST(file->id3v1().read(ID3v1Block::Title), "v1");
        QTEST(frameText(*file, "TIT2"), "v2");
        QTEST(file->ID3v2().modified, "v2Modified");
    }

    void afterAnID3v2FrameMixedModeWritesBoth() {
        auto file = mpegObject({3, false, "V1", {}});
        QCOMPARE(file->WorkVersion(), 1);
        SetFrameText(file->ID3v2().AddFrame("TALB"), QStringLiteral("Album"));
        QCOMPARE(file->WorkVersion(), 2);
        file->set(Field::Title, QStringLiteral("Both"));
        QCOMPARE(file->id3v1().read(ID3v1Block::Title), QStringLiteral("Both"));
        QCOMPARE(frameText(*file, "TIT2"), QStringLiteral("Both"));
    }

    void normalisationOnSet_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<bool>("keepDoubleSpaces");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("title trimmed and collapsed") << int(Field::Title) << false << "  a  b  "
                                                     << "a b";
        QTest::newRow("double spaces kept") << int(Field::Title) << true << "  a  b  "
                                            << "a  b";
        QTest::newRow("year untouched") << int(Field::Year) << false << " 1999"
                                        << " 1999";
        QTest::newRow("composer collapsed") << int(Field::Composer) << false << "x   y"
                                            << "x y";
    }
    void normalisationOnSet() {
        QFETCH(int, field);
        QFETCH(bool, keepDoubleSpaces);
        QFETCH(QString, value);
        TagOptions options;
        options.tagMode = TagOptions::ID3v2Only;
        options.keepDoubleSpaces = keepDoubleSpaces;
        TMP3 file(QString(), options);
        file.set(Field(field), value);
        QTEST(file.get(Field(field)), "expected");
    }

    void longTitleIsCutForID3v1Only() {
        auto file = mpegObject({3, false, {}, {}});
        const QString title(40, QLatin1Char('t'));
        file->set(Field::Title, title);
        QCOMPARE(file->id3v1().read(ID3v1Block::Title), title.left(30));
        QCOMPARE(frameText(*file, "TIT2"), title);
    }

    void trackOver255_data() {
        QTest::addColumn<int>("tagMode");
        QTest::addColumn<int>("v1Track");
        QTest::addColumn<QString>("trck");
        QTest::newRow("ID3v1") << 1 << 255 << "";
        QTest::newRow("ID3v2") << 2 << 4 << "300";
        QTest::newRow("mixed keeps the ID3v1 track") << 3 << 4 << "300";
    }
    void trackOver255() {
        QFETCH(int, tagMode);
        TagOptions options;
        options.tagMode = tagMode;
        TMP3 file(QString(), options);
        file.id3v1().setTrackByte(4);
        file.setTag(true);
        SetFrameText(file.ID3v2().AddFrame("TPE1"), QStringLiteral("x")); // mixed: WorkVersion 2
        file.setTrack(300);
        QTEST(int(file.id3v1().byteAt(ID3v1Block::kTrack)), "v1Track");
        QTEST(frameText(file, "TRCK"), "trck");
    }

    void trackText_data() {
        QTest::addColumn<QString>("trck");
        QTest::addColumn<int>("track");
        QTest::newRow("with total") << "5/12" << 5;
        QTest::newRow("leading letter") << "A1" << 0;
        QTest::newRow("plain") << "300" << 300;
    }
    void trackText() {
        auto file = mpegObject({2, false, {}, {}});
        QFETCH(QString, trck);
        SetFrameText(file->ID3v2().AddFrame("TRCK"), trck);
        QTEST(file->Track(), "track");
    }

    void commentReadsOursThenTheUnnamedOne() {
        auto file = mpegObject({2, false, {}, {}});
        SetFrameText(file->ID3v2().AddFrame("COMM"),
                     QStringLiteral("eng\r\n\r\nfrom elsewhere\r\n"));
        QCOMPARE(file->get(Field::Comment), QStringLiteral("from elsewhere"));
        file->set(Field::Comment, QStringLiteral("edited"));
        QCOMPARE(file->ID3v2().frameCount(), 1); // written back to the same frame
        SetFrameText(file->ID3v2().AddFrame("COMM"),
                     QStringLiteral("eng\r\nID3v1\r\nline one\r\nline two\r\n"));
        QCOMPARE(file->get(Field::Comment), QStringLiteral("line one line two"));
        file->set(Field::Comment, QString());
        QCOMPARE(file->ID3v2().frameCount(), 1); // ours deleted, the other stays
        QCOMPARE(file->get(Field::Comment), QStringLiteral("edited"));
    }

    void moodLivesInAMusicMatchComment() {
        auto file = mpegObject({2, false, {}, {}});
        file->set(Field::Mood, QStringLiteral("Calm"));
        TID3Frame* frame =
            file->ID3v2().FindComment(QStringLiteral("musicmatch_mood"), QStringLiteral("ENG"));
        QVERIFY(frame);
        QCOMPARE(file->get(Field::Mood), QStringLiteral("Calm"));
    }

    void lyricsAndContactUseTheFrameWithoutDescription() {
        auto file = mpegObject({2, false, {}, {}});
        TID3Frame& other = file->ID3v2().AddFrame("TXXX");
        SetFrameText(other, QStringLiteral("replaygain"));
        SetUserFrameDescription(other, QStringLiteral("REPLAYGAIN_TRACK_GAIN")); // value stays
        QCOMPARE(file->get(Field::Lyrics), QString());
        file->set(Field::Lyrics, QStringLiteral("La la"));
        file->set(Field::Contact, QStringLiteral("http://example.org"));
        QCOMPARE(file->ID3v2().frameCount(), 3);
        QCOMPARE(GetFrameText(other), QStringLiteral("replaygain"));
        QCOMPARE(file->get(Field::Lyrics), QStringLiteral("La la"));
        QCOMPARE(file->get(Field::Contact), QStringLiteral("http://example.org"));
        file->set(Field::Lyrics, QString());
        QCOMPARE(file->ID3v2().frameCount(), 2); // only ours went
    }

    void extendedFieldsNeedID3v2() {
        auto file = mpegObject({1, false, "V1", {}});
        SetFrameText(file->ID3v2().AddFrame("TCOM"), QStringLiteral("Bach"));
        QCOMPARE(file->get(Field::Composer), QString());
        file->set(Field::Composer, QStringLiteral("Händel"));
        QCOMPARE(frameText(*file, "TCOM"), QStringLiteral("Bach"));
    }

    void genreRouting() {
        auto file = mpegObject({3, false, {}, {}});
        file->setGenre(17);
        QCOMPARE(file->id3v1().genre(), 17);
        QCOMPARE(file->get(Field::GenreStr), QStringLiteral("Rock"));
        file->set(Field::GenreStr, QStringLiteral("Chillwave")); // not one of the 148
        QCOMPARE(file->Genre(), 255);
        QCOMPARE(file->get(Field::GenreStr), QStringLiteral("Chillwave"));
        QCOMPARE(file->id3v1().genre(), 255);
    }

    void copyID3v2ToID3v1PrefersTheBand() {
        auto file = mpegObject({3, false, {}, {}});
        SetFrameText(file->ID3v2().AddFrame("TPE1"), QStringLiteral("Singer"));
        SetFrameText(file->ID3v2().AddFrame("TPE2"), QStringLiteral("Band"));
        SetFrameText(file->ID3v2().AddFrame("TRCK"), QStringLiteral("300/400"));
        file->CopyID3v2ToID3v1();
        QCOMPARE(file->id3v1().read(ID3v1Block::Artist), QStringLiteral("Band"));
        QCOMPARE(file->id3v1().track(), 255);
        QVERIFY(file->Tag());
        QVERIFY(file->Changed());
    }

    void textHelpers() {
        TagOptions options;
        TMP3 file(QString(), options);
        QCOMPARE(file.TrackText(0), QString());
        QCOMPARE(file.TrackText(7), QStringLiteral("07"));
        QCOMPARE(file.TrackText(123), QStringLiteral("123"));
        options.leadingZero = false;
        file.setOptions(options);
        QCOMPARE(file.TrackText(7), QStringLiteral("7"));
        file.setFileName(QStringLiteral("a/b\\c:d*e?f\"g<h>i|j"));
        QCOMPARE(file.FileName(), QStringLiteral("abcdefghij"));
        file.setNewFileDir(QStringLiteral("/music/Rock/"));
        QCOMPARE(file.FolderName(), QStringLiteral("Rock"));
        file.streamForUpdate().BitRate = 192;
        file.streamForUpdate().VBR = true;
        QCOMPARE(file.BitRateStr(), QStringLiteral("~192"));
    }

    void textIsCutAtNul() {
        auto file =
            mpegObject({2, false, {}, QStringLiteral("ab") + QChar(0) + QStringLiteral("cd")});
        QCOMPARE(file->get(Field::Title), QStringLiteral("ab"));
    }

    void deferredObjectReadsItsFileOnFirstAccessOnly() {
        CountingCache cache;
        TMP3 file(QString(), TagOptions{}, &cache);
        file.setFilePath(QStringLiteral(VARLO_TEST_DATA "/mpeg/tagged-v1v2.mp3"));
        int redraws = 0;
        file.doUpdateListItem = [&](TMP3&) { ++redraws; };
        QVERIFY(!file.IsSyn());
        QCOMPARE(file.get(Field::Title), QStringLiteral("Title v2"));
        QVERIFY(file.IsSyn());
        file.get(Field::Artist);
        QCOMPARE(cache.updates, 1);
        QCOMPARE(redraws, 1);
    }

    void deferredObjectSynchronisesBeforeASetterButNeverOverChanges() {
        CountingCache cache;
        TMP3 file(QString(), TagOptions{}, &cache);
        file.setFilePath(QStringLiteral(VARLO_TEST_DATA "/mpeg/tagged-v1v2.mp3"));
        file.set(Field::Album, QStringLiteral("Edited"));
        QVERIFY(file.IsSyn());
        QCOMPARE(file.get(Field::Title), QStringLiteral("Title v2")); // the rest came from disk
        file.setChanged(true);
        file.setIsSyn(false);
        QCOMPARE(file.get(Field::Album), QStringLiteral("Edited")); // not re-read
        QCOMPARE(cache.updates, 1);
    }

    void shouldSynOffKeepsTheObjectUnread() {
        CountingCache cache;
        TMP3 file(QString(), TagOptions{}, &cache);
        file.setFilePath(QStringLiteral(VARLO_TEST_DATA "/mpeg/tagged-v1v2.mp3"));
        file.setShouldSyn(false);
        QCOMPARE(file.get(Field::Title), QString());
        QCOMPARE(cache.updates, 0);
    }

    void otherFormatsReadRouting_data() {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("expected");
        const QString ogg = QStringLiteral("ogg/tagged.ogg");
        const QString wma = QStringLiteral("wma/typed.wma");
        QTest::newRow("ogg title is the first TITLE")
            << ogg << int(Field::Title) << QStringLiteral("Ünïcödé Title");
        QTest::newRow("ogg subtitle is the second TITLE")
            << ogg << int(Field::SubTitle) << QStringLiteral("Подзаголовок");
        QTest::newRow("ogg band is the second ARTIST")
            << ogg << int(Field::Band) << QStringLiteral("Band 🎸");
        QTest::newRow("ogg comment from DESCRIPTION")
            << ogg << int(Field::Comment) << QStringLiteral("Only a description");
        QTest::newRow("ogg genre index") << ogg << int(Field::Genre) << QStringLiteral("17");
        QTest::newRow("ogg track") << ogg << int(Field::Track) << QStringLiteral("3");
        QTest::newRow("ogg mood has no place") << ogg << int(Field::Mood) << QString();
        QTest::newRow("wma title")
            << wma << int(Field::Title) << QStringLiteral("Café Ёлка 東京 🎵");
        QTest::newRow("wma artist is the album artist")
            << wma << int(Field::Artist) << QStringLiteral("Album Artist");
        QTest::newRow("wma band is the author")
            << wma << int(Field::Band) << QStringLiteral("Plain Artist");
        QTest::newRow("wma comment is the description")
            << wma << int(Field::Comment) << QStringLiteral("Short");
        QTest::newRow("wma mood") << wma << int(Field::Mood) << QStringLiteral("Calm");
        QTest::newRow("wma BPM") << wma << int(Field::BPM) << QStringLiteral("120");
        QTest::newRow("wma track") << wma << int(Field::Track) << QStringLiteral("7");
        QTest::newRow("wma contact has no place") << wma << int(Field::Contact) << QString();
    }
    void otherFormatsReadRouting() {
        QFETCH(QString, fixture);
        QFETCH(int, field);
        TMP3 file(QStringLiteral(VARLO_TEST_DATA "/") + fixture);
        QTEST(file.get(Field(field)), "expected");
    }

    void otherFormatsWriteRouting() {
        TMP3 ogg(QStringLiteral(VARLO_TEST_DATA "/ogg/tagged.ogg"));
        ogg.setTrack(300); // only ID3v1 has a one-byte track
        ogg.setGenre(17);
        ogg.set(Field::Publisher, QStringLiteral("Label"));
        QCOMPARE(ogg.Track(), 300);
        QCOMPARE(ogg.OggTag().field(QStringLiteral("Genre")), QStringLiteral("Rock"));
        QCOMPARE(ogg.OggTag().field(QStringLiteral("Organization")), QStringLiteral("Label"));

        TMP3 wma(QStringLiteral(VARLO_TEST_DATA "/wma/typed.wma"));
        wma.setGenre(8);
        wma.set(Field::Artist, QStringLiteral("New artist"));
        wma.set(Field::RemixedBy, QStringLiteral("Remixer"));
        QCOMPARE(wma.WmaTag().GenreId(), 8);
        QCOMPARE(wma.WmaTag().property(QStringLiteral("Genre")), QStringLiteral("Jazz"));
        QCOMPARE(wma.WmaTag().property(QStringLiteral("Artist")), QStringLiteral("New artist"));
        QCOMPARE(wma.WmaTag().property(QStringLiteral("ModifiedBy")), QStringLiteral("Remixer"));
        QVERIFY(wma.Tag());
    }

    void wavChangedFlagWorks() {
        TMP3 file;
        file.setFormat(false, false, true);
        file.setChanged(true);
        QVERIFY(file.Changed());
        file.set(Field::Title, QStringLiteral("ignored"));
        QCOMPARE(file.get(Field::Title), QString());
    }
};

QTEST_GUILESS_MAIN(TestAudioFile)
#include "tst_audiofile.moc"
