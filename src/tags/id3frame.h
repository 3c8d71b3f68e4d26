#pragma once

#include <QByteArray>
#include <QString>

namespace tags {

/// One ID3v2 frame: its id and body as read (decompressed and resynchronised), without the
/// frame header. The text form (lines separated by CR LF) is how the rest of Varlo reads
/// and writes a frame.
struct TID3Frame {
    QByteArray id;        ///< four characters (three for an unmapped ID3v2.2 id)
    quint16 flags = 0;    ///< the two flag bytes as read, first byte in the high half
    quint8 groupId = 0;   ///< set when the grouping flag was present
    int pictureStart = 0; ///< APIC: 1-based position of the first picture byte
    QByteArray body;

    bool operator==(const TID3Frame&) const = default;
};

/// The frame's text form, by frame id.
QString GetFrameText(TID3Frame& frame);
/// Sets the frame's body from a text form, by frame id.
void SetFrameText(TID3Frame& frame, const QString& text);

/// TCON: genre index ("(n)" or a known name), 255 for none.
int GenreIndexOf(const TID3Frame& frame);
/// TCON: the genre text without a leading "(n)", or the name of the index.
QString GenreTextOf(const TID3Frame& frame);
/// TCON := "(n)Name", or empty for 255.
void SetGenreIndex(TID3Frame& frame, int index);
void SetGenreText(TID3Frame& frame, const QString& text);

} // namespace tags
