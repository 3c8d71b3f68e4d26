#include "tags/wav.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QtEndian>

using namespace tags;

namespace {

const QString kData = QStringLiteral(VARLO_TEST_DATA "/wav/");
const QString kPeers = QStringLiteral(VARLO_PEER_DATA "/");

QByteArray le(quint32 value, int bytes) {
    QByteArray out(4, '\0');
    qToLittleEndian(value, out.data());
    return out.left(bytes);
}

QByteArray chunk(const QByteArray& id, const QByteArray& body, quint32 declared = 0) {
    const QByteArray pad = body.size() % 2 ? QByteArray(1, '\0') : QByteArray();
    return id + le(declared ? declared : quint32(body.size()), 4) + body + pad;
}

/// A fmt body: PCM, 8000 Hz, 16-bit stereo, with the byte rate given.
QByteArray pcmFormat(quint32 byteRate = 32000, int size = 16) {
    const QByteArray body =
        le(1, 2) + le(2, 2) + le(8000, 4) + le(byteRate, 4) + le(4, 2) + le(16, 2);
    return body.left(size);
}

QByteArray riff(const QByteArray& chunks, const QByteArray& magic = "RIFF") {
    return magic + le(quint32(chunks.size() + 4), 4) + "WAVE" + chunks;
}

/// Runs a tool and returns its standard output, empty when it could not run.
QByteArray run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return process.exitCode() == 0 ? process.readAllStandardOutput() : QByteArray();
}

/// A Python interpreter that can import mutagen, or empty.
QString pythonWithMutagen() {
    for (const QString& candidate : {QStandardPaths::findExecutable(QStringLiteral("python3")),
                                     QStringLiteral("/usr/bin/python3")})
        if (!candidate.isEmpty() &&
            !run(candidate, {QStringLiteral("-c"), QStringLiteral("import mutagen.wave; print(1)")})
                 .isEmpty())
            return candidate;
    return {};
}

const char* const kMutagenInfo = R"(
import json, sys
from mutagen.wave import WAVE
try:
    info = WAVE(sys.argv[1]).info
except Exception:
    print("null"); sys.exit()
print(json.dumps({"channels": info.channels, "rate": info.sample_rate,
                  "bits": info.bits_per_sample, "length": info.length}))
)";

TWav readFile(const QString& path) {
    TWav wav;
    const Status status = wav.ReadWavFile(path);
    if (!status)
        qWarning("%s", qPrintable(status.message()));
    return wav;
}

} // namespace

class TestWav : public QObject {
    Q_OBJECT

