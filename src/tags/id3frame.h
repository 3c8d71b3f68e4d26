#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tags {

/// One ID3v2 frame: its id and body as read (decompressed and resynchronised), without the
/// frame header. The text form (lines separated by CR LF) is how the rest of Varlo reads
/// and writes a frame.
///
/// A frame Varlo cannot decode (encrypted, or compressed data that does not inflate) is kept
/// `opaque`: its body is the stored data, and it is written back unchanged with its flags.
struct TID3Frame {
    QByteArray id;        ///< four characters (three for an unmapped ID3v2.2 id)
    quint16 flags = 0;    ///< the two flag bytes as read, first byte in the high half, in the
                          ///< layout of the tag's version (TID3v2::version)
    quint8 groupId = 0;   ///< set when the grouping flag was present
    int pictureStart = 0; ///< APIC: 1-based position of the first picture byte
    QByteArray body;
    bool opaque = false;         ///< body is stored data that could not be decoded
    quint8 encryptionMethod = 0; ///< opaque encrypted frames: the method byte
    quint32 dataLength = 0;      ///< opaque compressed frames: the size once inflated

    bool operator==(const TID3Frame&) const = default;
};

/// The frame's text form, by frame id:
/// - text frames (T...): the first value; TXXX: the first value after the description;
/// - URL frames (W...): the URL; WXXX: the URL after the description;
/// - COMM: language, description, text, each followed by CR LF;
/// - USLT: language CR LF description CR LF lyrics;
/// - APIC: MIME type, picture type, description, each followed by CR LF (sets pictureStart);
/// - GEOB: MIME type, file name, description, each followed by CR LF;
/// - IPLS: every name followed by CR LF; UFID: the owner; PCNT: the counter in decimal;
/// - PRIV and RVRB: the body as Latin-1; an opaque frame: empty; others "<Not supported>".
QString GetFrameText(TID3Frame& frame);
/// Sets the frame's body from a text form, by frame id (the inverse of GetFrameText where a
/// text form is defined; APIC, GEOB, UFID and unsupported ids are left unchanged; PRIV appends
/// the text as bytes). Picks encoding 0 when every character is Latin-1, else UTF-16. TXXX and
/// WXXX keep their description.
void SetFrameText(TID3Frame& frame, const QString& text);

/// Splits a text form into lines: CR, LF or CR LF end a line, a NUL ends the whole text.
QStringList SplitTextForm(const QString& text);

/// Every value of a text frame (ID3v2.4 separates several with NULs); TXXX without its
/// description.
QStringList FrameValues(const TID3Frame& frame);
/// TXXX / WXXX: the description.
QString UserFrameDescription(const TID3Frame& frame);
/// TXXX / WXXX: sets the description; the value stays.
void SetUserFrameDescription(TID3Frame& frame, const QString& description);

/// Re-encodes UTF-16BE and UTF-8 strings (encodings 2 and 3, which ID3v2.3 lacks) as UTF-16
/// with BOM in the frames whose layout Varlo knows; other frames are left alone.
void ConvertToV23Encoding(TID3Frame& frame);

/// TCON: genre index ("(n)", a plain number or a known name), 255 for none.
int GenreIndexOf(const TID3Frame& frame);
/// TCON: the genre text without a leading "(n)", or the name of the index.
QString GenreTextOf(const TID3Frame& frame);
/// TCON := "(n)Name", or empty for 255.
void SetGenreIndex(TID3Frame& frame, int index);
void SetGenreText(TID3Frame& frame, const QString& text);

} // namespace tags
