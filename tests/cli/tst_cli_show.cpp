// Runs varlo-cli show as a user would and checks what it prints, against ffprobe where
// ffprobe is installed.
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QJsonArray showJson(const QStringList& paths, int* exitCode = nullptr) {
    const CliRun run = runCli(QStringList{"show", "--json"} + paths);
    if (exitCode)
        *exitCode = run.exitCode;
    return QJsonDocument::fromJson(run.out.toUtf8()).array();
}

struct Probe {
    int sampleRate = 0;
    int channels = 0;
    double duration = 0;
};

std::optional<Probe> ffprobe(const QString& path) {
    if (QStandardPaths::findExecutable(QStringLiteral("ffprobe")).isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(QStringLiteral("ffprobe"),
                  {"-v", "quiet", "-select_streams", "a:0", "-show_entries",
                   "stream=sample_rate,channels,duration", "-of", "json", path});
    process.waitForFinished(30000);
    const QJsonObject stream = QJsonDocument::fromJson(process.readAllStandardOutput())
                                   .object()["streams"]
                                   .toArray()
                                   .at(0)
                                   .toObject();
    if (stream.isEmpty())
        return std::nullopt;
    return Probe{stream["sample_rate"].toString().toInt(), stream["channels"].toInt(),
                 stream["duration"].toString().toDouble()};
}

QString fixture(const QString& name) {
    return QStringLiteral(VARLO_TEST_DATA "/mpeg/") + name;
}

} // namespace