    /// Files whose header we read, shared by the comparisons with other readers.
    void readableFiles() {
        QTest::addColumn<QString>("path");
        for (const char* name : {"pcm16-stereo-list.wav", "pcm24-extensible.wav",
                                 "float32-fact.wav", "rf64.wav", "alaw.wav"})
            QTest::newRow(name) << kData + name;
        for (const char* name :
             {"mutagen/silence-2s-PCM-16000-08-ID3v23.wav",
              "mutagen/silence-2s-PCM-44100-16-ID3v23.wav", "taglib/alaw.wav", "taglib/float64.wav",
              "taglib/uint8we.wav", "taglib/infloop.wav", "taglib/pcm_with_fact_chunk.wav",
              "taglib/rf64.wav", "taglib/zero-size-chunk.wav", "taglib/duplicate_tags.wav",
              "taglib/empty.wav"})
            QTest::newRow(name) << kPeers + name;
    }

private slots:
    void readsFiles_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("formatTag");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("sampleRate");
        QTest::addColumn<int>("bits");
        QTest::addColumn<qint64>("durationMs");
        const auto row = [](const char* name, const QString& path, bool ok, int format,
                            int channels, int rate, int bits, qint64 ms) {
            QTest::newRow(name) << path << ok << format << channels << rate << bits << ms;
        };
        row("LIST before data", kData + "pcm16-stereo-list.wav", true, 1, 2, 8000, 16, 200);
        row("extensible, PCM subformat", kData + "pcm24-extensible.wav", true, 1, 1, 8000, 24, 200);
        row("float with fact", kData + "float32-fact.wav", true, 3, 1, 8000, 32, 200);
        row("RF64", kData + "rf64.wav", true, 1, 1, 8000, 16, 200);
        row("A-law", kData + "alaw.wav", true, 6, 1, 8000, 8, 500);
        row("ID3 chunk after LIST", kPeers + "mutagen/silence-2s-PCM-16000-08-ID3v23.wav", true, 1,
            2, 16000, 8, 2000);
        row("peer A-law", kPeers + "taglib/alaw.wav", true, 6, 2, 8000, 8, 3550);
        row("peer float64", kPeers + "taglib/float64.wav", true, 3, 2, 44100, 64, 97);
        row("peer extensible", kPeers + "taglib/uint8we.wav", true, 1, 2, 8000, 8, 2936);
        row("odd data without pad", kPeers + "taglib/infloop.wav", true, 1, 1, 11025, 8, 1277);
        row("garbage fact after data", kPeers + "taglib/pcm_with_fact_chunk.wav", true, 1, 2, 1000,
            16, 3675);
        row("peer RF64", kPeers + "taglib/rf64.wav", true, 1, 2, 48000, 16, 50);
        row("zero-size chunks", kPeers + "taglib/zero-size-chunk.wav", true, 1, 2, 44100, 16, 0);
        row("no fmt chunk", kPeers + "taglib/invalid-chunk.wav", false, 0, 0, 0, 0, 0);
        row("truncated fmt chunk", kPeers + "taglib/segfault.wav", false, 0, 0, 0, 0, 0);
    }
    void readsFiles() {
        QFETCH(QString, path);
        QFETCH(bool, ok);
        QFETCH(int, formatTag);
        QFETCH(int, channels);
        QFETCH(int, sampleRate);
        QFETCH(int, bits);
        QFETCH(qint64, durationMs);
        TWav wav;
        QCOMPARE(wav.ReadWavFile(path).ok(), ok);
        QCOMPARE(wav.formatTag, formatTag);
        QCOMPARE(wav.channels, channels);
        QCOMPARE(wav.sampleRate, sampleRate);
        QCOMPARE(wav.bitsPerSample, bits);
        QCOMPARE(wav.durationMs(), durationMs);
        QCOMPARE(wav.timeLength(), durationMs / 1000);
        QCOMPARE(wav.fileSize, QFileInfo(path).size());
        QVERIFY(wav.dataPosition + wav.dataSize <= wav.fileSize);
    }

    void headerLayouts_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("dataSize");
        QTest::addColumn<int>("byteRate");
        const QByteArray fmt = chunk("fmt ", pcmFormat());
        const QByteArray samples(100, 's');
        const QByteArray data = chunk("data", samples);
        QTest::newRow("odd chunk padded")
            << riff(fmt + chunk("junk", "abc") + data) << true << 100LL << 32000;
        QTest::newRow("chunk before fmt")
            << riff(chunk("LIST", "INFO") + fmt + data) << true << 100LL << 32000;
        QTest::newRow("data before fmt") << riff(data + fmt) << true << 100LL << 32000;
        QTest::newRow("data size placeholder")
            << riff(fmt + chunk("data", samples, 0xFFFFFFFF)) << true << 100LL << 32000;
        QTest::newRow("cut file") << riff(fmt + chunk("data", samples, 1000)) << true << 100LL
                                  << 32000;
        QTest::newRow("byte rate 0 derived")
            << riff(chunk("fmt ", pcmFormat(0)) + data) << true << 100LL << 32000;
        QTest::newRow("fmt too short")
            << riff(chunk("fmt ", pcmFormat(32000, 14)) + data) << false << 0LL << 0;
        QTest::newRow("sample rate beyond int")
            << riff(chunk("fmt ", le(1, 2) + le(2, 2) + le(0xFFFFFFFF, 4) + le(4, 4) + le(4, 2) +
                                      le(16, 2)) +
                    data)
            << false << 0LL << 0;
        QTest::newRow("no data chunk") << riff(fmt) << false << 0LL << 0;
        QTest::newRow("big-endian RIFX") << riff(fmt + data, "RIFX") << false << 0LL << 0;
        QTest::newRow("empty") << QByteArray() << false << 0LL << 0;
    }
    void headerLayouts() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(qint64, dataSize);
        QFETCH(int, byteRate);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        TWav wav;
        const Status status = wav.read(buffer);
        QCOMPARE(status.ok(), ok);
        if (!ok)
            QCOMPARE(status.code(), ErrorCode::InvalidData);
        QCOMPARE(wav.dataSize, dataSize);
        QCOMPARE(wav.byteRate, byteRate);
        QCOMPARE(wav.fileSize, qint64(bytes.size()));
    }

    void tenSecondsOfCdAudio() {
        QByteArray bytes = riff(chunk("fmt ", le(1, 2) + le(2, 2) + le(44100, 4) + le(176400, 4) +
                                                  le(4, 2) + le(16, 2)) +
                                chunk("data", QByteArray(1764000, '\0')));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        TWav wav;
        QVERIFY(wav.read(buffer).ok());
        QCOMPARE(wav.dataSize, 1764000);
        QCOMPARE(wav.timeLength(), 10);
        QCOMPARE(wav.dataPosition, 44);
    }

    void missingFile() {
        TWav wav;
        QCOMPARE(wav.ReadWavFile(QStringLiteral("/nonexistent.wav")).code(), ErrorCode::NotFound);
    }

    void agreesWithMutagen_data() { readableFiles(); }
    void agreesWithMutagen() {
        QFETCH(QString, path);
        const QString python = pythonWithMutagen();
        if (python.isEmpty())
            QSKIP("python3 with mutagen is not installed");
        const QJsonDocument theirs = QJsonDocument::fromJson(
            run(python, {QStringLiteral("-c"), QString::fromUtf8(kMutagenInfo), path}));
        if (theirs.isNull())
            QSKIP("mutagen does not read this file (RF64)");
        const TWav wav = readFile(path);
        QCOMPARE(wav.channels, theirs[QStringLiteral("channels")].toInt());
        QCOMPARE(wav.sampleRate, theirs[QStringLiteral("rate")].toInt());
        QCOMPARE(wav.bitsPerSample, theirs[QStringLiteral("bits")].toInt());
        QVERIFY(qAbs(wav.durationMs() / 1000.0 - theirs[QStringLiteral("length")].toDouble()) <
                0.01);
    }

    void agreesWithFfprobe_data() { readableFiles(); }
    void agreesWithFfprobe() {
        QFETCH(QString, path);
        const QString ffprobe = QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
        if (ffprobe.isEmpty())
            QSKIP("ffprobe is not installed");
        const QJsonDocument probe = QJsonDocument::fromJson(
            run(ffprobe, {"-v", "error", "-select_streams", "a:0", "-show_entries",
                          "stream=channels,sample_rate:format=duration", "-of", "json", path}));
        const QJsonObject stream = probe[QStringLiteral("streams")][0].toObject();
        const TWav wav = readFile(path);
        QCOMPARE(wav.channels, stream[QStringLiteral("channels")].toInt());
        QCOMPARE(wav.sampleRate, stream[QStringLiteral("sample_rate")].toString().toInt());
        const double seconds =
            probe[QStringLiteral("format")][QStringLiteral("duration")].toString().toDouble();
        QVERIFY(qAbs(wav.durationMs() / 1000.0 - seconds) < 1.0);
    }
};

QTEST_GUILESS_MAIN(TestWav)
#include "tst_wav.moc"
