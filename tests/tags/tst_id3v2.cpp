#include "tags/bytecursor.h"
#include "tags/id3picture.h"
#include "tags/id3v2file.h"
#include "tags/oldid3v2.h"
#include "tags/pcdjnumbers.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tags;

namespace {

QByteArray header(int version, quint8 flags, qint64 size) {
    QByteArray out = "ID3" + QByteArray(1, char(version)) + '\0' + char(flags);
    AppendSyncSafe(out, 4, quint64(size));
    return out;
}

QByteArray tagBytes(int version, quint8 flags, const QByteArray& frames) {
    return header(version, flags, frames.size()) + frames;
}

QByteArray frame22(const QByteArray& id, const QByteArray& body) {
    QByteArray out = id;
    AppendBE(out, 3, quint64(body.size()));
    return out + body;
}

QByteArray frame23(const QByteArray& id, const QByteArray& body, quint16 flags = 0) {
    QByteArray out = id;
    AppendBE(out, 4, quint64(body.size()));
    AppendBE(out, 2, flags);
    return out + body;
}

QByteArray frame24(const QByteArray& id, const QByteArray& body, quint16 flags = 0,
                   bool syncSafe = true) {
    QByteArray out = id;
    if (syncSafe)
        AppendSyncSafe(out, 4, quint64(body.size()));
    else
        AppendBE(out, 4, quint64(body.size()));
    AppendBE(out, 2, flags);
    return out + body;
}

QByteArray latin1Text(const QByteArray& text) {
    return QByteArray(1, '\0') + text;
}

TID3v2 parse(const QByteArray& tag) {
    TID3v2 parsed;
    if (parsed.ParseHeader(tag))
        parsed.ParseFrames(QByteArrayView(tag).sliced(10));
    return parsed;
}

QString text(TID3v2& tag, const QByteArray& id) {
    TID3Frame* frame = tag.FindFrame(id);
    return frame ? GetFrameText(*frame) : QStringLiteral("<none>");
}

QStringList ids(const TID3v2& tag) {
    QStringList list;
    for (int i = 0; i < tag.frameCount(); ++i)
        list << QString::fromLatin1(tag.frame(i).id);
    return list;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool storeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

TID3v2 readFile(const QString& path) {
    QFile file(path);
    TID3v2 tag;
    if (file.open(QIODevice::ReadOnly))
        readID3v2(file, tag, true, nullptr);
    return tag;
}

const QByteArray kAudio = QByteArray("\xff\xfb\x90\x64") + QByteArray(400, 'a');

} // namespace

class TestId3v2 : public QObject {
    Q_OBJECT
private slots:
    void buildTagSize_data() {
        QTest::addColumn<int>("bodySize");
        QTest::addColumn<qint64>("previous");
        QTest::addColumn<bool>("zeroPadding");
        QTest::addColumn<int>("paddingPerc");
        QTest::addColumn<qint64>("size");
        QTest::newRow("new tag raised to 2048") << 10 << qint64(0) << true << 50 << qint64(2048);
        QTest::newRow("new tag without padding") << 10 << qint64(0) << false << 50 << qint64(30);
        QTest::newRow("fits the old 4096") << 2980 << qint64(4096) << true << 50 << qint64(4096);
        QTest::newRow("outgrows 4096 at 50%")
            << 4980 << qint64(4096) << true << 50 << qint64(10000);
        QTest::newRow("outgrows 4096 at 100%")
            << 4980 << qint64(4096) << true << 100 << qint64(5000);
        QTest::newRow("percentage clamped to 10")
            << 4980 << qint64(4096) << true << 0 << qint64(50000);
        QTest::newRow("old space kept without padding")
            << 10 << qint64(500) << false << 50 << qint64(500);
    }
    void buildTagSize() {
        QFETCH(int, bodySize);
        QFETCH(qint64, previous);
        QFETCH(bool, zeroPadding);
        QFETCH(int, paddingPerc);
        QFETCH(qint64, size);
        TID3v2 tag;
        tag.AddFrame("TIT2").body = latin1Text(QByteArray(bodySize - 1, 'x'));
        QByteArray built;
        QVERIFY(tag.BuildTagFor({false, zeroPadding, paddingPerc}, previous, built).ok());
        QCOMPARE(built.size(), size);
        TID3v2 reread = parse(built);
        QCOMPARE(reread.storedSize, size - 10);
        QCOMPARE(reread.frameCount(), 1);
        QCOMPARE(reread.frame(0).body.size(), bodySize);
    }

