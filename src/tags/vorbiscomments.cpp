#include "vorbiscomments.h"

#include <QtEndian>

#include <algorithm>

namespace tags {

/// Where a property lives: the `position`-th comment called `name`. `fallback` is read when
/// no comment has the name, and is then also the one written.
struct VorbisComments::Mapping {
    const char* property;
    const char* name;
    int position;
    const char* fallback = nullptr;
};

namespace {

using Mapping = VorbisComments::Mapping;

// The positions within TITLE, ARTIST, ALBUM and DATE are what files written by Varlo rely on.
const Mapping kMappings[] = {
    {"Title", "TITLE", 1},
    {"SubTitle", "TITLE", 2},
    {"Content", "TITLE", 3},
    {"Artist", "ARTIST", 1},
    {"Band", "ARTIST", 2},
    {"Composer", "ARTIST", 3},
    {"RemixedBy", "ARTIST", 4},
    {"OriginalArtist", "ARTIST", 5},
    {"OriginalLyricist", "ARTIST", 6},
    {"Album", "ALBUM", 1},
    {"OriginalAlbum", "ALBUM", 2},
    {"Year", "DATE", 1},
    {"OriginalYear", "DATE", 2},
    {"Performer", "PERFORMER", 1},
    {"TrackString", "TRACKNUMBER", 1},
    {"Genre", "GENRE", 1},
    {"Comment", "COMMENT", 1, "DESCRIPTION"},
    {"Version", "VERSION", 1},
    {"License", "LICENSE", 1},
    {"Organization", "ORGANIZATION", 1},
    {"Contact", "CONTACT", 1},
    {"ISRC", "ISRC", 1},
    {"Copyright", "COPYRIGHT", 1},
    {"Location", "LOCATION", 1},
    {"Encoder", "ENCODER", 1},
    {"Lyrics", "LYRICS", 1},
    {"BPM", "BPM", 1},
};

const QString kVendorProperty = QStringLiteral("Vendor");
constexpr QByteArrayView kCommentHeaderStart("\x03vorbis", 7);

bool sameName(const QString& a, const char* b) {
    return a.compare(QLatin1StringView(b), Qt::CaseInsensitive) == 0;
}

/// Highest position any property gives `name` (1 for single fields, 0 when unmapped).
int groupSize(const QString& name) {
    int size = 0;
    for (const Mapping& mapping : kMappings)
        if (sameName(name, mapping.name))
            size = qMax(size, mapping.position);
    return size;
}

/// Reads a 32-bit little-endian length at `pos` and the bytes it announces; false when
/// either runs past the end.
bool takeLengthPrefixed(QByteArrayView packet, qsizetype& pos, QByteArrayView& out) {
    if (packet.size() - pos < 4)
        return false;
    const quint32 length = qFromLittleEndian<quint32>(packet.data() + pos);
    pos += 4;
    if (quint64(packet.size() - pos) < length)
        return false;
    out = packet.sliced(pos, length);
    pos += length;
    return true;
}

void appendLengthPrefixed(QByteArray& out, QByteArrayView bytes) {
    char length[4];
    qToLittleEndian<quint32>(quint32(bytes.size()), length);
    out.append(length, 4);
    out.append(bytes);
}

} // namespace

VorbisComment VorbisComment::make(const QString& name, const QString& value) {
    return {name.toUtf8() + '=' + value.toUtf8()};
}

VorbisComment VorbisComment::withValue(const QString& value) const {
    const qsizetype equals = raw.indexOf('=');
    return {raw.left(equals + 1) + value.toUtf8()};
}

QString VorbisComment::name() const {
    const qsizetype equals = raw.indexOf('=');
    return equals < 0 ? QString() : QString::fromUtf8(raw.left(equals)).trimmed();
}

QString VorbisComment::value() const {
    return QString::fromUtf8(raw.mid(raw.indexOf('=') + 1));
}

QString VorbisComment::shownValue() const {
    QString text = value();
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return text.trimmed();
}

bool VorbisComments::parse(QByteArrayView packet) {
    if (!packet.startsWith(kCommentHeaderStart))
        return false;
    qsizetype pos = kCommentHeaderStart.size();
    QByteArrayView vendor;
    if (!takeLengthPrefixed(packet, pos, vendor) || packet.size() - pos < 4)
        return false;
    const quint32 count = qFromLittleEndian<quint32>(packet.data() + pos);
    pos += 4;
    if (count > quint64(packet.size() - pos) / 4) // each comment needs its length field
        return false;
    QList<VorbisComment> comments;
    comments.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        QByteArrayView comment;
        if (!takeLengthPrefixed(packet, pos, comment))
            return false;
        comments.append({comment.toByteArray()});
    }
    m_vendor = vendor.toByteArray();
    m_comments = std::move(comments);
    m_tail = packet.sliced(pos).toByteArray();
    return true;
}

