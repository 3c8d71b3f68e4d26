#pragma once

#include "status.h"

#include <QString>

#include <array>

namespace tags {

namespace asf {
class Header;
}

/// Header attributes of a WMA (ASF) file, kept as text in numbered slots and offered as
/// named properties ("Title", "Artist", "Author", "Conductor", "Genre", ...).
///
/// Slots 1-4 are stream values (bit rate, duration, file size, VBR flag) and read-only;
/// slots 5-73 are attributes. A save writes only the slots that differ from the file and
/// leaves every other attribute and the audio data as they are.
class TWMA {
public:
    static constexpr int kSlotCount = 74;
    static constexpr int kFirstTagSlot = 5;

    /// Reads attributes and stream values. On failure the object keeps what it held.
    Status ReadWmaFile(const QString& path);
    /// Writes the slots 5-73 that differ from the file's present values.
    Status WriteWmaFile(const QString& path);
    /// WMA support needs no outside runtime here; kept for callers that ask.
    static bool RuntimeAvailable() { return true; }

    /// Fills the slots from a parsed header; `fileSize` is the size of the whole file.
    void assignFrom(const asf::Header& header, qint64 fileSize);
    /// Gives the header every writable slot whose text differs from what the header holds;
    /// false when an attribute found no room.
    bool applyTo(asf::Header& header) const;

    /// A named property's text (cut before the first NUL); empty for unknown names.
    QString property(const QString& name) const;
    void setProperty(const QString& name, const QString& value);
    static bool hasProperty(const QString& name);

    /// The text of slot 0-73, empty outside that range.
    QString slot(int index) const;
    /// Sets a slot; read-only slots (1-4) and binary ones (pictures, cues) are left alone.
    void setSlot(int index, const QString& text);
    /// The attribute name of a slot ("WM/AlbumArtist"), empty for slot 0 and outside.
    static QString attributeName(int index);

    /// The slot whose editor identifier ("g_wszWMAlbumArtist") is `identifier`; unknown
    /// identifiers read empty and write nothing.
    QString GetByIdentifier(const QString& identifier) const;
    void SetByIdentifier(const QString& identifier, const QString& text);

    /// Empties slots 5 to 73.
    void Clear();
    /// True when every slot 5-73, cut before its first NUL and trimmed, is empty.
    bool IsEmpty() const;
    /// Copies stream values and slots 1-73 from `source`.
    void Assign(const TWMA& source) { *this = source; }

    /// The leading digits of "WM/TrackNumber" ("6/15" gives 6); 0 when there are none.
    int Track() const;
    void setTrack(int track);
    /// Genre index of "WM/GenreID"; 255 when blank, not a number or above 255.
    int GenreId() const;
    /// Stores the index in "WM/GenreID"; 255 (no genre) empties it.
    void setGenreId(int id);

    quint32 PCDJGain() const;
    void setPCDJGain(quint32 value);
    quint32 PCDJRating() const;
    void setPCDJRating(quint32 value);
    quint32 PCDJCdCode() const;
    void setPCDJCdCode(quint32 value);

    /// kbit/s, fraction cut off.
    int BitRate() const;
    /// Whole seconds of the play duration without the preroll.
    qint64 Duration() const;
    int SampleRate() const { return m_sampleRate; }
    int ChannelModeID() const { return m_channels; }
    /// "Unknown", "Mono" or "Stereo".
    QString ChannelMode() const;
    qint64 FileSize() const;
    bool isVbr() const;

    bool operator==(const TWMA&) const = default;

private:
    quint64 slotNumber(int index) const;
    static int propertySlot(const QString& name);

    std::array<QString, kSlotCount> m_slots;
    int m_channels = 0;
    int m_sampleRate = 0;
};

} // namespace tags
