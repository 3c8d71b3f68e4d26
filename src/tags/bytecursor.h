#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tags {

/// The text encodings an ID3v2 frame names in its encoding byte.
enum Id3Encoding : quint8 { kLatin1 = 0, kUtf16 = 1, kUtf16BE = 2, kUtf8 = 3 };

/// Decodes one string (without terminator). UTF-16 follows a leading byte-order mark of either
/// order and is read little-endian without one; an unknown encoding is read as Latin-1.
QString DecodeId3Text(quint8 encoding, QByteArrayView bytes);
/// Encodes one string without terminator; UTF-16 (encoding 1) starts with the FF FE mark.
QByteArray EncodeId3Text(quint8 encoding, const QString& text);
/// The string terminator of an encoding: two NUL bytes for UTF-16, one otherwise.
QByteArray Id3Terminator(quint8 encoding);
/// The encoding Varlo writes for a text: 0 when every character is Latin-1, else 1.
quint8 Id3EncodingFor(const QString& text);

/// Inserts a 0x00 after every 0xFF that is followed by 0x00, by a byte of 0xE0 or more, or by
/// nothing (ID3v2 unsynchronisation).
QByteArray Unsynchronise(QByteArrayView bytes);
/// Removes every 0x00 that directly follows a 0xFF.
QByteArray Resynchronise(QByteArrayView bytes);

/// Appends `byteCount` bytes of `value`, most significant first.
void AppendBE(QByteArray& out, int byteCount, quint64 value);
/// Appends `byteCount` bytes holding 7 bits each, most significant first.
void AppendSyncSafe(QByteArray& out, int byteCount, quint64 value);

/// Read cursor over a byte string (held by reference, so the bytes must outlive it). Every
/// read takes at most the bytes that remain; nothing reads past the end.
class TBuf {
public:
    explicit TBuf(QByteArrayView bytes) : m_bytes(bytes) {}

    qsizetype position() const { return m_pos; } ///< 0-based offset of the next byte
    qsizetype length() const { return m_bytes.size(); }
    qsizetype remaining() const { return m_bytes.size() - m_pos; }
    void seek(qsizetype position) { m_pos = qBound(qsizetype(0), position, m_bytes.size()); }
    void skip(qsizetype count) { seek(m_pos + qMax(qsizetype(0), qMin(count, remaining()))); }
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    /// At the end, or at a NUL byte (where a tag's padding starts).
    bool atPadding() const { return atEnd() || m_bytes[m_pos] == '\0'; }
    QByteArrayView rest() const { return m_bytes.sliced(m_pos); }

    quint8 encoding() const { return m_encoding; }
    void setEncoding(quint8 encoding) { m_encoding = encoding; }
    /// Reads the encoding byte (0 at the end).
    quint8 ReadEncoding();

    QByteArray ReadRaw(qsizetype count);
    /// `count` bytes decoded in the current encoding.
    QString ReadBytes(qsizetype count);
    /// ReadBytes, cut before the first NUL character.
    QString ReadFixed(qsizetype count);
    /// The bytes up to the terminator of the current encoding (two NULs at an even offset for
    /// UTF-16), decoded; the cursor moves past the terminator.
    QString ReadZString();
    /// As ReadZString, undecoded.
    QByteArray ReadRawZString();
    /// A NUL-terminated Latin-1 string, whatever the current encoding.
    QString ReadLatin1ZString();
    /// `count` (at most 8) bytes as a big-endian number.
    quint64 ReadBE(int count);
    /// `count` bytes holding 7 bits each.
    quint64 ReadSyncSafe(int count);

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    quint8 m_encoding = kLatin1;
};

} // namespace tags
