#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

class QIODevice;

namespace tags {

/// The Ogg page checksum: CRC-32 with polynomial 0x04C11DB7, initial value 0, no bit
/// reflection and no final inversion, computed with the checksum field set to zero.
quint32 oggCrc(QByteArrayView bytes);

/// One page of an Ogg bitstream (RFC 3533): header fields, lacing values and body.
class OggPage {
public:
    static constexpr qint64 kHeaderSize = 27;
    static constexpr int kMaxSegments = 255;
    static constexpr qint64 kMaxSize = kHeaderSize + kMaxSegments + kMaxSegments * 255;
    /// Header type flags.
    enum Flag : quint8 { Continued = 0x01, FirstOfStream = 0x02, LastOfStream = 0x04 };
    /// Granule position of a page on which no packet ends.
    static constexpr qint64 kNoGranule = -1;

    /// One packet or part of a packet in the body.
    struct Piece {
        qint64 offset = 0; ///< into the body
        qint64 size = 0;
        bool complete = false; ///< false when the packet goes on in the next page
    };

    quint8 flags = 0;
    qint64 granule = 0;
    quint32 serial = 0;
    quint32 sequence = 0;
    quint32 storedCrc = 0; ///< as found in the file; render() computes a fresh one
    QByteArray lacing;
    QByteArray body;

    /// Reads the page starting at `offset`; nothing unless a whole page starts there.
    static std::optional<OggPage> read(QIODevice& device, qint64 offset);
    /// Reads the whole page whose header starts `bytes` (used by the backward search).
    static std::optional<OggPage> parse(QByteArrayView bytes);

    /// The last page of logical stream `serial` that ends a packet and has a valid checksum,
    /// searched back from the end of the device (but not before `notBefore`, and not
    /// further than a few megabytes, which covers the interleaving of any real file).
    static std::optional<OggPage> findLast(QIODevice& device, quint32 serial, qint64 notBefore);

    /// Lays complete packets out over pages of one logical stream: as few pages as the
    /// lacing allows, or `preferredPageCount` when that is at most two more (so a rewrite
    /// can keep the page count of the file and leave later pages alone). Pages on which a
    /// packet ends get `granule`, the others kNoGranule.
    static QList<OggPage> paginate(const QList<QByteArray>& packets, qsizetype preferredPageCount,
                                   quint32 serial, quint32 firstSequence, qint64 granule);

    qint64 size() const { return kHeaderSize + lacing.size() + body.size(); }
    bool has(Flag flag) const { return flags & flag; }
    bool checksumMatches() const;
    QList<Piece> pieces() const;
    /// The page as stored in a file, with a freshly computed checksum.
    QByteArray render() const;

private:
    QByteArray header(quint32 crc) const;
};

} // namespace tags
