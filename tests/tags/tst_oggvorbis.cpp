#include "tags/oggpage.h"
#include "tags/oggvorbis.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace tags;

namespace {

const QString kData = QStringLiteral(VARLO_TEST_DATA "/ogg/");
const QString kPeers = QStringLiteral(VARLO_PEER_DATA "/");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

/// Runs a tool; empty when it is missing or fails.
QByteArray run(const QString& program, const QStringList& arguments, int* exitCode = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {};
    if (exitCode)
        *exitCode = process.exitCode();
    return process.readAll();
}

/// A Python that has mutagen; the distribution's one when the first in PATH lacks it.
QString pythonWithMutagen() {
    static const QString found = [] {
        for (const QString& python :
             {QStringLiteral("python3"), QStringLiteral("/usr/bin/python3")}) {
            int exitCode = -1;
            run(python, {"-c", "import mutagen"}, &exitCode);
            if (exitCode == 0)
                return python;
        }
        return QString();
    }();
    return found;
}

/// mutagen's view: channels, rate, length and the comments in stored order.
QJsonObject mutagenView(const QString& path) {
    static const char* script = R"(
import json, sys
from mutagen.oggvorbis import OggVorbis
f = OggVorbis(sys.argv[1])
print(json.dumps({"channels": f.info.channels, "rate": f.info.sample_rate,
                  "length": f.info.length, "tags": [[k.lower(), v] for k, v in f.tags]}))
)";
    return QJsonDocument::fromJson(run(pythonWithMutagen(), {"-c", script, path})).object();
}

QJsonArray ourComments(const TOggVorbis& ogg) {
    QJsonArray list;
    for (const VorbisComment& comment : ogg.comments().comments())
        list.append(QJsonArray{comment.name().toLower(), comment.value()});
    return list;
}

/// Every packet of every logical stream, by serial, reassembled across pages.
QMap<quint32, QList<QByteArray>> packetsByStream(const QByteArray& file, qint64 offset) {
    QMap<quint32, QList<QByteArray>> streams;
    QMap<quint32, QByteArray> partial;
    while (const std::optional<OggPage> page =
               OggPage::parse(QByteArrayView(file).sliced(offset))) {
        for (const OggPage::Piece& piece : page->pieces()) {
            partial[page->serial] += page->body.mid(piece.offset, piece.size);
            if (piece.complete)
                streams[page->serial].append(partial.take(page->serial));
        }
        offset += page->size();
    }
    return streams;
}

QByteArray identificationPacket() {
    QByteArray id("\x01vorbis", 7);
    char fields[23] = {};
    fields[4] = 1;                               // channels
    qToLittleEndian<quint32>(8000, fields + 5);  // sample rate
    qToLittleEndian<qint32>(32000, fields + 13); // nominal bit rate
    fields[21] = char(0xB8);                     // block sizes
    fields[22] = 1;                              // framing
    return id + QByteArray(fields, 23);
}

QByteArray commentPacket(const QList<QByteArray>& comments, quint32 count) {
    QByteArray packet("\x03vorbis", 7);
    char length[4];
    qToLittleEndian<quint32>(4, length);
    packet += QByteArray(length, 4) + "test";
    qToLittleEndian<quint32>(count, length);
    packet += QByteArray(length, 4);
    for (const QByteArray& comment : comments) {
        qToLittleEndian<quint32>(quint32(comment.size()), length);
        packet += QByteArray(length, 4) + comment;
    }
    return packet + '\x01';
}

} // namespace

