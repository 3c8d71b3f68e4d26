#include "asfattribute.h"

#include <limits>

namespace tags::asf {

namespace {

template <typename T> QString numberText(const QByteArray& value) {
    if (value.size() < qsizetype(sizeof(T)))
        return {};
    return QString::number(readLE<T>(value, 0));
}

template <typename T> std::optional<QByteArray> encodeNumber(const QString& text) {
    bool ok = false;
    const quint64 number = text.toULongLong(&ok);
    if (!ok || number > std::numeric_limits<T>::max() || QString::number(number) != text)
        return std::nullopt;
    QByteArray out;
    appendLE<T>(out, T(number));
    return out;
}

} // namespace

QString decodeUtf16(QByteArrayView bytes) {
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(readLE<quint16>(bytes, 2 * i));
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isNull())
        --end;
    text.truncate(end);
    return text;
}

QByteArray encodeUtf16(const QString& text) {
    QByteArray out;
    out.reserve(2 * (text.size() + 1));
    for (QChar ch : text)
        appendLE<quint16>(out, ch.unicode());
    appendLE<quint16>(out, 0);
    return out;
}

QUuid guidFromBytes(QByteArrayView bytes) {
    if (bytes.size() < 16)
        return {};
    const auto* b = reinterpret_cast<const uchar*>(bytes.data());
    return QUuid(readLE<quint32>(bytes, 0), readLE<quint16>(bytes, 4), readLE<quint16>(bytes, 6),
                 b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
}

QByteArray guidToBytes(const QUuid& guid) {
    QByteArray out;
    appendLE<quint32>(out, guid.data1);
    appendLE<quint16>(out, guid.data2);
    appendLE<quint16>(out, guid.data3);
    out.append(reinterpret_cast<const char*>(guid.data4), 8);
    return out;
}

QString Attribute::text() const {
    switch (type) {
    case ValueType::Unicode:
        return decodeUtf16(value);
    case ValueType::Bool:
        return value.count('\0') == value.size() ? QStringLiteral("0") : QStringLiteral("1");
    case ValueType::DWord:
        return numberText<quint32>(value);
    case ValueType::QWord:
        return numberText<quint64>(value);
    case ValueType::Word:
        return numberText<quint16>(value);
    case ValueType::Guid:
        return value.size() < 16 ? QString()
                                 : guidFromBytes(value).toString(QUuid::WithBraces).toUpper();
    case ValueType::Bytes:
        break;
    }
    return {};
}

std::optional<QByteArray> encodeValue(ValueType type, const QString& text, Place place) {
    switch (type) {
    case ValueType::Unicode:
        return encodeUtf16(text);
    case ValueType::Bool: {
        if (text != QLatin1String("0") && text != QLatin1String("1"))
            return std::nullopt;
        const quint32 flag = text == QLatin1String("1");
        return place == Place::ExtendedContent ? encodeNumber<quint32>(QString::number(flag))
                                               : encodeNumber<quint16>(QString::number(flag));
    }
    case ValueType::DWord:
        return encodeNumber<quint32>(text);
    case ValueType::QWord:
        return encodeNumber<quint64>(text);
    case ValueType::Word:
        return encodeNumber<quint16>(text);
    case ValueType::Guid: {
        const QUuid guid = QUuid::fromString(text);
        if (guid.toString(QUuid::WithBraces).compare(text, Qt::CaseInsensitive) != 0)
            return std::nullopt;
        return guidToBytes(guid);
    }
    case ValueType::Bytes:
        break;
    }
    return std::nullopt;
}

} // namespace tags::asf