    void sizeFieldThatLiesIsNotPaddedTo() {
        // Found by fuzzing: a header claiming 256 MB made BuildTag pad to the claim.
        const QByteArray tag = header(3, 0, 0x0FFFFFFF) + frame23("TIT2", latin1Text("T"));
        QCOMPARE(parse(tag).BuildTag({}).size(), 2048);
    }

    void unsynchronisesTheWholeTag() {
        TID3v2 tag;
        tag.AddFrame("PRIV").body = QByteArray("o\0\xff\xe0", 4);
        const QByteArray built = tag.BuildTag({true, false, 50});
        QCOMPARE(quint8(built[5]), quint8(0x80));
        QVERIFY(built.contains(QByteArray("\xff\x00\xe0", 3)));
        QCOMPARE(TBuf(built.mid(14, 4)).ReadBE(4), quint64(4)); // size of the plain body
        TID3v2 reread = parse(built);
        QCOMPARE(reread.frame(0).body, QByteArray("o\0\xff\xe0", 4));
    }

    void readsTags_data() {
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QString>("title");
        const QByteArray song = latin1Text("Song");
        const QByteArray longText = latin1Text(QByteArray(200, 'L'));
        QTest::newRow("v2.2 ids mapped")
            << tagBytes(2, 0, frame22("TT2", song) + frame22("XYZ", "?"))
            << QStringList{"TIT2", "XYZ"} << "Song";
        QTest::newRow("v2.3") << tagBytes(3, 0, frame23("TIT2", song) + QByteArray(20, '\0'))
                              << QStringList{"TIT2"} << "Song";
        QTest::newRow("v2.4 sync-safe size over 127")
            << tagBytes(4, 0, frame24("TIT2", longText) + frame24("TPE1", song))
            << QStringList{"TIT2", "TPE1"} << QString(200, 'L');
        QTest::newRow("v2.4 plain size over 127")
            << tagBytes(4, 0, frame24("TIT2", longText, 0, false) + frame24("TPE1", song, 0, false))
            << QStringList{"TIT2", "TPE1"} << QString(200, 'L');
        QByteArray ext23("\0\0\0\x06\0\0\0\0\0\0", 10);
        QTest::newRow("v2.3 extended header")
            << tagBytes(3, 0x40, ext23 + frame23("TIT2", song)) << QStringList{"TIT2"} << "Song";
        QByteArray ext24("\0\0\0\x06\x01\0", 6);
        QTest::newRow("v2.4 extended header")
            << tagBytes(4, 0x40, ext24 + frame24("TIT2", song)) << QStringList{"TIT2"} << "Song";
        QTest::newRow("extended header flag without header")
            << tagBytes(3, 0x40, frame23("TIT2", song)) << QStringList{"TIT2"} << "Song";
        const QByteArray ff = latin1Text("\xff\xe0");
        QTest::newRow("v2.3 whole-tag unsynchronisation")
            << tagBytes(3, 0x80, Unsynchronise(frame23("TIT2", ff) + frame23("TPE1", song)))
            << QStringList{"TIT2", "TPE1"} << QString::fromLatin1("\xff\xe0");
        QTest::newRow("v2.3 per-frame unsynchronisation (older Varlo)")
            << tagBytes(3, 0x80, frame23("TIT2", Unsynchronise(ff)) + frame23("TPE1", song))
            << QStringList{"TIT2", "TPE1"} << QString::fromLatin1("\xff\xe0");
        QTest::newRow("frame runs past the tag")
            << tagBytes(3, 0, frame23("TIT2", song).left(12)) << QStringList{"TIT2"} << "S";
        QByteArray huge = frame23("TPE1", song);
        huge[4] = char(0x7f);
        QTest::newRow("frame size far past the tag") << tagBytes(3, 0, frame23("TIT2", song) + huge)
                                                     << QStringList{"TIT2", "TPE1"} << "Song";
        QTest::newRow("flag data missing drops frame")
            << tagBytes(4, 0, frame24("TENC", "\x01", 0x0001) + frame24("TIT2", song))
            << QStringList{"TIT2"} << "Song";
        QTest::newRow("unknown version")
            << tagBytes(5, 0, frame23("TIT2", song)) << QStringList{} << "<none>";
        QTest::newRow("v2.2 compression flag")
            << tagBytes(2, 0x40, frame22("TT2", song)) << QStringList{} << "<none>";
    }
    void readsTags() {
        QFETCH(QByteArray, tag);
        QFETCH(QStringList, ids);
        QFETCH(QString, title);
        TID3v2 parsed = parse(tag);
        QCOMPARE(::ids(parsed), ids);
        QCOMPARE(text(parsed, "TIT2"), title);
    }

