#pragma once

#include <QString>
#include <optional>

namespace tags {

/// The 42 unified tag fields every audio object offers, whatever its format.
enum class Field {
    Title,
    SubTitle,
    Artist,
    Band,
    Conductor,
    RemixedBy,
    Album,
    Year,
    Comment,
    Genre,
    GenreStr,
    Track,
    Language,
    Mood,
    Situation,
    Tempo,
    BPM,
    Content,
    Composer,
    OriginalArtist,
    OriginalLyricist,
    OriginalAlbum,
    OriginalYear,
    Copyright,
    Publisher,
    Contact,
    ISRC,
    Lyrics,
    CopyrightURL,
    AudioFileURL,
    AudioSourceURL,
    AuthorURL,
    EncodedBy,
    EncodingSettings,
    EncodingTime,
    InitialKey,
    OriginalFilename,
    PartOfSet,
    PlaylistDelay,
    RadioStationName,
    RadioStationOwner,
    Writer
};
constexpr int kFieldCount = int(Field::Writer) + 1;

/// Where a field that follows the shared rule lives in each format; empty where the
/// format has no place for it.
struct ExtendedFieldMapping {
    Field field;
    const char* oggProperty;
    const char* wmaProperty;
    const char* frameId;
};

/// Where a main field (Title, Artist, Album, Year, Comment) lives in each format.
struct MainFieldMapping {
    Field field;
    const char* oggProperty;
    const char* wmaProperty;
    const char* frameId;
    int v1Field; ///< an ID3v1Block::Field
};

/// The field's name as used in scripts, exports and the command line ("Title", ...).
QString fieldName(Field field);
std::optional<Field> fieldFromName(const QString& name);
/// The shared-rule mapping of a field, or nullptr for the main fields with rules of their own.
const ExtendedFieldMapping* extendedMapping(Field field);
/// The mapping of Title, Artist, Album, Year and Comment; nullptr for other fields.
const MainFieldMapping* mainMapping(Field field);

/// The value of the leading decimal digits of a text ("5/12" gives 5), 0 when there are none.
int leadingNumber(const QString& text);
/// The text cut before its first NUL character.
QString cutAtNul(const QString& text);

} // namespace tags
