#include "asf.h"

#include <limits>

namespace tags::asf {

namespace {

constexpr QUuid kHeaderObject(0x75B22630, 0x668E, 0x11CF, 0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE,
                              0x6C);
constexpr QUuid kFileProperties(0x8CABDCA1, 0xA947, 0x11CF, 0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20,
                                0x53, 0x65);
constexpr QUuid kStreamProperties(0xB7DC0791, 0xA9B7, 0x11CF, 0x8E, 0xE6, 0x00, 0xC0, 0x0C, 0x20,
                                  0x53, 0x65);
constexpr QUuid kHeaderExtension(0x5FBF03B5, 0xA92E, 0x11CF, 0x8E, 0xE3, 0x00, 0xC0, 0x0C, 0x20,
                                 0x53, 0x65);
constexpr QUuid kContentDescription(0x75B22633, 0x668E, 0x11CF, 0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62,
                                    0xCE, 0x6C);
constexpr QUuid kExtendedContentDescription(0xD2D0A440, 0xE307, 0x11D2, 0x97, 0xF0, 0x00, 0xA0,
                                            0xC9, 0x5E, 0xA8, 0x50);
constexpr QUuid kMetadata(0xC5F8CBEA, 0x5BAF, 0x4877, 0x84, 0x67, 0xAA, 0x8C, 0x44, 0xFA, 0x4C,
                          0xCA);
constexpr QUuid kMetadataLibrary(0x44231C94, 0x9498, 0x49D1, 0xA1, 0x41, 0x1D, 0x13, 0x4E, 0x45,
                                 0x70, 0x54);
constexpr QUuid kPadding(0x1806D474, 0xCADF, 0x4509, 0xA4, 0xBA, 0x9A, 0xAB, 0xCB, 0x96, 0xAA,
                         0xE8);
constexpr QUuid kAudioMedia(0xF8699E40, 0x5B4D, 0x11CF, 0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44,
                            0x2B);
constexpr QUuid kExtensionReserved(0xABD3D211, 0xA9BA, 0x11CF, 0x8E, 0xE6, 0x00, 0xC0, 0x0C, 0x20,
                                   0x53, 0x65);

/// The GUID of each attribute object, indexed by Place.
constexpr QUuid kPlaceGuids[] = {kContentDescription, kExtendedContentDescription, kMetadata,
                                 kMetadataLibrary};
constexpr Place kLookupOrder[] = {Place::ContentDescription, Place::ExtendedContent,
                                  Place::Metadata, Place::MetadataLibrary};

constexpr qsizetype kObjectHead = 24; // GUID and QWORD size
constexpr qsizetype kHeaderHead = 30;
constexpr qsizetype kExtensionHead = 46;
constexpr qsizetype kFilePropertiesSize = 104;
constexpr qsizetype kStreamPropertiesHead = 78;
constexpr qsizetype kWaveFormatSize = 16;
constexpr qint64 kShortValueLimit = 0xFFFF;
constexpr qsizetype kMaxRecords = 0xFFFF;
constexpr qint64 kGrowPadding = 1024; // room for later edits once the header has to grow
constexpr quint32 kBroadcastFlag = 0x1;

/// The five strings of the content description object, in stored order.
const QString kContentNames[] = {QStringLiteral("Title"), QStringLiteral("Author"),
                                 QStringLiteral("Copyright"), QStringLiteral("Description"),
                                 QStringLiteral("Rating")};

Status damaged(const QString& why) {
    return Status::error(ErrorCode::InvalidData,
                         QStringLiteral("the ASF header is damaged (%1)").arg(why));
}

/// Reads little-endian fields in order; a read past the end fails this and every later read,
/// so a record is checked once after all its fields.
class Cursor {
public:
    explicit Cursor(QByteArrayView bytes) : m_bytes(bytes) {}
    bool ok() const { return m_ok; }
    template <typename T> T read() {
        return take(sizeof(T)) ? readLE<T>(m_bytes, m_pos - sizeof(T)) : 0;
    }
    QByteArray bytes(qint64 length) {
        return take(length) ? m_bytes.sliced(m_pos - length, length).toByteArray() : QByteArray();
    }

private:
    bool take(qint64 length) {
        if (!m_ok || length > m_bytes.size() - m_pos)
            m_ok = false;
        else
            m_pos += length;
        return m_ok;
    }
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    bool m_ok = true;
};

/// How long a value may be in an object of `place`: 16-bit length fields except in the
/// metadata library.
qint64 valueLimit(Place place) {
    return place == Place::MetadataLibrary ? std::numeric_limits<quint32>::max() : kShortValueLimit;
}

bool isContentName(const QString& name) {
    for (int i = 0; i < 4; ++i) // Rating is not one of Varlo's fields
        if (kContentNames[i] == name)
            return true;
    return false;
}

QByteArray objectBytes(const QUuid& guid, const QByteArray& body) {
    QByteArray out = guidToBytes(guid);
    appendLE<quint64>(out, kObjectHead + body.size());
    return out + body;
}

} // namespace

std::optional<quint64> headerObjectSize(QByteArrayView bytes) {
    if (bytes.size() < kHeaderHead || guidFromBytes(bytes) != kHeaderObject)
        return std::nullopt;
    return readLE<quint64>(bytes, 16);
}

Status Header::parse(QByteArrayView bytes) {
    *this = Header();
    const std::optional<quint64> size = headerObjectSize(bytes);
    if (!size)
        return Status::error(ErrorCode::InvalidData, QStringLiteral("no ASF header object"));
    if (*size < quint64(kHeaderHead) || *size > quint64(bytes.size()))
        return damaged(QStringLiteral("the header runs past the end of the file"));
    m_size = qint64(*size);
    m_reserved = bytes.sliced(28, 2).toByteArray();
    if (Status status =
            parseChildren(bytes.sliced(kHeaderHead, m_size - kHeaderHead), m_children, false);
        !status)
        return status;
    if (m_fileProperties < 0)
        return damaged(QStringLiteral("no file properties object"));
    return Status::success();
}

Status Header::parseChildren(QByteArrayView bytes, QList<Child>& children, bool inExtension) {
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        if (bytes.size() - pos < kObjectHead)
            return damaged(QStringLiteral("an object is cut short"));
        const quint64 size = readLE<quint64>(bytes, pos + 16);
        if (size < quint64(kObjectHead) || size > quint64(bytes.size() - pos))
            return damaged(QStringLiteral("an object runs past the end of its parent"));
        Child child{guidFromBytes(bytes.sliced(pos)), bytes.sliced(pos, size).toByteArray()};
        if (Status status = parseChild(child, inExtension ? -1 : children.size()); !status)
            return status;
        children.append(child);
        pos += size;
    }
    return Status::success();
}

