#include "mpegstream.h"

#include "fileio.h"

#include <QIODevice>
#include <cmath>
#include <optional>

namespace tags::mpeg {

namespace {

constexpr qint64 kBlockSize = 64 * 1024;
constexpr int kSampledFrames = 15;

// kbit/s by [MPEG-1 ? 0 : 1][layer - 1][index]
constexpr int kBitRates[2][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}}};

// Hz by [version bits][sample rate index]
constexpr int kSampleRates[4][4] = {
    {11025, 12000, 8000, 0}, {0, 0, 0, 0}, {22050, 24000, 16000, 0}, {44100, 48000, 32000, 0}};

quint32 bigEndian32(const uchar* p) {
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | p[3];
}

/// A window over the device so that frame walks do not cost a system call per header.
class BlockReader {
public:
    BlockReader(QIODevice& device, qint64 end) : m_device(device), m_end(end) {}

    /// `n` bytes at `pos`, or nullptr when fewer than `n` remain before the end.
    const uchar* at(qint64 pos, int n) {
        if (pos < 0 || n <= 0 || pos + n > m_end)
            return nullptr;
        if (m_start < 0 || pos < m_start || pos + n > m_start + m_block.size()) {
            m_block = readAt(m_device, pos, qMin(qMax<qint64>(kBlockSize, n), m_end - pos));
            m_start = pos;
            if (m_block.size() < n)
                return nullptr;
        }
        return reinterpret_cast<const uchar*>(m_block.constData()) + (pos - m_start);
    }
    qint64 end() const { return m_end; }

private:
    QIODevice& m_device;
    qint64 m_end;
    qint64 m_start = -1;
    QByteArray m_block;
};

bool isSimpleSync(const uchar* b) {
    return b[0] == 0xFF && b[1] >= 0xE0 && b[1] != 0xFF;
}

bool isValidSync(const uchar* b) {
    return isSimpleSync(b) && FrameHeader::fromBytes(b).isValid();
}

template <typename Predicate>
qint64 findSyncIf(BlockReader& reader, qint64 start, Predicate accept) {
    for (qint64 pos = qMax<qint64>(start, 0);; ++pos) {
        const uchar* b = reader.at(pos, 4);
        if (!b)
            return -1;
        if (b[0] == 0xFF && accept(b))
            return pos;
    }
}

std::optional<FrameHeader> headerAt(BlockReader& reader, qint64 pos) {
    const uchar* b = reader.at(pos, 4);
    if (!b || !isValidSync(b))
        return std::nullopt;
    return FrameHeader::fromBytes(b);
}

qint64 findMatchingFrame(BlockReader& reader, qint64 from, const FrameHeader& reference) {
    return findSyncIf(reader, from, [&](const uchar* b) {
        return isValidSync(b) && FrameHeader::fromBytes(b).sameStream(reference);
    });
}

/// The frame that follows the one at `pos`: right behind it when a matching header is
/// there, otherwise the next matching header further on (junk or a damaged frame).
qint64 nextFrame(BlockReader& reader, qint64 pos, const FrameHeader& current,
                 const FrameHeader& reference) {
    const qint64 next = pos + qMax(current.frameLength(), 1);
    const auto header = headerAt(reader, next);
    if (header && header->sameStream(reference))
        return next;
    return findMatchingFrame(reader, pos + 1, reference);
}

/// A valid header counts as the first frame when a matching header follows it, or when it
/// is a last frame that ends exactly at the end of the audio: a lone sync pattern in a tag
/// or in junk is not a stream.
qint64 findFirstFrame(BlockReader& reader, qint64 start) {
    for (qint64 pos = start;; ++pos) {
        pos = findSyncIf(reader, pos, isValidSync);
        if (pos < 0)
            return -1;
        const FrameHeader header = FrameHeader::fromBytes(reader.at(pos, 4));
        const qint64 next = pos + header.frameLength();
        if (next == reader.end())
            return pos;
        const auto following = headerAt(reader, next);
        if (following && following->sameStream(header))
            return pos;
    }
}

void setDuration(StreamInfo& info, const FrameHeader& header, qint64 frames) {
    info.frames = frames;
    info.duration = double(frames) * header.samplesPerFrame() / header.sampleRate();
    info.timeLength = int(std::nearbyint(info.duration));
}

int bitRateOf(qint64 bytes, double seconds) {
    return seconds > 0 ? int(std::lround(bytes * 8.0 / seconds / 1000.0)) : 0;
}

/// Xing (VBR) or Info (CBR, written by LAME) header in the first frame.
bool readXingHeader(BlockReader& reader, const FrameHeader& header, StreamInfo& info,
                    qint64 audioEnd) {
    const uchar* b = reader.at(info.offs + header.xingOffset(), 16);
    if (!b)
        return false;
    const QByteArrayView tag(reinterpret_cast<const char*>(b), 4);
    if (tag != "Xing" && tag != "Info")
        return false;
    const quint32 flags = bigEndian32(b + 4);
    if (!(flags & 1) || bigEndian32(b + 8) == 0)
        return false; // no frame count: nothing to derive a duration from
    const qint64 bytes = (flags & 2) ? bigEndian32(b + 12) : audioEnd - info.offs;
    setDuration(info, header, bigEndian32(b + 8));
    info.vbr = tag == "Xing";
    info.bitRate = info.vbr ? bitRateOf(bytes, info.duration) : header.bitRate();
    return true;
}