QByteArray VorbisComments::toPacket(bool keepBlankGroupEntries) const {
    QList<const VorbisComment*> written;
    for (const VorbisComment& comment : m_comments)
        if (keepBlankGroupEntries || groupSize(comment.name()) < 2 ||
            !comment.shownValue().isEmpty())
            written.append(&comment);
    QByteArray packet = kCommentHeaderStart.toByteArray();
    appendLengthPrefixed(packet, m_vendor);
    char count[4];
    qToLittleEndian<quint32>(quint32(written.size()), count);
    packet.append(count, 4);
    for (const VorbisComment* comment : written)
        appendLengthPrefixed(packet, comment->raw);
    packet += m_tail.isEmpty() ? QByteArray(1, '\x01') : m_tail;
    return packet;
}

void VorbisComments::takeFramingFrom(const VorbisComments& other) {
    m_vendor = other.m_vendor;
    m_tail = other.m_tail;
}

const VorbisComments::Mapping* VorbisComments::mappingOf(const QString& property) {
    for (const Mapping& mapping : kMappings)
        if (property == QLatin1StringView(mapping.property))
            return &mapping;
    return nullptr;
}

bool VorbisComments::hasProperty(const QString& property) {
    return mappingOf(property) || property == kVendorProperty;
}

QStringList VorbisComments::properties() {
    QStringList names;
    for (const Mapping& mapping : kMappings)
        names.append(QLatin1StringView(mapping.property));
    return names;
}

bool VorbisComments::isMappedName(const QString& name) {
    return std::any_of(std::begin(kMappings), std::end(kMappings), [&](const Mapping& mapping) {
        return sameName(name, mapping.name) ||
               (mapping.fallback && sameName(name, mapping.fallback));
    });
}

QList<qsizetype> VorbisComments::occurrences(const QString& name) const {
    // Looked up for every field of every row: compare the stored bytes, no decoding.
    const QByteArray wanted = name.toUtf8();
    QList<qsizetype> indices;
    for (qsizetype i = 0; i < m_comments.size(); ++i) {
        const QByteArrayView raw(m_comments[i].raw);
        const qsizetype equals = raw.indexOf('=');
        if (equals >= 0 && raw.first(equals).trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            indices.append(i);
    }
    return indices;
}

QString VorbisComments::storedName(const Mapping& mapping) const {
    const QString name = QLatin1StringView(mapping.name);
    if (mapping.fallback && occurrences(name).isEmpty() &&
        !occurrences(QLatin1StringView(mapping.fallback)).isEmpty())
        return QLatin1StringView(mapping.fallback);
    return name;
}

QString VorbisComments::field(const QString& property) const {
    const Mapping* mapping = mappingOf(property);
    if (!mapping)
        return property == kVendorProperty ? vendor() : QString();
    const QList<qsizetype> found = occurrences(storedName(*mapping));
    return mapping->position <= found.size() ? m_comments[found[mapping->position - 1]].shownValue()
                                             : QString();
}

void VorbisComments::setField(const QString& property, const QString& text) {
    const Mapping* mapping = mappingOf(property);
    const QString value = text.trimmed();
    // Setting the shown value again leaves the stored bytes (and blanks around them) alone.
    if (!mapping || field(property) == value)
        return;
    const QString name = storedName(*mapping);
    const QList<qsizetype> found = occurrences(name);
    if (mapping->position <= found.size()) {
        VorbisComment& comment = m_comments[found[mapping->position - 1]];
        comment = comment.withValue(value);
    } else if (!value.isEmpty()) {
        insertAtPosition(name, mapping->position, value);
    }
    if (value.isEmpty())
        removeTrailingBlanks(*mapping, name);
}

void VorbisComments::insertAtPosition(const QString& name, int position, const QString& value) {
    const QList<qsizetype> found = occurrences(name);
    // New entries join the last one of their name, so a group stays together.
    qsizetype at = found.isEmpty() ? m_comments.size() : found.back() + 1;
    for (qsizetype stored = found.size() + 1; stored < position; ++stored)
        m_comments.insert(at++, VorbisComment::make(name, QString()));
    m_comments.insert(at, VorbisComment::make(name, value));
}

void VorbisComments::removeTrailingBlanks(const Mapping& mapping, const QString& name) {
    QList<qsizetype> found = occurrences(name);
    // A blank COMMENT stays while a DESCRIPTION exists, or the cleared comment would show
    // the DESCRIPTION in its place.
    const bool shadowsFallback = mapping.fallback && sameName(name, mapping.name) &&
                                 !occurrences(QLatin1StringView(mapping.fallback)).isEmpty();
    const int minimum = shadowsFallback ? 1 : 0;
    const int size = groupSize(QLatin1StringView(mapping.name));
    while (found.size() > minimum && found.size() <= size &&
           m_comments[found.back()].shownValue().isEmpty()) {
        m_comments.removeAt(found.back());
        found.removeLast();
    }
}

void VorbisComments::clearFields() {
    m_comments.removeIf([](const VorbisComment& comment) { return isMappedName(comment.name()); });
}

bool VorbisComments::hasMappedComment() const {
    return std::any_of(m_comments.begin(), m_comments.end(),
                       [](const VorbisComment& comment) { return isMappedName(comment.name()); });
}

bool VorbisComments::allFieldsBlank() const {
    return std::all_of(std::begin(kMappings), std::end(kMappings), [this](const Mapping& mapping) {
        return field(QLatin1StringView(mapping.property)).isEmpty();
    });
}

} // namespace tags
