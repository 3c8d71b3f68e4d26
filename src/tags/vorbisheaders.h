#pragma once

#include "oggpage.h"
#include "status.h"

#include <QByteArray>
#include <QList>

class QIODevice;

namespace tags {

/// Locates the Vorbis stream of an Ogg file (also when it is multiplexed with other logical
/// streams) and reassembles its three header packets: identification, comment and setup.
/// Also records the pages that carry the comment and setup packets, which a rewrite of the
/// comments replaces.
class VorbisHeaders {
public:
    /// Packets larger than this are taken as damage, not as data.
    static constexpr qint64 kMaxPacketSize = 16 << 20;

    /// A page between the first and the last page that carries the comment or setup packet.
    struct RegionPage {
        qint64 offset = 0;
        qint64 size = 0;
        bool vorbis = false; ///< false for pages of other logical streams
        bool lastOfStream = false;
        quint32 sequence = 0;
    };

    /// Reads from the start of `device`. Fails unless an Ogg page with a Vorbis
    /// identification header is found; the other packets may be missing or damaged, which
    /// leaves them empty.
    Status read(QIODevice& device);

    /// Bytes of an ID3v2 tag in front of the Ogg stream (0 when none).
    qint64 id3v2Size() const { return m_id3v2Size; }
    quint32 serial() const { return m_serial; }
    const QByteArray& identification() const { return m_packets[0]; }
    const QByteArray& comment() const { return m_packets[1]; }
    const QByteArray& setup() const { return m_packets[2]; }
    /// Offset of the first page after the header pages of the Vorbis stream.
    qint64 audioStart() const;

    /// True when the comment packet starts a page and the setup packet ends one, as the
    /// Vorbis standard requires, so both can be laid out anew without touching audio.
    bool canRewrite() const;
    const QList<RegionPage>& region() const { return m_region; }
    qsizetype vorbisPageCount() const;

private:
    static qint64 skipId3v2(QIODevice& device);
    bool findIdentification(QIODevice& device, qint64& offset);
    void collectPackets(QIODevice& device, qint64 offset);

    qint64 m_id3v2Size = 0;
    quint32 m_serial = 0;
    QByteArray m_packets[3];
    QList<RegionPage> m_region;
    bool m_commentStartsPage = false;
    bool m_setupEndsPage = false;
};

} // namespace tags