/// The VBRI header Fraunhofer encoders write 32 bytes behind the header.
bool readVbriHeader(BlockReader& reader, const FrameHeader& header, StreamInfo& info) {
    const uchar* b = reader.at(info.offs + 36, 18);
    if (!b || QByteArrayView(reinterpret_cast<const char*>(b), 4) != "VBRI")
        return false;
    const quint32 frames = bigEndian32(b + 14);
    if (frames == 0)
        return false;
    setDuration(info, header, frames);
    info.vbr = true;
    info.bitRate = bitRateOf(bigEndian32(b + 10), info.duration);
    return true;
}

bool sampleRunDiffers(BlockReader& reader, qint64 pos, const FrameHeader& first) {
    for (int i = 0; i < kSampledFrames && pos >= 0; ++i) {
        const FrameHeader header = FrameHeader::fromBytes(reader.at(pos, 4));
        if (header.bitRate() != first.bitRate())
            return true;
        pos = nextFrame(reader, pos, header, first);
    }
    return false;
}

/// Compares the bit rates of frames at the start and from the middle of the stream.
bool detectVbr(BlockReader& reader, qint64 first, const FrameHeader& header) {
    if (sampleRunDiffers(reader, first, header))
        return true;
    const qint64 middle = findMatchingFrame(reader, first + (reader.end() - first) / 2, header);
    return middle >= 0 && sampleRunDiffers(reader, middle, header);
}

void scanAllFrames(BlockReader& reader, const FrameHeader& first, StreamInfo& info) {
    qint64 count = 0;
    qint64 bitRateSum = 0;
    for (qint64 pos = info.offs; pos >= 0;) {
        const FrameHeader header = FrameHeader::fromBytes(reader.at(pos, 4));
        ++count;
        bitRateSum += header.bitRate();
        pos = nextFrame(reader, pos, header, first);
    }
    info.vbr = true;
    info.bitRate = int(std::nearbyint(double(bitRateSum) / double(count)));
    setDuration(info, first, count);
}

void constantBitRate(const FrameHeader& header, qint64 audioBytes, StreamInfo& info) {
    info.vbr = false;
    info.bitRate = header.bitRate();
    const double frameBytes =
        header.samplesPerFrame() / 8.0 * header.bitRate() * 1000.0 / header.sampleRate();
    info.frames = qint64(std::nearbyint(audioBytes / frameBytes));
    info.duration = audioBytes * 8.0 / (header.bitRate() * 1000.0);
    info.timeLength = int(info.duration);
}

} // namespace

FrameHeader FrameHeader::fromBytes(const uchar* bytes) {
    return FrameHeader{bigEndian32(bytes)};
}

int FrameHeader::layer() const {
    const int bits = (value >> 17) & 3;
    return bits ? 4 - bits : 0;
}

bool FrameHeader::isValid() const {
    return (value >> 21) == 0x7FF && versionBits() != 1 && layer() != 0 && bitRateIndex() != 0 &&
           bitRateIndex() != 15 && sampleRateIndex() != 3;
}

int FrameHeader::bitRate() const {
    if (layer() == 0 || versionBits() == 1)
        return 0;
    return kBitRates[versionBits() == 3 ? 0 : 1][layer() - 1][bitRateIndex()];
}

int FrameHeader::sampleRate() const {
    return kSampleRates[versionBits()][sampleRateIndex()];
}

int FrameHeader::samplesPerFrame() const {
    switch (layer()) {
    case 1:
        return 384;
    case 3:
        return versionBits() == 3 ? 1152 : 576;
    default:
        return 1152;
    }
}

int FrameHeader::frameLength() const {
    if (!isValid())
        return 0;
    const int rate = bitRate() * 1000;
    if (layer() == 1)
        return (12 * rate / sampleRate() + int(padding())) * 4;
    return samplesPerFrame() / 8 * rate / sampleRate() + int(padding());
}

int FrameHeader::xingOffset() const {
    const bool mono = channelMode() == 3;
    if (versionBits() == 3)
        return mono ? 21 : 36;
    return mono ? 13 : 21;
}

bool FrameHeader::sameStream(const FrameHeader& other) const {
    return versionBits() == other.versionBits() && layer() == other.layer() &&
           sampleRateIndex() == other.sampleRateIndex() &&
           (channelMode() == 3) == (other.channelMode() == 3);
}

qint64 FindSync(QIODevice& device, qint64 start) {
    BlockReader reader(device, device.size());
    return findSyncIf(reader, start, isSimpleSync);
}

qint64 FindValidSync(QIODevice& device, qint64 start) {
    BlockReader reader(device, device.size());
    return findSyncIf(reader, start, isValidSync);
}

StreamInfo analyse(QIODevice& device, qint64 start, qint64 audioEnd, const StreamOptions& options) {
    StreamInfo info;
    BlockReader reader(device, qMin(audioEnd, device.size()));
    info.offs = findFirstFrame(reader, start);
    if (info.offs < 0)
        return info;
    const uchar* bytes = reader.at(info.offs, 4);
    const FrameHeader header = FrameHeader::fromBytes(bytes);
    info.header = quint32(bytes[0]) | (quint32(bytes[1]) << 8) | (quint32(bytes[2]) << 16) |
                  (quint32(bytes[3]) << 24);
    info.mpegVersion = header.versionBits();
    info.layerVersion = header.layer();
    info.sampleRate = header.sampleRate();
    info.stereoMode = header.channelMode();
    info.privateBit = header.privateBit();
    info.copyright = header.copyright();
    info.original = header.original();

    if (readXingHeader(reader, header, info, reader.end()) || readVbriHeader(reader, header, info))
        return info;
    if (options.sampleFrames && detectVbr(reader, info.offs, header))
        scanAllFrames(reader, header, info);
    else
        constantBitRate(header, reader.end() - info.offs, info);
    return info;
}

} // namespace tags::mpeg