    void v22PictureBecomesApic() {
        const QByteArray pic = QByteArray("\0JPG\x03"
                                          "d\0",
                                          7) +
                               "JFIF";
        TID3v2 tag = parse(tagBytes(2, 0, frame22("PIC", pic)));
        TID3Frame* apic = tag.FindFrame("APIC");
        QVERIFY(apic);
        QCOMPARE(PictureMime(*apic), QStringLiteral("image/jpeg"));
        QCOMPARE(PictureType(*apic), 3);
        QCOMPARE(PictureData(*apic), QByteArray("JFIF"));
    }

    void unmappedV22FramesDroppedOnWrite() {
        TID3v2 tag = parse(tagBytes(2, 0, frame22("TT2", latin1Text("A")) + frame22("XYZ", "?")));
        QCOMPARE(::ids(parse(tag.BuildTag({}))), QStringList{"TIT2"});
    }

    void compressedFrames_data() {
        QTest::addColumn<quint32>("declared");
        QTest::newRow("true size") << quint32(5001);
        QTest::newRow("declared 2,000,000") << quint32(2000000);
        QTest::newRow("declared too small") << quint32(10);
    }
    void compressedFrames() {
        QFETCH(quint32, declared);
        const QByteArray body = latin1Text(QByteArray(5000, 'z'));
        QByteArray data;
        AppendBE(data, 4, declared);
        data += qCompress(body).mid(4); // qCompress prefixes its own size
        TID3v2 tag = parse(tagBytes(3, 0, frame23("TIT2", data, 0x0080)));
        QCOMPARE(tag.frame(0).body, body);
        QVERIFY(!tag.frame(0).opaque);
        const QByteArray built = tag.BuildTag({});
        QCOMPARE(parse(built).frame(0).body, body); // written uncompressed
    }

    void undecodableFramesKeptByteForByte() {
        const QString path = QStringLiteral(VARLO_TEST_DATA "/id3/v23-opaque.mp3");
        TID3v2 tag = readFile(path);
        QCOMPARE(::ids(tag), (QStringList{"TIT2", "TXXX", "APIC", "TPE1", "TALB"}));
        QCOMPARE(UserFrameDescription(*tag.FindFrame("TXXX")), QStringLiteral("desc"));
        const TID3Frame encrypted = *tag.FindFrame("APIC");
        const TID3Frame corrupt = *tag.FindFrame("TPE1");
        QVERIFY(encrypted.opaque && corrupt.opaque);
        TID3v2 reread = parse(tag.BuildTag({}));
        QCOMPARE(*reread.FindFrame("APIC"), encrypted);
        QCOMPARE(*reread.FindFrame("TPE1"), corrupt);
        const QByteArray raw = fileBytes(path);
        QVERIFY(tag.BuildTag({}).contains(raw.mid(raw.indexOf("APIC"), 25)));
    }

