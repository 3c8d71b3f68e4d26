#include "fields.h"

#include "id3v1.h"

namespace tags {

namespace {

const char* const kFieldNames[kFieldCount] = {"Title",
                                              "SubTitle",
                                              "Artist",
                                              "Band",
                                              "Conductor",
                                              "RemixedBy",
                                              "Album",
                                              "Year",
                                              "Comment",
                                              "Genre",
                                              "GenreStr",
                                              "Track",
                                              "Language",
                                              "Mood",
                                              "Situation",
                                              "Tempo",
                                              "BPM",
                                              "Content",
                                              "Composer",
                                              "OriginalArtist",
                                              "OriginalLyricist",
                                              "OriginalAlbum",
                                              "OriginalYear",
                                              "Copyright",
                                              "Publisher",
                                              "Contact",
                                              "ISRC",
                                              "Lyrics",
                                              "CopyrightURL",
                                              "AudioFileURL",
                                              "AudioSourceURL",
                                              "AuthorURL",
                                              "EncodedBy",
                                              "EncodingSettings",
                                              "EncodingTime",
                                              "InitialKey",
                                              "OriginalFilename",
                                              "PartOfSet",
                                              "PlaylistDelay",
                                              "RadioStationName",
                                              "RadioStationOwner",
                                              "Writer"};

// The pairings of OriginalYear with TDAT, Lyrics with TXXX and Contact with WXXX are what
// files written by earlier versions hold; keep them.
const ExtendedFieldMapping kExtended[] = {
    {Field::SubTitle, "SubTitle", "SubTitle", "TIT3"},
    {Field::Band, "Band", "Author", "TPE2"},
    {Field::Conductor, "Performer", "Conductor", "TPE3"},
    {Field::RemixedBy, "RemixedBy", "ModifiedBy", "TPE4"},
    {Field::Language, "", "Language", "TLAN"},
    {Field::BPM, "BPM", "BeatsPerMinute", "TBPM"},
    {Field::Content, "Content", "ContentGroupDescription", "TIT1"},
    {Field::Composer, "Composer", "Composer", "TCOM"},
    {Field::OriginalArtist, "OriginalArtist", "OriginalArtist", "TOPE"},
    {Field::OriginalLyricist, "OriginalLyricist", "OriginalLyricist", "TOLY"},
    {Field::OriginalAlbum, "OriginalAlbum", "OriginalAlbumTitle", "TOAL"},
    {Field::OriginalYear, "OriginalYear", "OriginalReleaseYear", "TDAT"},
    {Field::Copyright, "Copyright", "Copyright", "TCOP"},
    {Field::Publisher, "Organization", "Publisher", "TPUB"},
    {Field::Contact, "Contact", "", "WXXX"},
    {Field::ISRC, "ISRC", "ISRC", "TSRC"},
    {Field::Lyrics, "Lyrics", "Lyrics", "TXXX"},
    {Field::CopyrightURL, "", "CopyrightURL", "WCOP"},
    {Field::AudioFileURL, "", "AudioFileURL", "WOAF"},
    {Field::AudioSourceURL, "", "AudioSourceURL", "WOAS"},
    {Field::AuthorURL, "", "AuthorURL", "WOAR"},
    {Field::EncodedBy, "", "EncodedBy", "TENC"},
    {Field::EncodingSettings, "", "EncodingSettings", "TSSE"},
    {Field::EncodingTime, "", "EncodingTime", "TDEN"},
    {Field::InitialKey, "", "InitialKey", "TKEY"},
    {Field::OriginalFilename, "", "OriginalFilename", "TOFN"},
    {Field::PartOfSet, "", "PartOfSet", "TPOS"},
    {Field::PlaylistDelay, "", "PlaylistDelay", "TDLY"},
    {Field::RadioStationName, "", "RadioStationName", "TRSN"},
    {Field::RadioStationOwner, "", "RadioStationOwner", "TRSO"},
    {Field::Writer, "", "Writer", "TEXT"},
};

const MainFieldMapping kMain[] = {
    {Field::Title, "Title", "Title", "TIT2", ID3v1Block::Title},
    {Field::Artist, "Artist", "Artist", "TPE1", ID3v1Block::Artist},
    {Field::Album, "Album", "Album", "TALB", ID3v1Block::Album},
    {Field::Year, "Year", "Year", "TYER", ID3v1Block::Year},
    {Field::Comment, "Comment", "Comment", "COMM", ID3v1Block::Comment},
};

} // namespace

const MainFieldMapping* mainMapping(Field field) {
    for (const MainFieldMapping& mapping : kMain)
        if (mapping.field == field)
            return &mapping;
    return nullptr;
}

int leadingNumber(const QString& text) {
    int value = 0;
    for (QChar c : text) {
        if (!c.isDigit() || value > 100'000'000)
            break;
        value = value * 10 + c.digitValue();
    }
    return value;
}

QString cutAtNul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString fieldName(Field field) {
    return QString::fromLatin1(kFieldNames[int(field)]);
}

std::optional<Field> fieldFromName(const QString& name) {
    for (int i = 0; i < kFieldCount; ++i)
        if (name.compare(QLatin1String(kFieldNames[i]), Qt::CaseInsensitive) == 0)
            return Field(i);
    return std::nullopt;
}

const ExtendedFieldMapping* extendedMapping(Field field) {
    for (const ExtendedFieldMapping& mapping : kExtended)
        if (mapping.field == field)
            return &mapping;
    return nullptr;
}

} // namespace tags