class TestOggVorbis : public QObject {
    Q_OBJECT
private slots:
    void readStreamValues_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::addColumn<double>("duration");
        QTest::addColumn<int>("kbps");
        QTest::addColumn<QString>("channelText");
        QTest::addColumn<QString>("title");
        QTest::newRow("mono") << kData + "tagged.ogg" << 1 << 22050 << 1.0 << 16 << "Mono"
                              << QString::fromUtf8("Ünïcödé Title");
        QTest::newRow("six channels")
            << kData + "surround.ogg" << 6 << 48000 << 0.5 << 84 << "6 channels"
            << "";
        QTest::newRow("ID3v2 in front") << kData + "id3v2.ogg" << 1 << 22050 << 1.0 << 16 << "Mono"
                                        << QString::fromUtf8("Ünïcödé Title");
        QTest::newRow("vendor only")
            << kPeers + "mutagen/empty.ogg" << 2 << 44100 << 3.685 << 112 << "Stereo"
            << "";
        QTest::newRow("Vorbis after Theora")
            << kPeers + "taglib/multiplex.ogg" << 2 << 48000 << 2.0 << 96 << "Stereo"
            << "Paper Lights";
        QTest::newRow("bad comment page checksum")
            << kPeers + "taglib/lowercase-fields.ogg" << 2 << 44100 << 3.685 << 112 << "Stereo"
            << "TEST TITLE";
        QTest::newRow("oga") << kPeers + "taglib/empty_vorbis.oga" << 2 << 44100 << 3.685 << 112
                             << "Stereo"
                             << "";
    }
    void readStreamValues() {
        QFETCH(QString, path);
        QFETCH(int, channels);
        TOggVorbis ogg;
        const Status status = ogg.ReadOggFile(path);
        QVERIFY2(status, qPrintable(status.message()));
        QCOMPARE(ogg.ChannelModeID(), channels);
        QTEST(ogg.SampleRate(), "rate");
        QFETCH(double, duration);
        QVERIFY2(qAbs(ogg.Duration() - duration) < 0.001,
                 qPrintable(QString::number(ogg.Duration())));
        QTEST(ogg.BitRate(), "kbps");
        QTEST(ogg.ChannelMode(), "channelText");
        QTEST(ogg.field("Title"), "title");
        QCOMPARE(ogg.FileSize(), QFileInfo(path).size());
        QCOMPARE(ogg.Valid(), channels <= 2);
    }

    void readProperties_data() {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("expected");
        QTest::newRow("second TITLE") << "SubTitle" << QString::fromUtf8("Подзаголовок");
        QTest::newRow("lower-case name") << "Artist" << QString::fromUtf8("アーティスト");
        QTest::newRow("second ARTIST") << "Band" << QString::fromUtf8("Band 🎸");
        QTest::newRow("first of two GENREs") << "Genre"
                                             << "Rock";
        QTest::newRow("DESCRIPTION as Comment") << "Comment"
                                                << "Only a description";
        QTest::newRow("track text") << "TrackString"
                                    << "3/12";
        QTest::newRow("absent") << "Composer"
                                << "";
        QTest::newRow("unknown property") << "Replaygain"
                                          << "";
    }
    void readProperties() {
        QFETCH(QString, property);
        TOggVorbis ogg;
        QVERIFY(ogg.ReadOggFile(kData + "tagged.ogg"));
        QTEST(ogg.field(property), "expected");
        QCOMPARE(ogg.Track(), 3);
        QVERIFY(ogg.TagExists() && !ogg.IsEmpty());
    }

    void vendorOnlyFileIsEmpty() {
        TOggVorbis ogg;
        QVERIFY(ogg.ReadOggFile(kData + "plain.ogg"));
        QVERIFY(ogg.IsEmpty());
        QVERIFY(!ogg.TagExists());
        QVERIFY(ogg.field("Vendor").startsWith("Xiph.Org libVorbis"));
    }

    void agreesWithMutagenAndFfprobe_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("ffprobeAccepts"); // ffprobe refuses a page with a bad checksum
        for (const char* name : {"plain.ogg", "tagged.ogg", "surround.ogg"})
            QTest::newRow(name) << kData + name << true;
        for (const char* name :
             {"mutagen/empty.ogg", "mutagen/multipage-setup.ogg", "mutagen/multipagecomment.ogg",
              "taglib/lowercase-fields.ogg", "taglib/multiplex.ogg", "taglib/test.ogg"})
            QTest::newRow(name) << kPeers + name << !QByteArray(name).contains("lowercase");
    }
    void agreesWithMutagenAndFfprobe() {
        QFETCH(QString, path);
        QFETCH(bool, ffprobeAccepts);
        TOggVorbis ogg;
        QVERIFY(ogg.ReadOggFile(path));
        if (!pythonWithMutagen().isEmpty()) {
            const QJsonObject mutagen = mutagenView(path);
            QCOMPARE(ogg.ChannelModeID(), mutagen["channels"].toInt());
            QCOMPARE(ogg.SampleRate(), mutagen["rate"].toInt());
            QVERIFY(qAbs(ogg.Duration() - mutagen["length"].toDouble()) < 0.01);
            QCOMPARE(ourComments(ogg), mutagen["tags"].toArray());
        }
        if (QStandardPaths::findExecutable("ffprobe").isEmpty())
            QSKIP("ffprobe is not installed");
        const QJsonObject probe =
            QJsonDocument::fromJson(
                run("ffprobe",
                    {"-v", "quiet", "-select_streams", "a:0", "-show_entries",
                     "stream=channels,sample_rate:format=duration", "-of", "json", path}))
                .object();
        const QJsonArray streams = probe["streams"].toArray();
        QCOMPARE(!streams.isEmpty(), ffprobeAccepts);
        if (ffprobeAccepts) {
            QCOMPARE(ogg.ChannelModeID(), streams.first()["channels"].toInt());
            QCOMPARE(ogg.SampleRate(), streams.first()["sample_rate"].toString().toInt());
            QVERIFY(qAbs(ogg.Duration() -
                         probe["format"].toObject()["duration"].toString().toDouble()) < 1);
        }
        if (pythonWithMutagen().isEmpty())
            QSKIP("python3 with mutagen is not installed");
    }

    void editRules_data() {
        QTest::addColumn<QList<QByteArray>>("stored");
        QTest::addColumn<QStringList>("edits"); // "Property=value", or "clear"
        QTest::addColumn<QList<QByteArray>>("expected");
        using L = QList<QByteArray>;
        QTest::newRow("subtitle without title")
            << L{} << QStringList{"SubTitle=S"} << L{"TITLE=", "TITLE=S"};
        QTest::newRow("cleared title keeps its place")
            << L{"TITLE=a", "TITLE=b"} << QStringList{"Title="} << L{"TITLE=", "TITLE=b"};
        QTest::newRow("trailing blanks go")
            << L{"TITLE=", "TITLE=b"} << QStringList{"SubTitle="} << L{};
        QTest::newRow("stored name case kept")
            << L{"artist=x"} << QStringList{"Artist=y"} << L{"artist=y"};
        QTest::newRow("new entry joins its group")
            << L{"TITLE=a", "GENRE=g"} << QStringList{"Content=c"}
            << L{"TITLE=a", "TITLE=", "TITLE=c", "GENRE=g"};
        QTest::newRow("comment written where it came from")
            << L{"DESCRIPTION=d"} << QStringList{"Comment=e"} << L{"DESCRIPTION=e"};
        QTest::newRow("cleared comment does not uncover DESCRIPTION")
            << L{"COMMENT=c", "DESCRIPTION=d"} << QStringList{"Comment="}
            << L{"COMMENT=", "DESCRIPTION=d"};
        QTest::newRow("cleared DESCRIPTION goes")
            << L{"DESCRIPTION=d"} << QStringList{"Comment="} << L{};
        QTest::newRow("fourth TITLE keeps its place")
            << L{"TITLE=a", "TITLE=b", "TITLE=c", "TITLE=d"}
            << QStringList{"Title=", "SubTitle=", "Content="}
            << L{"TITLE=", "TITLE=", "TITLE=", "TITLE=d"};
        QTest::newRow("second GENRE kept")
            << L{"GENRE=a", "GENRE=b"} << QStringList{"Genre="} << L{"GENRE=", "GENRE=b"};
        QTest::newRow("same value leaves stored bytes")
            << L{"TITLE= a "} << QStringList{"Title=a"} << L{"TITLE= a "};
        QTest::newRow("value trimmed") << L{} << QStringList{"Genre= Pop "} << L{"GENRE=Pop"};
        QTest::newRow("vendor is read-only") << L{} << QStringList{"Vendor=x"} << L{};
        QTest::newRow("remove tag keeps unmapped comments")
            << L{"TITLE=a", "REPLAYGAIN_TRACK_GAIN=-1 dB", "description=d", "ARTIST=b"}
            << QStringList{"clear"} << L{"REPLAYGAIN_TRACK_GAIN=-1 dB"};
    }
    void editRules() {
        QFETCH(QList<QByteArray>, stored);
        QFETCH(QStringList, edits);
        VorbisComments comments;
        QVERIFY(comments.parse(commentPacket(stored, quint32(stored.size()))));
        for (const QString& edit : edits) {
            if (edit == "clear")
                comments.clearFields();
            else
                comments.setField(edit.section('=', 0, 0), edit.section('=', 1));
        }
        QList<QByteArray> result;
        for (const VorbisComment& comment : comments.comments())
            result.append(comment.raw);
        QTEST(result, "expected");
        QCOMPARE(comments.vendor(), QStringLiteral("test"));
    }

    void blankGroupEntriesDroppedWithoutKeepEmptyFields() {
        VorbisComments comments;
        QVERIFY(comments.parse(commentPacket({"TITLE=", "TITLE=b", "FOO="}, 3)));
        VorbisComments written;
        QVERIFY(written.parse(comments.toPacket(false)));
        QCOMPARE(written.comments().size(), 2);
        QCOMPARE(written.field("Title"), QStringLiteral("b"));
        QVERIFY(written.parse(comments.toPacket(true)));
        QCOMPARE(written, comments);
    }

    void damagedCommentHeader_data() {
        QTest::addColumn<QByteArray>("packet");
        const QByteArray good = commentPacket({"TITLE=a"}, 1);
        QTest::newRow("count beyond the packet") << commentPacket({"TITLE=a"}, 0x40000000);
        QTest::newRow("length beyond the packet") << good.left(good.size() - 3);
        QTest::newRow("vendor beyond the packet") << good.left(12);
        QTest::newRow("not a comment header") << QByteArray("\x05vorbis", 7) + good.mid(7);
    }
    void damagedCommentHeader() {
        QFETCH(QByteArray, packet);
        VorbisComments comments;
        QVERIFY(!comments.parse(packet));
        QVERIFY(comments.comments().isEmpty());
    }

    void trackNumber() {
        TOggVorbis ogg;
        ogg.setTrack(300);
        QCOMPARE(ogg.field("TrackString"), QStringLiteral("300"));
        ogg.setField("TrackString", "a07b/9");
        QCOMPARE(ogg.Track(), 7);
        ogg.setTrack(0);
        QCOMPARE(ogg.field("TrackString"), QString());
        QVERIFY(ogg.comments().comments().isEmpty());
    }

    void saveKeepsEverythingElse_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("edit");
        QTest::newRow("Unicode values") << kData + "tagged.ogg"
                                        << "unicode";
        QTest::newRow("ID3v2 in front") << kData + "id3v2.ogg"
                                        << "unicode";
        QTest::newRow("comment grows over pages") << kData + "tagged.ogg"
                                                  << "large";
        QTest::newRow("remove tag") << kData + "tagged.ogg"
                                    << "clear";
        QTest::newRow("setup split over pages") << kPeers + "mutagen/multipage-setup.ogg"
                                                << "unicode";
        QTest::newRow("comment over 34 pages") << kPeers + "mutagen/multipagecomment.ogg"
                                               << "unicode";
        QTest::newRow("comment shrinks back") << kData + "tagged.ogg"
                                              << "shrink";
        QTest::newRow("Vorbis after Theora") << kPeers + "taglib/multiplex.ogg"
                                             << "large";
        QTest::newRow("bad comment checksum") << kPeers + "taglib/lowercase-fields.ogg"
                                              << "unicode";
        QTest::newRow("vendor only") << kData + "plain.ogg"
                                     << "unicode";
    }
    void saveKeepsEverythingElse() {
        QFETCH(QString, path);
        QFETCH(QString, edit);
        QTemporaryDir dir;
        const QString copy = dir.filePath("copy.ogg");
        QVERIFY(QFile::copy(path, copy));
        const QByteArray before = readFile(copy);

        TOggVorbis ogg;
        QVERIFY(ogg.ReadOggFile(copy));
        const qint64 id3Size = ogg.ID3v2Size();
        TOggVorbis original = ogg;
        if (edit == "unicode") {
            ogg.setField("Title", QString::fromUtf8("Café Déjà vu"));
            ogg.setField("Artist", QString::fromUtf8("Кино"));
            ogg.setField("Album", QString::fromUtf8("東京事変 教育"));
            ogg.setField("Comment", QString::fromUtf8("🎵 emoji 👍"));
            ogg.setField("OriginalYear", "1999");
        } else if (edit == "large") {
            ogg.setField("Lyrics", QString(300000, QChar(0x3042)));
        } else if (edit == "shrink") {
            ogg.setField("Lyrics", QString(300000, QChar(0x3042)));
            QVERIFY(ogg.WriteOggFile(copy));
            ogg.setField("Lyrics", QString());
            ogg.setField("Title", "short");
        } else {
            ogg.clearFields();
        }
        QVERIFY(!(ogg == original));
        const Status status = ogg.WriteOggFile(copy);
        QVERIFY2(status, qPrintable(status.message()));

        TOggVorbis reread;
        QVERIFY(reread.ReadOggFile(copy));
        QCOMPARE(reread.comments(), ogg.comments());
        QCOMPARE(reread.Duration(), original.Duration());
        QCOMPARE(reread.field("Vendor"), original.field("Vendor"));

        const QByteArray after = readFile(copy);
        QCOMPARE(after.left(id3Size), before.left(id3Size));
        auto oldPackets = packetsByStream(before, id3Size);
        auto newPackets = packetsByStream(after, id3Size);
        QCOMPARE(newPackets.keys(), oldPackets.keys());
        for (quint32 serial : oldPackets.keys()) {
            if (oldPackets[serial].value(0).startsWith("\x01vorbis")) {
                oldPackets[serial].removeAt(1); // the comment header, the only change
                newPackets[serial].removeAt(1);
            }
            QVERIFY2(newPackets[serial] == oldPackets[serial], qPrintable(QString::number(serial)));
        }

        const QString oggOnly = dir.filePath("ogg-only.ogg");
        QVERIFY(writeFile(oggOnly, after.mid(id3Size)));
        if (!pythonWithMutagen().isEmpty())
            QCOMPARE(mutagenView(oggOnly)["tags"].toArray(), ourComments(ogg));
        if (!QStandardPaths::findExecutable("ogginfo").isEmpty()) {
            int exitCode = -1;
            const QByteArray report = run("ogginfo", {oggOnly}, &exitCode);
            QVERIFY2(exitCode == 0 && !report.contains("WARNING") && !report.contains("ERROR"),
                     report.constData());
        }
        if (QStandardPaths::findExecutable("ffmpeg").isEmpty())
            QSKIP("ffmpeg is not installed");
        const QString oldOggOnly = dir.filePath("old-ogg-only.ogg");
        QVERIFY(writeFile(oldOggOnly, before.mid(id3Size)));
        const auto audioMd5 = [](const QString& file) {
            return run("ffmpeg",
                       {"-v", "quiet", "-i", file, "-map", "0:a", "-c", "copy", "-f", "md5", "-"});
        };
        const QByteArray oldMd5 = audioMd5(oldOggOnly); // empty when ffmpeg rejects a damaged page
        QVERIFY(audioMd5(oggOnly).startsWith("MD5="));
        if (!oldMd5.isEmpty())
            QCOMPARE(audioMd5(oggOnly), oldMd5);
    }

    void refusesUnsafeFiles_data() {
        QTest::addColumn<QList<QList<QByteArray>>>("pages"); // packets of each page
        QTest::addColumn<int>("error");
        const QByteArray id = identificationPacket();
        const QByteArray comment = commentPacket({"TITLE=t"}, 1);
        const QByteArray setup("\x05vorbis setup", 13);
        QTest::newRow("audio shares the setup page")
            << QList<QList<QByteArray>>{{id}, {comment, setup, "audio"}}
            << int(ErrorCode::Unsupported);
        QTest::newRow("comment on the first page")
            << QList<QList<QByteArray>>{{id, comment}, {setup}, {"audio"}}
            << int(ErrorCode::Unsupported);
        QTest::newRow("damaged comment header")
            << QList<QList<QByteArray>>{{id}, {commentPacket({"TITLE=t"}, 9), setup}, {"audio"}}
            << int(ErrorCode::InvalidData);
    }
    void refusesUnsafeFiles() {
        QFETCH(QList<QList<QByteArray>>, pages);
        QByteArray bytes;
        for (qsizetype i = 0; i < pages.size(); ++i) {
            OggPage page = OggPage::paginate(pages[i], 1, 1, quint32(i), 0).front();
            page.flags |= i == 0 ? OggPage::FirstOfStream : 0;
            bytes += page.render();
        }
        QTemporaryDir dir;
        const QString path = dir.filePath("made.ogg");
        QVERIFY(writeFile(path, bytes));
        TOggVorbis ogg;
        QVERIFY(ogg.ReadOggFile(path));
        QCOMPARE(ogg.SampleRate(), 8000);
        ogg.setField("Title", "new");
        const Status status = ogg.WriteOggFile(path);
        QVERIFY(!status);
        QTEST(int(status.code()), "error");
        QCOMPARE(readFile(path), bytes);
    }

    void notOggVorbis_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("zeros") << QByteArray(256, '\0');
        QTest::newRow("page without Vorbis")
            << OggPage::paginate({"\x80theora"}, 1, 1, 0, 0).front().render();
        QTest::newRow("ID3v2 larger than the file")
            << QByteArray("ID3\x03\0\0\x7f\x7f\x7f\x7f", 10);
    }
    void notOggVorbis() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath("bad.ogg");
        QVERIFY(writeFile(path, bytes));
        TOggVorbis ogg;
        const Status status = ogg.ReadOggFile(path);
        QCOMPARE(status.code(), ErrorCode::InvalidData);
        QVERIFY(status.message().contains(path));
        QCOMPARE(ogg.ChannelModeID(), 0);
        QVERIFY(!ogg.WriteOggFile(path));
        QCOMPARE(readFile(path), bytes);
    }
};

QTEST_GUILESS_MAIN(TestOggVorbis)
#include "tst_oggvorbis.moc"
