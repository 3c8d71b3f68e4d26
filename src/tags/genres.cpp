#include "genres.h"

#include <QHash>

namespace tags::GenreNames {

namespace {

const char* const kNames[kCount] = {"Blues",
                                    "Classic Rock",
                                    "Country",
                                    "Dance",
                                    "Disco",
                                    "Funk",
                                    "Grunge",
                                    "Hip-Hop",
                                    "Jazz",
                                    "Metal",
                                    "New Age",
                                    "Oldies",
                                    "Other",
                                    "Pop",
                                    "R&B",
                                    "Rap",
                                    "Reggae",
                                    "Rock",
                                    "Techno",
                                    "Industrial",
                                    "Alternative",
                                    "Ska",
                                    "Death Metal",
                                    "Pranks",
                                    "Soundtrack",
                                    "Euro-Techno",
                                    "Ambient",
                                    "Trip-Hop",
                                    "Vocal",
                                    "Jazz+Funk",
                                    "Fusion",
                                    "Trance",
                                    "Classical",
                                    "Instrumental",
                                    "Acid",
                                    "House",
                                    "Game",
                                    "Sound Clip",
                                    "Gospel",
                                    "Noise",
                                    "Alt. Rock",
                                    "Bass",
                                    "Soul",
                                    "Punk",
                                    "Space",
                                    "Meditative",
                                    "Instrumental Pop",
                                    "Instrumental Rock",
                                    "Ethnic",
                                    "Gothic",
                                    "Darkwave",
                                    "Techno-Industrial",
                                    "Electronic",
                                    "Pop-Folk",
                                    "Eurodance",
                                    "Dream",
                                    "Southern Rock",
                                    "Comedy",
                                    "Cult",
                                    "Gangsta Rap",
                                    "Top 40",
                                    "Christian Rap",
                                    "Pop/Funk",
                                    "Jungle",
                                    "Native American",
                                    "Cabaret",
                                    "New Wave",
                                    "Psychedelic",
                                    "Rave",
                                    "Showtunes",
                                    "Trailer",
                                    "Lo-Fi",
                                    "Tribal",
                                    "Acid Punk",
                                    "Acid Jazz",
                                    "Polka",
                                    "Retro",
                                    "Musical",
                                    "Rock & Roll",
                                    "Hard Rock",
                                    "Folk",
                                    "Folk/Rock",
                                    "National Folk",
                                    "Swing",
                                    "Fast-Fusion",
                                    "Bebob",
                                    "Latin",
                                    "Revival",
                                    "Celtic",
                                    "Bluegrass",
                                    "Avantgarde",
                                    "Gothic Rock",
                                    "Progressive Rock",
                                    "Psychedelic Rock",
                                    "Symphonic Rock",
                                    "Slow Rock",
                                    "Big Band",
                                    "Chorus",
                                    "Easy Listening",
                                    "Acoustic",
                                    "Humour",
                                    "Speech",
                                    "Chanson",
                                    "Opera",
                                    "Chamber Music",
                                    "Sonata",
                                    "Symphony",
                                    "Booty Bass",
                                    "Primus",
                                    "Porn Groove",
                                    "Satire",
                                    "Slow Jam",
                                    "Club",
                                    "Tango",
                                    "Samba",
                                    "Folklore",
                                    "Ballad",
                                    "Power Ballad",
                                    "Rhythmic Soul",
                                    "Freestyle",
                                    "Duet",
                                    "Punk Rock",
                                    "Drum Solo",
                                    "A Cappella",
                                    "Euro-House",
                                    "Dance Hall",
                                    "Goa",
                                    "Drum & Bass",
                                    "Club-House",
                                    "Hardcore",
                                    "Terror",
                                    "Indie",
                                    "BritPop",
                                    "Negerpunk",
                                    "Polsk Punk",
                                    "Beat",
                                    "Christian Gangsta Rap",
                                    "Heavy Metal",
                                    "Black Metal",
                                    "Crossover",
                                    "Contemporary Christian",
                                    "Christian Rock",
                                    "Merengue",
                                    "Salsa",
                                    "Thrash Metal",
                                    "Anime",
                                    "JPop",
                                    "Synthpop"};

// Spellings other taggers write for the same genres.
const struct {
    const char* name;
    int index;
} kAlternatives[] = {{"Folk-Rock", 81},  {"Folk Rock", 81},   {"Bebop", 85},
                     {"Punk-Rock", 121}, {"Neger Punk", 133}, {"Negro Punk", 133},
                     {"Afro-Punk", 133}};

const QHash<QString, int>& indexByFoldedName() {
    static const QHash<QString, int> map = [] {
        QHash<QString, int> m;
        for (int i = 0; i < kCount; ++i)
            m.insert(QString::fromLatin1(kNames[i]).toCaseFolded(), i);
        for (const auto& alt : kAlternatives)
            m.insert(QString::fromLatin1(alt.name).toCaseFolded(), alt.index);
        return m;
    }();
    return map;
}

} // namespace

const QStringList& names() {
    static const QStringList list = [] {
        QStringList l;
        for (const char* name : kNames)
            l << QString::fromLatin1(name);
        return l;
    }();
    return list;
}

QString NameOf(int index) {
    if (index == kNone)
        return {};
    if (index >= 0 && index < kCount)
        return names().at(index);
    return QStringLiteral("Unknown %1").arg(index);
}

int IndexOf(const QString& text) {
    if (text.startsWith(QLatin1Char('('))) {
        const int close = text.indexOf(QLatin1Char(')'));
        if (close >= 2) {
            bool ok = false;
            const int n = text.mid(1, close - 1).toInt(&ok);
            return ok && n >= 0 && n < 256 ? n : kNone;
        }
    }
    return indexByFoldedName().value(text.toCaseFolded(), kNone);
}

} // namespace tags::GenreNames
