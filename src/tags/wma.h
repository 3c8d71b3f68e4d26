#pragma once

#include "status.h"

#include <QString>

namespace tags {

/// Header attributes of a WMA (ASF) file, kept as text in numbered slots and offered as
/// named properties ("Title", "Artist", "Author", "Conductor", "Genre", ...).
class TWMA {
public:
    Status ReadWmaFile(const QString& path);
    Status WriteWmaFile(const QString& path);

    /// A named property's text (cut before the first NUL); empty for unknown names.
    QString property(const QString& name) const;
    void setProperty(const QString& name, const QString& value);
    static bool hasProperty(const QString& name);

    /// Empties slots 5 to 73.
    void Clear();
    bool IsEmpty() const;

    int Track() const;
    void setTrack(int track);
    /// Genre index of "WM/GenreID"; 255 when blank or not a number.
    int GenreId() const;
    void setGenreId(int id);

    int BitRate() const { return 0; }
    qint64 Duration() const { return 0; }
    int SampleRate() const { return 0; }
    int ChannelModeID() const { return 0; }
    QString ChannelMode() const;
    qint64 FileSize() const { return 0; }

    bool operator==(const TWMA&) const = default;
};

} // namespace tags
