#include "oggpage.h"

#include "fileio.h"

#include <QIODevice>
#include <QtEndian>

#include <array>

namespace tags {

namespace {

constexpr QByteArrayView kCapturePattern("OggS");
constexpr int kStreamVersion = 0;
constexpr qsizetype kCrcOffset = 22;
constexpr qsizetype kSparePages = 2;
constexpr qint64 kSearchBlock = 64 << 10;
constexpr qint64 kMaxBackwardSearch = 16 << 20;

constexpr std::array<quint32, 256> makeCrcTable() {
    std::array<quint32, 256> table{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 r = i << 24;
        for (int bit = 0; bit < 8; ++bit)
            r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
        table[i] = r;
    }
    return table;
}

constexpr std::array<quint32, 256> kCrcTable = makeCrcTable();

quint32 crcUpdate(quint32 crc, QByteArrayView bytes) {
    for (char c : bytes)
        crc = (crc << 8) ^ kCrcTable[((crc >> 24) ^ quint8(c)) & 0xFF];
    return crc;
}

qint64 sumOfLacing(QByteArrayView lacing) {
    qint64 sum = 0;
    for (char value : lacing)
        sum += quint8(value);
    return sum;
}

/// The lacing values of one packet: a 255 for every full 255 bytes, then the remainder
/// (a 0 when the size is a multiple of 255, so the end of the packet is visible).
QByteArray lacingOf(qsizetype packetSize) {
    QByteArray lacing(packetSize / 255, char(255));
    lacing.append(char(packetSize % 255));
    return lacing;
}

/// A cheap look at a header before the whole page is read: the right stream, and a
/// granule position (pages on which no packet ends have none).
bool mayBeLastPage(QByteArrayView header, quint32 serial) {
    if (header.size() < OggPage::kHeaderSize)
        return true; // cut by the block end: let the full read decide
    const auto* raw = reinterpret_cast<const uchar*>(header.data());
    return qFromLittleEndian<quint32>(raw + 14) == serial &&
           qFromLittleEndian<qint64>(raw + 6) >= 0;
}

} // namespace

quint32 oggCrc(QByteArrayView bytes) {
    return crcUpdate(0, bytes);
}

std::optional<OggPage> OggPage::parse(QByteArrayView bytes) {
    if (bytes.size() < kHeaderSize || !bytes.startsWith(kCapturePattern) ||
        bytes[4] != kStreamVersion)
        return std::nullopt;
    const auto* raw = reinterpret_cast<const uchar*>(bytes.data());
    OggPage page;
    page.flags = raw[5];
    page.granule = qFromLittleEndian<qint64>(raw + 6);
    page.serial = qFromLittleEndian<quint32>(raw + 14);
    page.sequence = qFromLittleEndian<quint32>(raw + 18);
    page.storedCrc = qFromLittleEndian<quint32>(raw + kCrcOffset);
    const qsizetype segments = raw[26];
    if (bytes.size() < kHeaderSize + segments)
        return std::nullopt;
    page.lacing = bytes.sliced(kHeaderSize, segments).toByteArray();
    const qint64 bodySize = sumOfLacing(page.lacing);
    if (bytes.size() - kHeaderSize - segments < bodySize)
        return std::nullopt;
    page.body = bytes.sliced(kHeaderSize + segments, bodySize).toByteArray();
    return page;
}

std::optional<OggPage> OggPage::read(QIODevice& device, qint64 offset) {
    const QByteArray head = readAt(device, offset, kHeaderSize + kMaxSegments);
    if (head.size() < kHeaderSize || !head.startsWith(kCapturePattern))
        return std::nullopt;
    const qint64 segments = quint8(head[26]);
    if (head.size() < kHeaderSize + segments)
        return std::nullopt;
    const qint64 bodySize = sumOfLacing(QByteArrayView(head).sliced(kHeaderSize, segments));
    return parse(readAt(device, offset, kHeaderSize + segments + bodySize));
}

std::optional<OggPage> OggPage::findLast(QIODevice& device, quint32 serial, qint64 notBefore) {
    const qint64 stop = qMax(notBefore, device.size() - kMaxBackwardSearch);
    for (qint64 end = device.size(); end > stop;) {
        const qint64 start = qMax(stop, end - kSearchBlock);
        // A few bytes more, so a page header that straddles the block end is seen whole.
        const QByteArray block = readAt(device, start, end - start + kHeaderSize);
        for (qsizetype at = block.lastIndexOf(kCapturePattern, end - start - 1); at >= 0;
             at = at > 0 ? block.lastIndexOf(kCapturePattern, at - 1) : -1) {
            if (!mayBeLastPage(QByteArrayView(block).sliced(at), serial))
                continue;
            std::optional<OggPage> page = read(device, start + at);
            if (page && page->checksumMatches())
                return page;
        }
        end = start;
    }
    return std::nullopt;
}

bool OggPage::checksumMatches() const {
    return oggCrc(header(0) + body) == storedCrc;
}

QList<OggPage::Piece> OggPage::pieces() const {
    QList<Piece> result;
    Piece current;
    for (char value : lacing) {
        current.size += quint8(value);
        if (quint8(value) < 255) {
            current.complete = true;
            result.append(current);
            current = Piece{current.offset + current.size, 0, false};
        }
    }
    if (!lacing.isEmpty() && quint8(lacing.back()) == 255)
        result.append(current);
    return result;
}

QByteArray OggPage::header(quint32 crc) const {
    QByteArray bytes(kHeaderSize, '\0');
    auto* raw = reinterpret_cast<uchar*>(bytes.data());
    memcpy(raw, kCapturePattern.data(), kCapturePattern.size());
    raw[4] = kStreamVersion;
    raw[5] = flags;
    qToLittleEndian<qint64>(granule, raw + 6);
    qToLittleEndian<quint32>(serial, raw + 14);
    qToLittleEndian<quint32>(sequence, raw + 18);
    qToLittleEndian<quint32>(crc, raw + kCrcOffset);
    raw[26] = uchar(lacing.size());
    return bytes + lacing;
}

QByteArray OggPage::render() const {
    QByteArray bytes = header(0) + body;
    qToLittleEndian<quint32>(oggCrc(bytes), bytes.data() + kCrcOffset);
    return bytes;
}

QList<OggPage> OggPage::paginate(const QList<QByteArray>& packets, qsizetype preferredPageCount,
                                 quint32 serial, quint32 firstSequence, qint64 granule) {
    QByteArray lacing;
    QByteArray data;
    for (const QByteArray& packet : packets) {
        lacing += lacingOf(packet.size());
        data += packet;
    }
    const qsizetype segments = lacing.size();
    const qsizetype fewest = (segments + kMaxSegments - 1) / kMaxSegments;
    const bool preferredFits = preferredPageCount >= fewest &&
                               preferredPageCount <= fewest + kSparePages &&
                               preferredPageCount <= segments;
    const qsizetype pageCount = preferredFits ? preferredPageCount : fewest;

    QList<OggPage> pages;
    qsizetype segment = 0;
    qint64 dataOffset = 0;
    for (qsizetype i = 0; i < pageCount; ++i) {
        // Spread the segments evenly so no page is left nearly empty.
        const qsizetype count = segments / pageCount + (i < segments % pageCount ? 1 : 0);
        OggPage page;
        page.serial = serial;
        page.sequence = firstSequence + quint32(i);
        page.lacing = lacing.sliced(segment, count);
        page.body = data.sliced(dataOffset, sumOfLacing(page.lacing));
        const bool packetEnds = page.lacing.count(char(255)) < count;
        page.granule = packetEnds ? granule : kNoGranule;
        if (segment > 0 && quint8(lacing[segment - 1]) == 255)
            page.flags = Continued;
        segment += count;
        dataOffset += page.body.size();
        pages.append(page);
    }
    return pages;
}

} // namespace tags