    void v24RecordingDateBecomesYear_data() {
        QTest::addColumn<QByteArray>("frames");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QString>("year");
        QTest::newRow("full date") << frame24("TDRC", latin1Text("2004-03-05T10:20"))
                                   << QStringList{"TYER", "TDAT", "TIME"} << "2004";
        QTest::newRow("year only") << frame24("TDRC", "\x03"
                                                      "1999")
                                   << QStringList{"TYER"} << "1999";
        QTest::newRow("TYER already there")
            << frame24("TYER", latin1Text("2001")) + frame24("TDRC", latin1Text("2004-03"))
            << QStringList{"TYER"} << "2001";
    }
    void v24RecordingDateBecomesYear() {
        QFETCH(QByteArray, frames);
        QFETCH(QStringList, ids);
        QFETCH(QString, year);
        TID3v2 tag = parse(tagBytes(4, 0, frames));
        QCOMPARE(::ids(tag), ids);
        QCOMPARE(text(tag, "TYER"), year);
        if (ids.contains("TDAT")) {
            QCOMPARE(text(tag, "TDAT"), QStringLiteral("0503"));
            QCOMPARE(text(tag, "TIME"), QStringLiteral("1020"));
        }
        QCOMPARE(::ids(parse(tag.BuildTag({}))), ids);
    }

    void v24EncodingsWrittenAsUtf16() {
        TID3v2 tag = parse(tagBytes(4, 0,
                                    frame24("TIT2", "\x03\xe6\x9d\xb1") +
                                        frame24("COMM", QByteArray("\x02"
                                                                   "eng\0\0\0\x41",
                                                                   8))));
        TID3v2 reread = parse(tag.BuildTag({}));
        QCOMPARE(reread.frame(0).body.left(3), QByteArray("\x01\xff\xfe"));
        QCOMPARE(text(reread, "TIT2"), QStringLiteral("東"));
        QCOMPARE(text(reread, "COMM"), QStringLiteral("eng\r\n\r\nA\r\n"));
    }

    void unicodeRoundTrip_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("Latin-1") << QStringLiteral("Ærøskøbing café");
        QTest::newRow("Cyrillic") << QStringLiteral("Кино — Группа крови");
        QTest::newRow("CJK") << QStringLiteral("東京事変 教育");
        QTest::newRow("emoji") << QStringLiteral("Band 🎸🥁");
    }
    void unicodeRoundTrip() {
        QFETCH(QString, value);
        TID3v2 tag;
        SetFrameText(tag.AddFrame("TIT2"), value);
        SetFrameText(tag.FindOrAddUserFrame("TXXX", value), value);
        SetFrameText(tag.FindOrAddComment(value, "eng"), "eng\r\n" + value + "\r\n" + value);
        TID3v2 reread = parse(tag.BuildTag({}));
        QCOMPARE(text(reread, "TIT2"), value);
        QVERIFY(reread.FindUserFrame("TXXX", value));
        QCOMPARE(GetFrameText(*reread.FindUserFrame("TXXX", value)), value);
        QVERIFY(reread.FindComment(value, "ENG"));
        QCOMPARE(SplitTextForm(GetFrameText(*reread.FindComment(value, "eng"))).value(2), value);
    }

    void lookups() {
        TID3v2 tag;
        SetFrameText(tag.FindOrAddComment("ID3v1", "eng"), "eng\r\nID3v1\r\nhello");
        QVERIFY(tag.FindComment("id3v1", "ENG"));
        QVERIFY(!tag.FindComment("other", "eng"));
        tag.FindOrAddPrivate("PCDJ GAIN");
        QVERIFY(tag.FindPrivate("pcdj gain"));
        QCOMPARE(&tag.FindOrAddPrivate("PCDJ GAIN"), tag.FindPrivate("PCDJ GAIN"));
        TID3Frame& lyrics = tag.FindOrAddUserFrame("TXXX", "");
        TID3Frame& named = tag.FindOrAddUserFrame("TXXX", "name");
        QVERIFY(&lyrics != &named);
        QCOMPARE(tag.FindUserFrame("txxx", "name"), &named);
        QCOMPARE(tag.FindUserFrame("TXXX", "NAME"), nullptr);
        QVERIFY(tag.DeleteComment("ID3v1", "eng"));
        QCOMPARE(tag.DeleteFrames("TXXX"), 2);
        QCOMPARE(tag.CountKnownFrames(), 1);
    }