Status Header::parseChild(Child& child, qsizetype topLevelIndex) {
    const QByteArrayView object = child.raw;
    const QByteArrayView body = object.sliced(kObjectHead);
    if (topLevelIndex >= 0 && child.guid == kFileProperties && m_fileProperties < 0) {
        m_fileProperties = topLevelIndex;
        return parseFileProperties(object);
    }
    if (topLevelIndex >= 0 && child.guid == kHeaderExtension && m_extension < 0) {
        m_extension = topLevelIndex;
        return parseExtension(object);
    }
    if (child.guid == kStreamProperties) {
        parseStreamProperties(object);
        return Status::success();
    }
    for (Place place : kLookupOrder)
        if (child.guid == kPlaceGuids[int(place)])
            return parseAttributeObject(place, body, child);
    return Status::success();
}

Status Header::parseExtension(QByteArrayView object) {
    if (object.size() < kExtensionHead)
        return damaged(QStringLiteral("the header extension is cut short"));
    m_extensionReserved = object.sliced(kObjectHead, 18).toByteArray();
    const quint32 dataSize = readLE<quint32>(object, 42);
    if (dataSize > quint64(object.size() - kExtensionHead))
        return damaged(QStringLiteral("the header extension runs past its object"));
    return parseChildren(object.sliced(kExtensionHead, dataSize), m_extensionChildren, true);
}

Status Header::parseFileProperties(QByteArrayView object) {
    if (object.size() < kFilePropertiesSize)
        return damaged(QStringLiteral("the file properties object is cut short"));
    m_properties.fileSize = readLE<quint64>(object, 40);
    m_properties.playDuration = readLE<quint64>(object, 64);
    m_properties.preroll = readLE<quint64>(object, 80);
    m_properties.flags = readLE<quint32>(object, 88);
    m_properties.maxBitrate = readLE<quint32>(object, 100);
    return Status::success();
}

void Header::parseStreamProperties(QByteArrayView object) {
    if (m_hasAudio || object.size() < kStreamPropertiesHead ||
        guidFromBytes(object.sliced(kObjectHead)) != kAudioMedia)
        return;
    const quint32 formatSize = readLE<quint32>(object, 64);
    if (formatSize < kWaveFormatSize || formatSize > quint64(object.size() - kStreamPropertiesHead))
        return;
    const QByteArrayView format = object.sliced(kStreamPropertiesHead, formatSize);
    m_properties.channels = readLE<quint16>(format, 2);
    m_properties.sampleRate = readLE<quint32>(format, 4);
    m_properties.averageBytesPerSecond = readLE<quint32>(format, 8);
    m_hasAudio = true;
}

