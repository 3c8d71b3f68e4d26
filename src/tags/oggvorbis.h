#pragma once

#include "status.h"
#include "vorbiscomments.h"

#include <QByteArray>
#include <QString>

#include <climits>

class QIODevice;

namespace tags {

class VorbisHeaders;

/// The bytes a save replaces: `length` bytes at `offset` become `data`.
struct OggRewrite {
    qint64 offset = 0;
    qint64 length = 0;
    QByteArray data;
};

/// Stream values and Vorbis comments of an Ogg Vorbis file. Comments are offered as named
/// properties ("Title", "Artist", "Band", "Performer", "Genre", "Comment", ...); comments
/// without a property are kept and written back unchanged.
class TOggVorbis {
public:
    /// Keep blank TITLE, ARTIST, ALBUM and DATE entries that hold the positions of later
    /// ones (an empty Title in front of a SubTitle), so every entry keeps its role.
    bool KeepEmptyFields = true;

    Status ReadOggFile(const QString& path);
    /// Writes the comments into the file; the audio pages stay as they are.
    Status WriteOggFile(const QString& path);
    /// Reads stream values and comments from a whole file held by `device`.
    Status read(QIODevice& device);
    /// Works out what a save changes in the file held by `device`, which is read afresh.
    Status planWrite(QIODevice& device, OggRewrite& rewrite) const;

    /// Empties every property, stream values included; KeepEmptyFields stays as set.
    void Clear();
    void Assign(const TOggVorbis& source) { *this = source; }

    /// A named property's text; empty for unknown names.
    QString field(const QString& property) const { return m_comments.field(property); }
    void setField(const QString& property, const QString& value);
    /// True when `property` is one of the names above.
    static bool hasProperty(const QString& property);
    /// Removes every comment a property maps to; other comments (ReplayGain, pictures ...)
    /// stay.
    void clearFields() { m_comments.clearFields(); }
    /// True when every comment property is blank. The vendor string does not count: it is
    /// not a tag field, and counting it would make no file read from disk ever empty.
    bool IsEmpty() const { return m_comments.allFieldsBlank(); }
    /// True when the file has at least one comment a property maps to.
    bool TagExists() const { return m_comments.hasMappedComment(); }
    /// Vendor string and every comment, in stored order.
    const VorbisComments& comments() const { return m_comments; }

    /// The number at the start of TrackString (its first run of digits); 0 when none.
    int Track() const;
    /// Sets TrackString to the decimal number, or empties it for 0 and below.
    void setTrack(int track);

    /// Nominal bit rate in kbit/s; the average over the file when the stream gives none.
    int BitRate() const;
    /// The stream's nominal bit rate in kbit/s (0 when not given).
    int BitRateNominal() const { return int((qMax(m_nominalBitRate, 0) + 500) / 1000); }
    /// Seconds: the last granule position over the sample rate, or an estimate from the
    /// nominal bit rate when there is no granule position.
    double Duration() const;
    int SampleRate() const { return int(qMin<quint32>(m_sampleRate, INT_MAX)); }
    /// The number of channels.
    int ChannelModeID() const { return m_channels; }
    /// "Unknown", "Mono", "Stereo" or, for more channels, "6 channels" and so on.
    QString ChannelMode() const;
    qint64 FileSize() const { return m_fileSize; }
    /// Bytes of an ID3v2 tag in front of the Ogg stream.
    qint64 ID3v2Size() const { return m_id3v2Size; }
    /// 1 or 2 channels, a sample rate, more than 0.1 s and a bit rate.
    bool Valid() const;

    bool operator==(const TOggVorbis&) const = default;

private:
    bool takeIdentification(const QByteArray& packet);
    VorbisComments commentsToWrite(const VorbisComments& stored) const;
    qint64 streamBytes() const { return m_fileSize - m_id3v2Size; }

    int m_channels = 0;
    quint32 m_sampleRate = 0;
    qint64 m_nominalBitRate = 0; ///< bit/s, 0 or less when the encoder gave none
    qint64 m_samples = 0;        ///< granule position of the last page
    qint64 m_fileSize = 0;
    qint64 m_id3v2Size = 0;
    VorbisComments m_comments;
    /// False until comments were read from (or written to) the file; a save then applies
    /// the properties to the comments stored in the file instead of replacing them.
    bool m_commentsLoaded = false;
};

} // namespace tags
