#pragma once

#include <QString>

namespace tags {
class TMP3;
}

namespace operations {

/// The file-name options of the options dialog that name building reads.
struct NameOptions {
    bool unknownIfEmpty = false;               ///< "Unknown if field is empty"
    bool spaceToUnderscore = false;            ///< "Space to underscore"
    bool encodePercent = false;                ///< "Encode with %"
    bool lowercase = false;                    ///< "Lowercase"
    bool versionValues = false;                ///< the main window's common mode
    QString separator = QStringLiteral(" - "); ///< FilenameSeparator
};

/// Removes what no single file or folder name may hold: "/", NUL and other control
/// characters, and \ : * ? " < > | which other systems and our templates reserve.
QString sanitizeFileName(const QString& text);
/// False for names that would not name a file of its own: empty, "." and "..".
bool isUsableFileName(const QString& name);
/// The one percent encoding of names: every blank becomes "%20".
QString encodePercent(const QString& name);

/// The name `templateText` builds for `file` (without extension); literal text next to an
/// empty field disappears. Empty when the template yields no usable name.
QString buildNameFromTemplate(tags::TMP3& file, const QString& templateText,
                              const NameOptions& options = {});
/// Stores the built name as the file's FileName; an unusable result keeps the old name.
/// True when a new name was set.
bool RenameByTemplate(tags::TMP3& file, const QString& templateText,
                      const NameOptions& options = {});
/// Renames by the six-slot scheme of the options dialog: per slot three digits for the
/// field (artist, album, title, year, track, comment), the style (separator, (), [], {})
/// and whether it is on. True when a new name was set.
bool QuickRename(tags::TMP3& file, const QString& scheme, const NameOptions& options = {});
/// Exchanges the fields of the codes of the template, taken in pairs (#art#tit).
void SwapByTemplate(tags::TMP3& file, const QString& templateText, bool versionValues = false);

} // namespace operations