Status Header::parseAttributeObject(Place place, QByteArrayView body, Child& child) {
    const int owner = m_objects.size();
    m_objects.append({place});
    child.object = owner;
    Cursor cursor(body);
    if (place == Place::ContentDescription) {
        quint16 lengths[5];
        for (quint16& length : lengths)
            length = cursor.read<quint16>();
        for (int i = 0; i < 5; ++i)
            m_attributes.append({kContentNames[i], encodeUtf16(kContentNames[i]),
                                 ValueType::Unicode, cursor.bytes(lengths[i]), 0, 0, owner});
        return cursor.ok() ? Status::success()
                           : damaged(QStringLiteral("the content description is cut short"));
    }
    const quint16 count = cursor.read<quint16>();
    for (int i = 0; i < count && cursor.ok(); ++i) {
        Attribute record;
        record.owner = owner;
        if (place == Place::ExtendedContent) {
            record.rawName = cursor.bytes(cursor.read<quint16>());
            record.type = ValueType(cursor.read<quint16>());
            record.value = cursor.bytes(cursor.read<quint16>());
        } else {
            record.language = cursor.read<quint16>();
            record.stream = cursor.read<quint16>();
            const quint16 nameLength = cursor.read<quint16>();
            record.type = ValueType(cursor.read<quint16>());
            const quint32 valueLength = cursor.read<quint32>();
            record.rawName = cursor.bytes(nameLength);
            record.value = cursor.bytes(valueLength);
        }
        record.name = decodeUtf16(record.rawName);
        m_attributes.append(record);
    }
    return cursor.ok() ? Status::success()
                       : damaged(QStringLiteral("an attribute runs past the end of its object"));
}

const Attribute* Header::find(const QString& name) const {
    for (Place place : kLookupOrder)
        for (const Attribute& record : m_attributes)
            if (m_objects[record.owner].place == place && record.stream == 0 &&
                record.language == 0 && record.name == name &&
                !(place == Place::ContentDescription && record.text().isEmpty()))
                return &record;
    return nullptr;
}

Attribute* Header::findRecord(const QString& name) {
    return const_cast<Attribute*>(find(name));
}

bool Header::isModified() const {
    for (const AttributeObject& object : m_objects)
        if (object.dirty)
            return true;
    return false;
}

void Header::removeRecord(Attribute* record) {
    m_objects[record->owner].dirty = true;
    if (m_objects[record->owner].place == Place::ContentDescription)
        record->value.clear(); // the object always has its five strings
    else
        m_attributes.removeAt(record - m_attributes.data());
}

bool Header::setText(const QString& name, const QString& text, ValueType type) {
    Attribute* record = findRecord(name);
    if (text.trimmed().isEmpty()) {
        for (; record; record = findRecord(name))
            removeRecord(record); // every file-wide value, or the next one would show
        return true;
    }
    if (record) {
        const Place place = m_objects[record->owner].place;
        const std::optional<QByteArray> typed = encodeValue(record->type, text, place);
        const ValueType keptType = typed ? record->type : ValueType::Unicode;
        const QByteArray value = typed ? *typed : encodeUtf16(text);
        if (value.size() <= valueLimit(place)) {
            record->type = keptType;
            record->value = value;
            m_objects[record->owner].dirty = true;
            return true;
        }
        removeRecord(record); // too long for its object: it moves to the metadata library
        return addRecord(name, ValueType::Unicode, value, Place::MetadataLibrary);
    }
    Place place = isContentName(name) ? Place::ContentDescription : Place::ExtendedContent;
    std::optional<QByteArray> typed;
    if (place == Place::ExtendedContent)
        typed = encodeValue(type, text, place);
    const QByteArray value = typed ? *typed : encodeUtf16(text);
    if (value.size() > valueLimit(place))
        place = Place::MetadataLibrary;
    return addRecord(name, typed ? type : ValueType::Unicode, value, place);
}

bool Header::addRecord(const QString& name, ValueType type, const QByteArray& value, Place place) {
    const int owner = objectFor(place);
    if (owner < 0)
        return false;
    m_objects[owner].dirty = true;
    if (place == Place::ContentDescription) {
        for (Attribute& field : m_attributes)
            if (field.owner == owner && field.name == name)
                field.value = value;
        return true;
    }
    m_attributes.append({name, encodeUtf16(name), type, value, 0, 0, owner});
    return true;
}

