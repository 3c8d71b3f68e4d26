#include "apetag.h"

#include "fileio.h"
#include "readonlyfile.h"

#include <QFile>
#include <QtEndian>

namespace tags {

namespace {

constexpr QByteArrayView kPreamble = "APETAGEX";
constexpr quint32 kHasHeader = 1u << 31;
constexpr qint64 kID3v1Size = 128;
constexpr qint64 kMaxKeyLength = 255;
// Lyrics3v2 trailer: six decimal digits of the block size, then "LYRICS200".
constexpr qint64 kLyricsTrailerSize = 15;
constexpr QByteArrayView kLyricsBegin = "LYRICSBEGIN";
constexpr QByteArrayView kLyricsEnd = "LYRICS200";

/// The fields shared by the 32-byte header and footer.
struct Footer {
    quint32 version = 0;
    quint32 size = 0; ///< items and footer, without the header
    quint32 itemCount = 0;
    quint32 flags = 0;
};

quint32 le32(QByteArrayView bytes, qint64 at) {
    return qFromLittleEndian<quint32>(bytes.data() + at);
}

/// Reads a header or footer at `offset`; false when the preamble is not there.
bool readFooter(QIODevice& device, qint64 offset, Footer& footer) {
    const QByteArray bytes = readAt(device, offset, TAPEtag::kFooterSize);
    if (bytes.size() != TAPEtag::kFooterSize || !bytes.startsWith(kPreamble))
        return false;
    footer = {le32(bytes, 8), le32(bytes, 12), le32(bytes, 16), le32(bytes, 20)};
    return true;
}

Status damaged(const QString& why) {
    return Status::error(ErrorCode::InvalidData,
                         QStringLiteral("The APE tag is damaged: %1").arg(why));
}

/// Where the tag may end: before a Lyrics3v2 block, before an ID3v1 block, at the end.
/// Closest to the audio first, so the trailing blocks are never taken for the tag.
QList<qint64> candidateEnds(QIODevice& device) {
    const qint64 size = device.size();
    QList<qint64> ends;
    const qint64 id3v1 = size - kID3v1Size;
    if (id3v1 >= 0 && readAt(device, id3v1, 3) == "TAG") {
        const QByteArray trailer = readAt(device, id3v1 - kLyricsTrailerSize, kLyricsTrailerSize);
        bool isNumber = false;
        const qint64 lyricsSize = trailer.left(6).toLongLong(&isNumber);
        const qint64 lyrics = id3v1 - kLyricsTrailerSize - lyricsSize;
        if (trailer.endsWith(kLyricsEnd) && isNumber && lyricsSize >= 0 && lyrics >= 0 &&
            readAt(device, lyrics, kLyricsBegin.size()) == kLyricsBegin)
            ends << lyrics;
        ends << id3v1;
    }
    ends << size;
    return ends;
}

bool isValidKey(QByteArrayView key) {
    if (key.isEmpty() || key.size() > kMaxKeyLength)
        return false;
    for (char c : key)
        if (c < 0x20 || c > 0x7e)
            return false;
    return true;
}

/// Splits the item area into items. At most `itemCount` items are taken; a count larger
/// than the items present is tolerated when the last item ends exactly at the footer (a
/// known writer fault). Every item must lie inside the area and the items must fill it
/// exactly, otherwise the bytes are not a tag this reader understands.
bool parseItems(QByteArrayView area, quint32 itemCount, bool isVersion1, QList<APEItem>& items) {
    qint64 pos = 0;
    for (quint32 i = 0; i < itemCount && pos < area.size(); ++i) {
        const qint64 keyStart = pos + 8;
        if (keyStart >= area.size())
            return false;
        const quint32 valueSize = le32(area, pos);
        const quint32 flags = le32(area, pos + 4);
        const qint64 keyEnd = area.indexOf('\0', keyStart);
        if (keyEnd < 0 || !isValidKey(area.sliced(keyStart, keyEnd - keyStart)))
            return false;
        const qint64 valueStart = keyEnd + 1;
        if (valueSize > area.size() - valueStart)
            return false;
        APEItem item;
        item.key = QString::fromLatin1(area.sliced(keyStart, keyEnd - keyStart));
        item.kind = isVersion1 ? APEItem::Text : APEItem::Kind((flags >> 1) & 3);
        item.value = area.sliced(valueStart, valueSize).toByteArray();
        items << item;
        pos = valueStart + valueSize;
    }
    return pos == area.size();
}

} // namespace

QStringList APEItem::values() const {
    if (kind != Text && kind != Locator)
        return {};
    return QString::fromUtf8(value).split(QChar(u'\0'));
}

const APEItem* TAPEtag::item(const QString& key) const {
    for (const APEItem& candidate : m_items)
        if (candidate.key.compare(key, Qt::CaseInsensitive) == 0)
            return &candidate;
    return nullptr;
}

Status TAPEtag::read(QIODevice& device) {
    *this = TAPEtag();
    Status problem;
    for (qint64 end : candidateEnds(device)) {
        Footer footer;
        if (!readFooter(device, end - kFooterSize, footer))
            continue;
        const bool hasHeader = footer.flags & kHasHeader;
        const qint64 length = qint64(footer.size) + (hasHeader ? kFooterSize : 0);
        const qint64 start = end - length;
        Footer header;
        QList<APEItem> items;
        if (footer.version != 1000 && footer.version != 2000)
            problem = damaged(QStringLiteral("unknown version %1").arg(footer.version));
        else if (footer.size < kFooterSize || start < 0)
            problem = damaged(QStringLiteral("its size does not fit in the file"));
        else if (length > kMaxTagSize)
            problem = damaged(QStringLiteral("it is larger than %1 bytes").arg(kMaxTagSize));
        else if (hasHeader && (!readFooter(device, start, header) || header.size != footer.size))
            problem = damaged(QStringLiteral("its header does not match its footer"));
        else if (const qint64 itemsStart = end - footer.size;
                 !parseItems(readAt(device, itemsStart, footer.size - kFooterSize),
                             footer.itemCount, footer.version == 1000, items))
            problem = damaged(QStringLiteral("its items do not add up to its size"));
        else {
            m_exists = true;
            m_version = int(footer.version);
            m_size = footer.size;
            m_offset = start;
            m_length = length;
            m_items = items;
            return Status::success();
        }
    }
    return problem;
}

qint64 TAPEtag::find(QIODevice& device) {
    TAPEtag tag;
    tag.read(device);
    return tag.size();
}

Status TAPEtag::remove(const QString& path) {
    ReadOnlyFile file(path);
    if (Status opened = openForReading(file); !opened)
        return opened;
    TAPEtag tag;
    tag.read(file);
    file.close();
    if (!tag.exists())
        return Status::success();
    return replaceRange(path, tag.offset(), tag.length(), {});
}

} // namespace tags
