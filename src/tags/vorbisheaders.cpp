#include "vorbisheaders.h"

#include "fileio.h"

#include <QIODevice>

#include <algorithm>

namespace tags {

namespace {

constexpr QByteArrayView kIdentificationStart("\x01vorbis", 7);
/// How far past the first page the header packets are looked for; other logical streams
/// may put their own header pages in between, but never megabytes of them.
constexpr qint64 kMaxHeaderScan = 4 * VorbisHeaders::kMaxPacketSize;

Status notVorbis() {
    return Status::error(ErrorCode::InvalidData,
                         QStringLiteral("The file is not an Ogg Vorbis file."));
}

} // namespace

Status VorbisHeaders::read(QIODevice& device) {
    *this = VorbisHeaders();
    m_id3v2Size = skipId3v2(device);
    qint64 offset = m_id3v2Size;
    if (!findIdentification(device, offset))
        return notVorbis();
    collectPackets(device, offset);
    return Status::success();
}

qint64 VorbisHeaders::skipId3v2(QIODevice& device) {
    const QByteArray header = readAt(device, 0, 10);
    if (header.size() < 10 || !header.startsWith("ID3"))
        return 0;
    qint64 size = 0;
    for (int i = 6; i < 10; ++i)
        size = (size << 7) | (quint8(header[i]) & 0x7F);
    size += 10;
    if (quint8(header[5]) & 0x10) // footer present
        size += 10;
    return size > device.size() ? 0 : size;
}

bool VorbisHeaders::findIdentification(QIODevice& device, qint64& offset) {
    // Every logical stream starts with a page of its own, and all these first pages come
    // before any other page; the Vorbis stream need not be the first of them.
    for (;;) {
        const std::optional<OggPage> page = OggPage::read(device, offset);
        if (!page || !page->has(OggPage::FirstOfStream))
            return false;
        const QList<OggPage::Piece> pieces = page->pieces();
        if (!pieces.isEmpty() && pieces[0].complete &&
            page->body.startsWith(kIdentificationStart)) {
            m_serial = page->serial;
            return true;
        }
        offset += page->size();
    }
}

void VorbisHeaders::collectPackets(QIODevice& device, qint64 offset) {
    const qint64 scanEnd = offset + kMaxHeaderScan;
    int index = 0;
    QByteArray packet;
    while (index < 3 && offset < scanEnd) {
        const std::optional<OggPage> page = OggPage::read(device, offset);
        if (!page)
            return;
        const qint64 pageOffset = offset;
        offset += page->size();
        if (page->serial != m_serial) {
            if (!m_region.isEmpty())
                m_region.append({pageOffset, page->size(), false, false, page->sequence});
            continue;
        }
        if (page->has(OggPage::Continued) != !packet.isEmpty())
            return; // a packet lost its start or its end: leave the rest unread
        bool carriesHeaders = false;
        bool dataAfterSetup = false;
        for (const OggPage::Piece& piece : page->pieces()) {
            if (index == 3) {
                dataAfterSetup = true;
                break;
            }
            if (index == 1 && packet.isEmpty())
                m_commentStartsPage = piece.offset == 0 && m_region.isEmpty();
            carriesHeaders |= index > 0;
            if (packet.size() + piece.size > kMaxPacketSize)
                return;
            packet += QByteArrayView(page->body).sliced(piece.offset, piece.size);
            if (piece.complete) {
                m_packets[index++] = packet;
                packet.clear();
            }
        }
        if (carriesHeaders)
            m_region.append(
                {pageOffset, page->size(), true, page->has(OggPage::LastOfStream), page->sequence});
        m_setupEndsPage = index == 3 && !dataAfterSetup;
    }
}

qint64 VorbisHeaders::audioStart() const {
    return m_region.isEmpty() ? 0 : m_region.back().offset + m_region.back().size;
}

bool VorbisHeaders::canRewrite() const {
    return !setup().isEmpty() && m_commentStartsPage && m_setupEndsPage;
}

qsizetype VorbisHeaders::vorbisPageCount() const {
    return std::count_if(m_region.begin(), m_region.end(),
                         [](const RegionPage& page) { return page.vorbis; });
}

} // namespace tags
