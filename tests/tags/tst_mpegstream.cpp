#include "tags/mpegstream.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

using namespace tags::mpeg;

namespace {

// Header words: MPEG-1 Layer III 44.1 kHz joint stereo at 128 and 160 kbit/s.
constexpr quint32 kMpeg1L3_128 = 0xFFFB9044;
constexpr quint32 kMpeg1L3_160 = 0xFFFBA044;

QByteArray frame(quint32 header) {
    const uchar bytes[4] = {uchar(header >> 24), uchar(header >> 16), uchar(header >> 8),
                            uchar(header)};
    const int length = FrameHeader::fromBytes(bytes).frameLength();
    QByteArray f(length, '\0');
    std::copy(bytes, bytes + 4, f.begin());
    return f;
}

QByteArray frames(quint32 header, int count) {
    return frame(header).repeated(count);
}

StreamInfo analyseBytes(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return analyse(buffer, 0, bytes.size(), StreamOptions{});
}

void putBigEndian(QByteArray& bytes, int offset, quint32 value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char(value >> (24 - 8 * i));
}

} // namespace

class TestMpegStream : public QObject {
    Q_OBJECT
private slots:
    void headerDecode_data() {
        QTest::addColumn<quint32>("header");
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("layer");
        QTest::addColumn<int>("bitRate");
        QTest::addColumn<int>("sampleRate");
        QTest::addColumn<int>("frameLength");
        QTest::addColumn<int>("xingOffset");
        QTest::newRow("MPEG-1 L3 128k 44.1k")
            << kMpeg1L3_128 << 3 << 3 << 128 << 44100 << 417 << 36;
        QTest::newRow("padded") << (kMpeg1L3_128 | 0x200) << 3 << 3 << 128 << 44100 << 418 << 36;
        QTest::newRow("MPEG-1 L3 mono 32k") << 0xFFFB98C4u << 3 << 3 << 128 << 32000 << 576 << 21;
        QTest::newRow("MPEG-2 L3 22.05k") << 0xFFF38044u << 2 << 3 << 64 << 22050 << 208 << 21;
        QTest::newRow("MPEG-2.5 L3 11.025k mono")
            << 0xFFE310C4u << 0 << 3 << 8 << 11025 << 52 << 13;
        QTest::newRow("MPEG-1 L2 48k") << 0xFFFD8400u << 3 << 2 << 128 << 48000 << 384 << 36;
        QTest::newRow("MPEG-1 L1 44.1k") << 0xFFFF9000u << 3 << 1 << 288 << 44100 << 312 << 36;
    }
    void headerDecode() {
        QFETCH(quint32, header);
        const FrameHeader h{header};
        QVERIFY(h.isValid());
        QTEST(h.versionBits(), "version");
        QTEST(h.layer(), "layer");
        QTEST(h.bitRate(), "bitRate");
        QTEST(h.sampleRate(), "sampleRate");
        QTEST(h.frameLength(), "frameLength");
        QTEST(h.xingOffset(), "xingOffset");
    }

    void freeFormatSyncIsSimpleButNotValid() {
        QBuffer buffer;
        buffer.setData(QByteArray("\x00\xFF\xF0\x00\x00\x00", 6));
        buffer.open(QIODevice::ReadOnly);
        QCOMPARE(FindSync(buffer, 0), 1);
        QCOMPARE(FindValidSync(buffer, 0), -1);
    }

    void cbrWithoutXingUsesAudioBytesOnly() {
        const QByteArray audio = frames(kMpeg1L3_128, 500);
        const StreamInfo info = analyseBytes(audio);
        QCOMPARE(info.offs, 0);
        QCOMPARE(info.bitRate, 128);
        QVERIFY(!info.vbr);
        QVERIFY(qAbs(info.frames - 500) <= 1); // estimated from the average frame size
        QCOMPARE(info.timeLength, int(500 * 1152 / 44100.0)); // 13 s
    }

    void xingHeaderGivesFramesAndAverage() {
        QByteArray audio = frames(kMpeg1L3_128, 20);
        audio.replace(36, 4, "Xing");
        putBigEndian(audio, 40, 3);       // frames and bytes present
        putBigEndian(audio, 44, 10000);   // frames
        putBigEndian(audio, 48, 4000000); // bytes
        const StreamInfo info = analyseBytes(audio);
        QVERIFY(info.vbr);
        QCOMPARE(info.frames, 10000);
        QCOMPARE(info.timeLength, 261); // 10000 x 1152 / 44100 = 261.2 s
        QCOMPARE(info.bitRate, 123);    // 4000000 x 8 / 261.2 s
    }

    void xingWithoutFrameCountIsIgnored() {
        QByteArray audio = frames(kMpeg1L3_128, 20);
        audio.replace(36, 4, "Xing");
        putBigEndian(audio, 40, 0x0F); // says it has frames, but the count is 0
        const StreamInfo info = analyseBytes(audio);
        QCOMPARE(info.bitRate, 128);
        QCOMPARE(info.frames, 20);
    }

    void bitRateChangeAfterTheMiddleMeansVbr() {
        // 15 equal frames at the start; the change comes a few frames after the middle.
        const QByteArray audio =
            frames(kMpeg1L3_128, 65) + frames(kMpeg1L3_160, 1) + frames(kMpeg1L3_128, 55);
        const StreamInfo info = analyseBytes(audio);
        QVERIFY(info.vbr);
        QCOMPARE(info.frames, 121);
        QCOMPARE(info.bitRate, 128); // (120 x 128 + 160) / 121, rounded
    }

    void falseSyncInJunkIsSkipped() {
        const QByteArray junk = QByteArray("\xFF\xFB\x90\x44junkjunk", 12) + QByteArray(100, 'x');
        const StreamInfo info = analyseBytes(junk + frames(kMpeg1L3_128, 10));
        QCOMPARE(info.offs, junk.size());
        QCOMPARE(info.frames, 10);
    }

    void mpeg25FramesAreCountedWithTheirOwnLength() {
        const StreamInfo info = analyseBytes(frames(0xFFE310C4u, 200));
        QCOMPARE(info.mpegVersion, 0);
        QCOMPARE(info.sampleRate, 11025);
        QVERIFY(qAbs(info.frames - 200) <= 1);
        QCOMPARE(info.timeLength, int(200 * 576 / 11025.0));
    }

    void garbageNeverHangsOrFindsAStream_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("all FF") << QByteArray(100000, '\xFF');
        QTest::newRow("lone header") << QByteArray("\xFF\xFB\x90\x44", 4);
        QByteArray random(200000, '\0');
        QRandomGenerator generator(42);
        for (char& c : random)
            c = char(generator.bounded(256));
        QTest::newRow("random") << random;
    }
    void garbageNeverHangsOrFindsAStream() {
        QFETCH(QByteArray, bytes);
        const StreamInfo info = analyseBytes(bytes);
        QCOMPARE(info.offs, -1);
        QCOMPARE(info.timeLength, 0);
    }

    void truncatedLastFrameStillCounts() {
        QByteArray audio = frames(kMpeg1L3_128, 50);
        audio.chop(200);
        const StreamInfo info = analyseBytes(audio);
        QCOMPARE(info.offs, 0);
        QCOMPARE(info.bitRate, 128);
    }
};

QTEST_GUILESS_MAIN(TestMpegStream)
#include "tst_mpegstream.moc"
