#include "bytecursor.h"

namespace tags {

namespace {

bool isUtf16(quint8 encoding) {
    return encoding == kUtf16 || encoding == kUtf16BE;
}

QString decodeUtf16(QByteArrayView bytes, bool bigEndian) {
    if (bytes.size() >= 2) {
        const quint8 b0 = quint8(bytes[0]), b1 = quint8(bytes[1]);
        if ((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF)) {
            bigEndian = b0 == 0xFE;
            bytes = bytes.sliced(2);
        }
    }
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const quint8 hi = quint8(bytes[2 * i + (bigEndian ? 0 : 1)]);
        const quint8 lo = quint8(bytes[2 * i + (bigEndian ? 1 : 0)]);
        text[i] = QChar(char16_t((hi << 8) | lo));
    }
    return text;
}

} // namespace

QString DecodeId3Text(quint8 encoding, QByteArrayView bytes) {
    switch (encoding) {
    case kUtf16:
        return decodeUtf16(bytes, false);
    case kUtf16BE:
        return decodeUtf16(bytes, true);
    case kUtf8:
        if (bytes.startsWith("\xEF\xBB\xBF"))
            bytes = bytes.sliced(3);
        return QString::fromUtf8(bytes);
    default:
        return QString::fromLatin1(bytes);
    }
}

QByteArray EncodeId3Text(quint8 encoding, const QString& text) {
    switch (encoding) {
    case kUtf16: {
        QByteArray out("\xFF\xFE", 2);
        out.reserve(2 + text.size() * 2);
        for (QChar c : text) {
            out += char(c.unicode() & 0xFF);
            out += char(c.unicode() >> 8);
        }
        return out;
    }
    case kUtf16BE: {
        QByteArray out;
        for (QChar c : text) {
            out += char(c.unicode() >> 8);
            out += char(c.unicode() & 0xFF);
        }
        return out;
    }
    case kUtf8:
        return text.toUtf8();
    default:
        return text.toLatin1();
    }
}

QByteArray Id3Terminator(quint8 encoding) {
    return QByteArray(isUtf16(encoding) ? 2 : 1, '\0');
}

quint8 Id3EncodingFor(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return kUtf16;
    return kLatin1;
}

QByteArray Unsynchronise(QByteArrayView bytes) {
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 64 + 1);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        out += bytes[i];
        if (quint8(bytes[i]) != 0xFF)
            continue;
        if (i + 1 == bytes.size() || bytes[i + 1] == '\0' || quint8(bytes[i + 1]) >= 0xE0)
            out += '\0';
    }
    return out;
}

QByteArray Resynchronise(QByteArrayView bytes) {
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        out += bytes[i];
        if (quint8(bytes[i]) == 0xFF && i + 1 < bytes.size() && bytes[i + 1] == '\0')
            ++i;
    }
    return out;
}

void AppendBE(QByteArray& out, int byteCount, quint64 value) {
    for (int i = byteCount - 1; i >= 0; --i)
        out += char((value >> (8 * i)) & 0xFF);
}

void AppendSyncSafe(QByteArray& out, int byteCount, quint64 value) {
    for (int i = byteCount - 1; i >= 0; --i)
        out += char((value >> (7 * i)) & 0x7F);
}

quint8 TBuf::ReadEncoding() {
    m_encoding = atEnd() ? quint8(kLatin1) : quint8(m_bytes[m_pos++]);
    return m_encoding;
}

QByteArray TBuf::ReadRaw(qsizetype count) {
    const qsizetype n = qBound(qsizetype(0), count, remaining());
    const QByteArray bytes = m_bytes.sliced(m_pos, n).toByteArray();
    m_pos += n;
    return bytes;
}

QString TBuf::ReadBytes(qsizetype count) {
    return DecodeId3Text(m_encoding, ReadRaw(count));
}

QString TBuf::ReadFixed(qsizetype count) {
    const QString text = ReadBytes(count);
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QByteArray TBuf::ReadRawZString() {
    const QByteArrayView rest = this->rest();
    const qsizetype step = isUtf16(m_encoding) ? 2 : 1;
    qsizetype end = 0;
    while (end + step <= rest.size() && !(rest[end] == '\0' && rest[end + step - 1] == '\0'))
        end += step;
    if (end + step > rest.size()) { // no terminator: the string runs to the end
        m_pos = m_bytes.size();
        return rest.toByteArray();
    }
    m_pos += end + step;
    return rest.first(end).toByteArray();
}

QString TBuf::ReadZString() {
    return DecodeId3Text(m_encoding, ReadRawZString());
}

QString TBuf::ReadLatin1ZString() {
    const quint8 saved = m_encoding;
    m_encoding = kLatin1;
    const QString text = ReadZString();
    m_encoding = saved;
    return text;
}

quint64 TBuf::ReadBE(int count) {
    quint64 value = 0;
    for (const char byte : ReadRaw(qMin(count, 8)))
        value = (value << 8) | quint8(byte);
    return value;
}

quint64 TBuf::ReadSyncSafe(int count) {
    quint64 value = 0;
    for (const char byte : ReadRaw(qMin(count, 8)))
        value = (value << 7) | (quint8(byte) & 0x7F);
    return value;
}

} // namespace tags
