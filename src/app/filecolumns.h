#pragma once

#include "tags/fields.h"

#include <QString>
#include <Qt>

#include <span>

namespace tags {
class TMP3;
}

namespace app {

/// What a column of the file list shows.
enum class ColumnKind {
    FileName,
    Directory,
    Field, ///< a tag field, chosen per tag mode
    Track,
    BitRate,
    Length,
    Size,
    DateTime,
    Extension,
    SampleRate
};

/// One column of the file lists; its position in fileColumns() is its identifier, which
/// stored column layouts refer to.
struct FileColumn {
    const char* caption;
    ColumnKind kind;
    tags::Field field; ///< for ColumnKind::Field
    int defaultWidth;  ///< 0 = hidden at start
    Qt::Alignment alignment;
};

/// Every column of the file lists, in their designed order.
std::span<const FileColumn> fileColumns();

/// How rows show their files: the main window's tag mode and track style.
struct RowView {
    bool commonMode = false; ///< per-version values with fallback instead of unified fields
    bool leadingZero = true; ///< tracks with two digits
};

/// The text of one cell. Never reads the file: a file listed from the cache shows its
/// cached values until it has been read.
QString columnText(tags::TMP3& file, int column, const RowView& view);

/// Three-way comparison of two files by a column (negative, 0, positive), ascending.
/// Numeric columns compare numbers (bytes, seconds, kbit/s), text columns ignore case.
int compareByColumn(tags::TMP3& a, tags::TMP3& b, int column, const RowView& view);

/// The image of a row: which tags the file has for the displayed tag version (1, 2 or 3 for
/// mixed), plus one when it has unsaved changes (never for WAV). `kInfoRowIcon` for a row
/// without a file.
int rowIconIndex(tags::TMP3* file, int displayedVersion);
constexpr int kInfoRowIcon = 13;

/// Keeps a file from reading itself while a row is drawn or sorted.
class NoReadScope {
public:
    explicit NoReadScope(tags::TMP3& file);
    ~NoReadScope();
    NoReadScope(const NoReadScope&) = delete;
    NoReadScope& operator=(const NoReadScope&) = delete;

private:
    tags::TMP3& m_file;
    bool m_previous;
};

} // namespace app
