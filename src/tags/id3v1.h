#pragma once

#include <QByteArray>
#include <QString>

namespace tags {

/// The 128-byte ID3v1/ID3v1.1 block at the end of an MPEG file, kept whole so it is
/// written back byte for byte. Text is Latin-1 on disk.
class ID3v1Block {
public:
    static constexpr int kSize = 128;
    enum Field { Title = 3, Artist = 33, Album = 63, Year = 93, Comment = 97 };
    static constexpr int kTrackMarker = 125; ///< 0 when byte 126 holds a track (ID3v1.1)
    static constexpr int kTrack = 126;
    static constexpr int kGenre = 127;

    ID3v1Block() { clear(); }

    /// All zero with genre 255.
    void clear();
    /// Takes 128 bytes read from the end of a file; false (and nothing taken) unless they
    /// start with "TAG".
    bool assign(const QByteArray& bytes);
    const QByteArray& bytes() const { return m_bytes; }
    /// The block with its "TAG" marker, ready to write.
    QByteArray withMarker() const;

    /// A field's text: trailing blanks and NULs removed, cut before the first NUL.
    QString read(Field field) const;
    /// Zero-fills the field and copies the first bytes of the Latin-1 text in.
    void write(Field field, const QString& text);
    static int length(Field field);

    /// 0 unless byte 125 is 0 (ID3v1.1).
    int track() const;
    /// Stores a track below 256 as ID3v1.1 (clears the marker byte).
    void setTrackByte(int value);
    int genre() const { return quint8(m_bytes[kGenre]); }
    void setGenre(int index) { m_bytes[kGenre] = char(quint8(index)); }
    quint8 byteAt(int offset) const { return quint8(m_bytes[offset]); }
    void setByteAt(int offset, quint8 value) { m_bytes[offset] = char(value); }
    /// The first three bytes ("TAG" for a block read from a file).
    QString marker() const;
    void setMarker(const QString& text);

    bool operator==(const ID3v1Block&) const = default;

private:
    QByteArray m_bytes;
};

} // namespace tags