    void removeEmptyFrames() {
        TID3v2 tag;
        tag.AddFrame("TIT2").body = QByteArray(1, '\0');
        tag.AddFrame("TPE1");
        SetFrameText(tag.AddFrame("COMM"), "\r\n\r\n");
        SetFrameText(tag.AddFrame("TALB"), "kept");
        tag.RemoveEmptyFrames();
        QCOMPARE(::ids(tag), QStringList{"TALB"});
        tag.AddFrame("TIT2");
        tag.DeleteFrames("TALB");
        QCOMPARE(tag.BuildTag({}), QByteArray()); // an empty tag is removed
    }

    void pcdjNumbers_data() {
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QString>("entered");
        QTest::addColumn<quint32>("stored");
        QTest::newRow("gain") << PcdjNumbers::kGain << "1.5" << quint32(30500);
        QTest::newRow("gain outside range") << PcdjNumbers::kGain << "40" << quint32(0);
        QTest::newRow("gain not a number") << PcdjNumbers::kGain << "abc" << quint32(0);
        QTest::newRow("rating") << PcdjNumbers::kRating << "4" << quint32(4);
        QTest::newRow("cd code not a number") << PcdjNumbers::kCdCode << "x1" << quint32(0);
    }
    void pcdjNumbers() {
        QFETCH(QString, owner);
        QFETCH(QString, entered);
        QFETCH(quint32, stored);
        const quint32 value = owner == PcdjNumbers::kGain ? PcdjNumbers::GainToStored(entered)
                                                          : PcdjNumbers::NumberFromText(entered);
        QCOMPARE(value, stored);
        TID3v2 tag;
        PcdjNumbers::Write(tag, owner, 1);
        PcdjNumbers::Write(tag, owner, value);
        QCOMPARE(tag.frameCount(), 1);
        QCOMPARE(PcdjNumbers::Read(tag, owner.toLower()), std::optional<quint32>(stored));
        TID3Frame& frame = *tag.FindPrivate(owner);
        QCOMPARE(frame.body.size(), owner.size() + 5);
    }

    void compatibilityReaderWins() {
        // ID3v2.4 that unsynchronised the whole tag: frame by frame, the first frame ends on
        // what looks like padding, so the main reader sees one frame and the second reader two.
        const QByteArray plain =
            frame24("TIT2", QByteArray("\0A\xff\0", 4)) + frame24("TPE1", latin1Text("Artist"));
        const QByteArray tag = tagBytes(4, 0x80, Unsynchronise(plain));
        TID3v2 main = parse(tag);
        QCOMPARE(main.frameCount(), 1);
        TID3v2 compatible;
        QVERIFY(ParseWithCompatibility(compatible, tag.left(10), QByteArrayView(tag).sliced(10)));
        QCOMPARE(::ids(compatible), (QStringList{"TIT2", "TPE1"}));
        TID3v2 normal;
        const QByteArray plainTag = tagBytes(3, 0, plain);
        QVERIFY(!ParseWithCompatibility(normal, plainTag.left(10),
                                        QByteArrayView(plainTag).sliced(10)));
    }

