#pragma once

#include "status.h"

#include <QString>

namespace tags {

/// Stream values and Vorbis comments of an Ogg Vorbis file. Comments are offered as named
/// properties ("Title", "Artist", "Band", "Performer", "Genre", "Comment", ...).
class TOggVorbis {
public:
    bool KeepEmptyFields = true;

    Status ReadOggFile(const QString& path);
    Status WriteOggFile(const QString& path);

    /// A named property's text; empty for unknown names.
    QString field(const QString& property) const;
    void setField(const QString& property, const QString& value);
    /// True when `property` is one of the names above.
    static bool hasProperty(const QString& property);

    /// Empties every comment property.
    void clearFields();
    bool IsEmpty() const;

    int Track() const;
    void setTrack(int track);

    int BitRate() const { return m_bitRateNominal; }
    double Duration() const { return m_duration; }
    int SampleRate() const { return m_sampleRate; }
    int ChannelModeID() const { return m_channels; }
    QString ChannelMode() const;
    qint64 FileSize() const { return m_fileSize; }

    bool operator==(const TOggVorbis&) const = default;

private:
    int m_bitRateNominal = 0;
    double m_duration = 0;
    int m_sampleRate = 0;
    int m_channels = 0;
    qint64 m_fileSize = 0;
};

} // namespace tags