class TestCliShow : public QObject {
    Q_OBJECT
private slots:
    void streamValues_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("mpegVersion");
        QTest::addColumn<int>("bitRate");
        QTest::addColumn<int>("sampleRate");
        QTest::addColumn<int>("stereoMode");
        QTest::addColumn<bool>("vbr");
        QTest::addColumn<int>("timeLength");
        const QString peers = QStringLiteral(VARLO_PEER_DATA);
        QTest::newRow("CBR 44.1k stereo")
            << fixture("cbr32-44k-stereo.mp3") << 3 << 32 << 44100 << 1 << false << 2;
        QTest::newRow("CBR 32k mono")
            << fixture("cbr32-32k-mono.mp3") << 3 << 32 << 32000 << 3 << false << 2;
        QTest::newRow("CBR 48k") << fixture("cbr48-48k-stereo.mp3") << 3 << 48 << 48000 << 1
                                 << false << 2;
        QTest::newRow("CBR without Info")
            << fixture("cbr32-noinfo.mp3") << 3 << 32 << 44100 << 1 << false << 2;
        QTest::newRow("VBR Xing") << fixture("vbr-xing-44k.mp3") << 3 << 34 << 44100 << 1 << true
                                  << 3;
        QTest::newRow("VBR without Xing")
            << fixture("vbr-noxing-44k.mp3") << 3 << 34 << 44100 << 1 << true << 3;
        QTest::newRow("MPEG-2") << fixture("mpeg2-22k-mono.mp3") << 2 << 16 << 22050 << 3 << false
                                << 2;
        QTest::newRow("MPEG-2.5") << fixture("mpeg25-11k-mono.mp3") << 0 << 8 << 11025 << 3 << false
                                  << 2;
        QTest::newRow("junk before audio")
            << fixture("junk-before-audio.mp3") << 3 << 32 << 44100 << 1 << false << 2;
        QTest::newRow("peer VBRI")
            << peers + "/mutagen/vbri.mp3" << 3 << 233 << 44100 << 0 << true << 222;
        QTest::newRow("peer MPEG-2.5 Xing")
            << peers + "/mutagen/silence-44-s-mpeg25.mp3" << 0 << 9 << 12000 << 1 << true << 4;
        QTest::newRow("peer mono no header")
            << peers + "/taglib/bladeenc.mp3" << 3 << 64 << 44100 << 3 << false << 3;
        QTest::newRow("peer two ID3v2 tags")
            << peers + "/taglib/duplicate_id3v2.mp3" << 3 << 128 << 44100 << 1 << false << 0;
        QTest::newRow("peer junk with sync bytes")
            << peers + "/taglib/invalid-frames2.mp3" << 3 << 192 << 44100 << 0 << false << 0;
    }
    void streamValues() {
        QFETCH(QString, path);
        VARLO_REQUIRE_FILE(path);
        const QJsonArray result = showJson({path});
        QCOMPARE(result.size(), 1);
        const QJsonObject stream = result[0]["stream"].toObject();
        QVERIFY2(!stream.isEmpty(), qPrintable(result[0]["error"].toString()));
        QTEST(stream["MpegVersion"].toInt(), "mpegVersion");
        QCOMPARE(stream["LayerVersion"].toInt(), 3);
        QTEST(stream["BitRate"].toInt(), "bitRate");
        QTEST(stream["SampleRate"].toInt(), "sampleRate");
        QTEST(stream["StereoMode"].toInt(), "stereoMode");
        QTEST(stream["VBR"].toBool(), "vbr");
        QTEST(stream["TimeLength"].toInt(), "timeLength");
    }

    void agreesWithFfprobe_data() {
        QTest::addColumn<QString>("path");
        for (const QFileInfo& info :
             QDir(QStringLiteral(VARLO_TEST_DATA "/mpeg")).entryInfoList({"*.mp3"}))
            QTest::newRow(qPrintable(info.fileName())) << info.absoluteFilePath();
        for (const char* peer : {"mutagen/silence-44-s.mp3", "mutagen/silence-44-s-mpeg2.mp3",
                                 "mutagen/vbri.mp3", "taglib/lame_vbr.mp3", "taglib/mpeg2.mp3",
                                 "taglib/toc_many_children.mp3", "taglib/bladeenc.mp3"})
            QTest::newRow(peer) << QStringLiteral(VARLO_PEER_DATA "/") + peer;
    }
    void agreesWithFfprobe() {
        QFETCH(QString, path);
        VARLO_REQUIRE_FILE(path);
        const auto probe = ffprobe(path);
        if (!probe)
            QSKIP("ffprobe is not installed or reads no stream");
        const QJsonObject stream = showJson({path}).at(0).toObject()["stream"].toObject();
        QCOMPARE(stream["SampleRate"].toInt(), probe->sampleRate);
        QCOMPARE(stream["StereoMode"].toInt() == 3 ? 1 : 2, probe->channels);
        QVERIFY2(qAbs(stream["TimeLength"].toInt() - probe->duration) <= 1.0,
                 qPrintable(QStringLiteral("%1 s, ffprobe %2 s")
                                .arg(stream["TimeLength"].toInt())
                                .arg(probe->duration)));
    }

    void tagsAndFields() {
        const QJsonObject file = showJson({fixture("tagged-v1v2.mp3")}).at(0).toObject();
        QCOMPARE(file["format"].toString(), QStringLiteral("MP3"));
        QCOMPARE(file["flags"]["Ver1"].toBool(), true);
        QCOMPARE(file["flags"]["Ver2"].toBool(), true);
        const QJsonObject fields = file["fields"].toObject();
        QCOMPARE(fields.size(), 42);
        QCOMPARE(fields["Title"].toString(), QStringLiteral("Title v2"));
        QCOMPARE(fields["Track"].toInt(), 7);
        QCOMPARE(fields["Genre"].toInt(), 17);
        QCOMPARE(fields["Comment"].toString(), QStringLiteral("A comment"));
        const QJsonObject v1 = showJson({"--tag-mode", "1", fixture("tagged-v1.mp3")})
                                   .at(0)
                                   .toObject()["fields"]
                                   .toObject();
        QCOMPARE(v1["Title"].toString(), QStringLiteral("Only v1"));
        QCOMPARE(v1["Genre"].toInt(), 8);
    }

    void unreadableFilesGiveErrorsAndTheRestIsPrinted() {
        QTemporaryDir dir;
        QFile(dir.filePath("empty.mp3")).open(QIODevice::WriteOnly);
        QFile random(dir.filePath("random.mp3"));
        random.open(QIODevice::WriteOnly);
        QRandomGenerator generator(7);
        QByteArray bytes(100000, '\0');
        for (char& c : bytes)
            c = char(generator.bounded(256));
        random.write(bytes);
        random.close();
        QFile truncated(dir.filePath("truncated.mp3"));
        QFile source(fixture("cbr32-44k-stereo.mp3"));
        QVERIFY(source.open(QIODevice::ReadOnly) && truncated.open(QIODevice::WriteOnly));
        truncated.write(source.read(3000));
        truncated.close();

        int exitCode = 0;
        const QJsonArray result =
            showJson({dir.filePath("empty.mp3"), dir.filePath("missing.mp3"),
                      dir.filePath("random.mp3"), dir.filePath("truncated.mp3")},
                     &exitCode);
        QCOMPARE(exitCode, 1);
        QCOMPARE(result.size(), 4);
        for (int i = 0; i < 3; ++i)
            QVERIFY2(!result[i]["error"].toString().isEmpty(),
                     qPrintable(result[i]["path"].toString()));
        QVERIFY(!result[3].toObject().contains("error"));
        QCOMPARE(result[3]["stream"]["SampleRate"].toInt(), 44100);
    }

    void foldersAreExpandedSortedAndRecursive() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("b/c"));
        for (const char* name : {"b/c/z.MP3", "a.mp3", "b/y.mp3", "notes.txt"})
            QVERIFY(QFile::copy(fixture("cbr32-44k-stereo.mp3"), dir.filePath(name)));
        int exitCode = -1;
        const QJsonArray result = showJson({dir.path()}, &exitCode);
        QCOMPARE(exitCode, 0);
        QStringList paths;
        for (const QJsonValue& v : result)
            paths << QDir(dir.path()).relativeFilePath(v["path"].toString());
        QCOMPARE(paths, (QStringList{"a.mp3", "b/c/z.MP3", "b/y.mp3"}));
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no command") << QStringList{};
        QTest::newRow("no path") << QStringList{"show"};
        QTest::newRow("bad tag mode") << QStringList{"show", "--tag-mode", "4", "x.mp3"};
        QTest::newRow("unknown option") << QStringList{"show", "--frobnicate", "x.mp3"};
    }
    void usageErrors() {
        QFETCH(QStringList, args);
        const CliRun run = runCli(args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(!run.err.isEmpty());
    }

    void readableListing() {
        const CliRun run = runCli({"show", fixture("tagged-v1v2.mp3")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("Title: Title v2"));
        QVERIFY(run.out.contains("SampleRate: 44100"));
    }
};

QTEST_GUILESS_MAIN(TestCliShow)
#include "tst_cli_show.moc"
