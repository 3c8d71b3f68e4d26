#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QUuid>
#include <QtEndian>

#include <optional>

namespace tags::asf {

/// A little-endian number at byte `at`; the caller has checked that it lies inside.
template <typename T> T readLE(QByteArrayView bytes, qsizetype at) {
    return qFromLittleEndian<T>(bytes.data() + at);
}

template <typename T> void appendLE(QByteArray& out, T value) {
    char buffer[sizeof(T)];
    qToLittleEndian(value, buffer);
    out.append(buffer, sizeof(T));
}

/// UTF-16LE code units copied one to one (unpaired surrogates survive), without the
/// terminating NULs.
QString decodeUtf16(QByteArrayView bytes);
/// UTF-16LE with a terminating NUL, as ASF stores strings.
QByteArray encodeUtf16(const QString& text);

/// Attribute value types, numbered as in the ASF standard.
enum class ValueType : quint16 {
    Unicode = 0,
    Bytes = 1,
    Bool = 2,
    DWord = 3,
    QWord = 4,
    Word = 5,
    Guid = 6,
};

/// The header objects that carry attributes, in the order a name is looked up.
enum class Place : quint8 { ContentDescription, ExtendedContent, Metadata, MetadataLibrary };

/// A GUID read from its 16 bytes (first three fields little-endian, as ASF stores them).
QUuid guidFromBytes(QByteArrayView bytes);
/// The 16 bytes ASF stores for a GUID.
QByteArray guidToBytes(const QUuid& guid);

/// One attribute record as it is stored in one attribute object.
struct Attribute {
    QString name;       ///< the name without its terminator
    QByteArray rawName; ///< the name bytes as stored
    ValueType type = ValueType::Unicode;
    QByteArray value;     ///< the value bytes as stored
    quint16 language = 0; ///< language list index (metadata library objects)
    quint16 stream = 0;   ///< 0 when the value belongs to the whole file
    int owner = -1;       ///< the attribute object holding the record

    /// The value as text: strings without their terminator, numbers in decimal (exact for
    /// 64-bit values), BOOL as 0 or 1, GUIDs in braces; empty for byte arrays.
    QString text() const;
};

/// Encodes `text` as a value of `type` for an object at `place`; nothing when the text does
/// not convert without loss (it must read back as the same text).
std::optional<QByteArray> encodeValue(ValueType type, const QString& text, Place place);

} // namespace tags::asf
