#pragma once

#include <QByteArray>
#include <QSet>

namespace settings {

/// Value name of the short genre list in the store's "Settings" group ("D:" typed value).
inline constexpr char kShortGenreList[] = "ShortGenreList";
/// The genre number that stands for "no genre"; it is always on the short list.
inline constexpr int kNoGenre = 255;

/// The genres shown on the short genre list before the user chooses any.
QSet<int> defaultShortGenreList();
/// The stored form: 32 bytes, bit (n mod 32) of little-endian 32-bit word (n div 32) for
/// genre n. Numbers outside 0 to 255 are left out.
QByteArray encodeShortGenreList(const QSet<int>& genres);
/// Reads the stored form; false (genres untouched) when it is not 32 bytes.
bool decodeShortGenreList(QByteArrayView stored, QSet<int>& genres);

} // namespace settings
