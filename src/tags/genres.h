#pragma once

#include <QString>
#include <QStringList>

namespace tags {

/// The ID3v1 genre index space shared by every format: 148 names for the indexes 0-147,
/// and 255 for "no genre". Index <-> name, independent of how a list shows the names.
namespace GenreNames {

constexpr int kNone = 255;
constexpr int kCount = 148;

/// The names in index order.
const QStringList& names();

/// Name of an index: empty for 255, "Unknown n" for an index with no name.
QString NameOf(int index);

/// Index of a genre text: "(n)" gives n (255 when n is over 255 or not a number); a name is
/// matched whole and without regard to case, alternative spellings other programs write
/// included; anything else gives 255.
int IndexOf(const QString& text);

} // namespace GenreNames

} // namespace tags