int Header::objectFor(Place place) {
    for (int owner = 0; owner < m_objects.size(); ++owner) {
        if (m_objects[owner].place != place)
            continue;
        if (place == Place::ContentDescription)
            return owner;
        const auto count = std::count_if(m_attributes.cbegin(), m_attributes.cend(),
                                         [owner](const Attribute& a) { return a.owner == owner; });
        if (count < kMaxRecords)
            return owner;
    }
    return createObject(place);
}

int Header::createObject(Place place) {
    const int owner = m_objects.size();
    m_objects.append({place, true});
    const Child child{kPlaceGuids[int(place)], {}, owner};
    if (place == Place::ContentDescription) {
        for (const QString& name : kContentNames)
            m_attributes.append({name, encodeUtf16(name), ValueType::Unicode, {}, 0, 0, owner});
    }
    if (place == Place::ContentDescription || place == Place::ExtendedContent) {
        m_children.append(child);
        return owner;
    }
    if (m_extension < 0) {
        m_extension = m_children.size();
        m_children.append(Child{kHeaderExtension, {}});
        m_extensionReserved = guidToBytes(kExtensionReserved);
        appendLE<quint16>(m_extensionReserved, 6);
    }
    m_extensionChildren.append(child);
    return owner;
}

bool Header::extensionChanged() const {
    if (m_extension >= 0 && m_children[m_extension].raw.isEmpty())
        return true; // created here
    for (const Child& child : m_extensionChildren)
        if (child.object >= 0 && m_objects[child.object].dirty)
            return true;
    return false;
}

QByteArray Header::serialiseChild(const Child& child) const {
    if (child.object < 0 || !m_objects[child.object].dirty)
        return child.raw;
    return objectBytes(child.guid, serialiseAttributes(child.object));
}

QByteArray Header::serialiseAttributes(int owner) const {
    const Place place = m_objects[owner].place;
    QByteArray lengths;
    QByteArray body;
    quint16 count = 0;
    for (const Attribute& record : m_attributes) {
        if (record.owner != owner)
            continue;
        ++count;
        if (place == Place::ContentDescription) {
            appendLE<quint16>(lengths, record.value.size());
            body += record.value;
        } else if (place == Place::ExtendedContent) {
            appendLE<quint16>(body, record.rawName.size());
            body += record.rawName;
            appendLE<quint16>(body, quint16(record.type));
            appendLE<quint16>(body, record.value.size());
            body += record.value;
        } else {
            appendLE<quint16>(body, record.language);
            appendLE<quint16>(body, record.stream);
            appendLE<quint16>(body, record.rawName.size());
            appendLE<quint16>(body, quint16(record.type));
            appendLE<quint32>(body, record.value.size());
            body += record.rawName + record.value;
        }
    }
    if (place != Place::ContentDescription)
        appendLE<quint16>(lengths, count);
    return lengths + body;
}

QByteArray Header::serialiseExtension() const {
    if (!extensionChanged())
        return m_children[m_extension].raw;
    QByteArray data;
    for (const Child& child : m_extensionChildren)
        data += serialiseChild(child);
    QByteArray body = m_extensionReserved;
    appendLE<quint32>(body, data.size());
    return objectBytes(kHeaderExtension, body + data);
}

QByteArray Header::serialise(qint64 fileSize) const {
    QByteArray body;
    quint32 count = 0;
    qsizetype filePropertiesAt = -1;
    for (qsizetype i = 0; i < m_children.size(); ++i) {
        if (m_children[i].guid == kPadding)
            continue; // all padding becomes one object at the end
        if (i == m_fileProperties)
            filePropertiesAt = body.size();
        body += i == m_extension ? serialiseExtension() : serialiseChild(m_children[i]);
        ++count;
    }
    const qint64 content = kHeaderHead + body.size();
    const qint64 slack = m_size - content;
    const qint64 padding = slack == 0 || slack >= kObjectHead ? slack : kGrowPadding;
    if (padding > 0) {
        body += objectBytes(kPadding, QByteArray(padding - kObjectHead, '\0'));
        ++count;
    }
    const qint64 total = content + padding;
    if (total != m_size && filePropertiesAt >= 0 && !(m_properties.flags & kBroadcastFlag))
        qToLittleEndian<quint64>(fileSize - m_size + total, body.data() + filePropertiesAt + 40);

    QByteArray out = guidToBytes(kHeaderObject);
    appendLE<quint64>(out, total);
    appendLE<quint32>(out, count);
    return out + m_reserved + body;
}

} // namespace tags::asf