    void readDevice_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("frames");
        QTest::addColumn<qint64>("region");
        const QByteArray tag = tagBytes(3, 0, frame23("TIT2", latin1Text("T")));
        QTest::newRow("no tag") << kAudio << 0 << qint64(0);
        QTest::newRow("tag") << tag + kAudio << 1 << qint64(tag.size());
        QTest::newRow("tag larger than the file")
            << header(3, 0, 100000) + frame23("TIT2", latin1Text("T")) << 1 << qint64(22);
        QTest::newRow("size 0") << header(3, 0, 0) + kAudio << 0 << qint64(10);
        QTest::newRow("invalid size bytes")
            << QByteArray("ID3\x03\0\0\x80\0\0\0", 10) + kAudio << 0 << qint64(0);
        QTest::newRow("footer") << header(4, 0x10, 12) + frame24("TIT2", latin1Text("T")) + "3DI" +
                                       header(4, 0x10, 12).mid(3) + kAudio
                                << 1 << qint64(32);
    }
    void readDevice() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, frames);
        QFETCH(qint64, region);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        TID3v2 tag;
        tag.AddFrame("OLD");
        tag.modified = true;
        QVERIFY(readID3v2(buffer, tag, true, nullptr).ok());
        QCOMPARE(tag.frameCount(), frames);
        QVERIFY(!tag.modified);
        QCOMPARE(id3v2RegionSize(buffer), region);
    }

    void writeFile_data() {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<qint64>("newRegion");
        const QByteArray tag4096 =
            header(3, 0, 4086) + frame23("TIT2", latin1Text("Old")) + QByteArray(4086 - 14, '\0');
        QTest::newRow("in place") << tag4096 + kAudio << "New" << true << qint64(4096);
        QTest::newRow("growing") << tag4096 + kAudio << QString(5000, 'g') << true << qint64(10042);
        QTest::newRow("new tag") << kAudio << "New" << true << qint64(2048);
        QTest::newRow("no tag before, none now") << kAudio << "" << true << qint64(0);
        QTest::newRow("tag removed") << tag4096 + kAudio << "" << true << qint64(0);
        QTest::newRow("junk after the tag kept")
            << tag4096 + "JUNKJUNK" + kAudio << "New" << true << qint64(4096);
        QTest::newRow("footer region replaced")
            << header(4, 0x10, 12) + frame24("TIT2", latin1Text("T")) + "3DI" +
                   header(4, 0x10, 12).mid(3) + kAudio
            << "New" << true << qint64(2048);
        QTest::newRow("RIFF refused")
            << QByteArray("RIFF\x10\0\0\0WAVEfmt ") + kAudio << "New" << false << qint64(0);
        QTest::newRow("unknown version refused")
            << header(5, 0, 20) + QByteArray(20, 'x') + kAudio << "New" << false << qint64(30);
    }
    void writeFile() {
        QFETCH(QByteArray, original);
        QFETCH(QString, title);
        QFETCH(bool, succeeds);
        QFETCH(qint64, newRegion);
        QTemporaryDir dir;
        const QString path = dir.filePath("song.mp3");
        QVERIFY(storeFile(path, original));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        const QFile::Permissions permissions = QFile::permissions(path);
        QBuffer buffer(&original);
        buffer.open(QIODevice::ReadOnly);
        const qint64 oldRegion = original.startsWith("ID3") ? id3v2RegionSize(buffer) : 0;

        TID3v2 tag = readFile(path);
        tag.DeleteFrames("TIT2");
        if (!title.isEmpty())
            SetFrameText(tag.AddFrame("TIT2"), title);
        tag.modified = true;
        const Status status = writeID3v2(path, tag, Id3WriteOptions());
        QCOMPARE(status.ok(), succeeds);
        const QByteArray written = fileBytes(path);
        if (!succeeds) {
            QVERIFY(!status.message().isEmpty());
            QCOMPARE(written, original);
            return;
        }
        QVERIFY(!tag.modified);
        QCOMPARE(tag.storedSize, qMax(newRegion - 10, qint64(0)));
        QCOMPARE(written.mid(newRegion), original.mid(oldRegion));
        QCOMPARE(text(tag, "TIT2"), title.isEmpty() ? QStringLiteral("<none>") : title);
        TID3v2 reread = readFile(path);
        QCOMPARE(text(reread, "TIT2"), text(tag, "TIT2"));
        QCOMPARE(QFile::permissions(path), permissions);
    }

    void unmodifiedTagNotWritten() {
        QTemporaryDir dir;
        const QString path = dir.filePath("song.mp3");
        QVERIFY(storeFile(path, kAudio));
        TID3v2 tag;
        SetFrameText(tag.AddFrame("TIT2"), "x");
        QVERIFY(writeID3v2(path, tag, {}).ok());
        QCOMPARE(fileBytes(path), kAudio);
    }

    void olderVarloUnsynchronisedFixture() {
        TID3v2 tag = readFile(QStringLiteral(VARLO_TEST_DATA "/id3/v23-oldunsync.mp3"));
        QCOMPARE(text(tag, "TIT2"), QString::fromLatin1("Y\xff\xe0s"));
        QCOMPARE(text(tag, "TPE1"), QString::fromLatin1("Artist\xff"));
        QCOMPARE(text(tag, "TALB"), QStringLiteral("Album"));
    }
};

QTEST_GUILESS_MAIN(TestId3v2)
#include "tst_id3v2.moc"
