#include "shortgenrelist.h"

namespace settings {

namespace {
constexpr qsizetype kStoredSize = 32;
} // namespace

QSet<int> defaultShortGenreList() {
    return {3, 8, 12, 14, 18, 21, 25, 33, 106};
}

QByteArray encodeShortGenreList(const QSet<int>& genres) {
    // Little-endian words make bit n of the whole block bit (n mod 8) of byte (n div 8).
    QByteArray stored(kStoredSize, '\0');
    for (int genre : genres)
        if (genre >= 0 && genre < kStoredSize * 8)
            stored[genre / 8] = char(quint8(stored[genre / 8]) | (1u << (genre % 8)));
    return stored;
}

bool decodeShortGenreList(QByteArrayView stored, QSet<int>& genres) {
    if (stored.size() != kStoredSize)
        return false;
    genres.clear();
    for (int genre = 0; genre < kStoredSize * 8; ++genre)
        if (quint8(stored[genre / 8]) & (1u << (genre % 8)))
            genres.insert(genre);
    return true;
}

} // namespace settings
