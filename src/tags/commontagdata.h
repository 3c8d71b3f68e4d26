#pragma once

#include <QString>
#include <array>

namespace tags {

/// The common tag record exchanged with playlists and the tag database client: the kind
/// ("0" MPEG, "1" Ogg, "2" WMA, "3" WAV), the tag code ("0" none, "1" ID3v1, "2" ID3v2,
/// "3" both) and 30 text slots (slot 1 is FileName ... slot 30 is SampleRate).
struct TCommonTagData {
    enum Slot {
        FileName = 1,
        FolderName,
        Artist,
        Title,
        Album,
        Comment,
        Genre,
        Year,
        Track,
        BitRate,
        TimeLength,
        Size,
        DateTime,
        Language,
        BPM,
        Composer,
        Conductor,
        SubTitle,
        Content,
        RemixedBy,
        Band,
        OriginalArtist,
        OriginalAlbum,
        InitialKey,
        PartOfSet,
        PlaylistDelay,
        OriginalYear,
        Copyright,
        Contact,
        SampleRate
    };
    QString kind = QStringLiteral("0");
    QString tagCode = QStringLiteral("0");
    std::array<QString, 31> values; ///< indexed by Slot; index 0 unused

    QString& operator[](Slot slot) { return values[size_t(slot)]; }
    const QString& operator[](Slot slot) const { return values[size_t(slot)]; }
    bool operator==(const TCommonTagData&) const = default;
};

} // namespace tags
