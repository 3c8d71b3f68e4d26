#pragma once

#include <QString>

namespace settings {

/// The "Browse with Varlo" entry offered for folders by the desktop's file manager: a desktop
/// entry for folders (MimeType=inode/directory) in the user's applications folder
/// ($XDG_DATA_HOME/applications) that starts this program with the chosen folder.
class TBrowseWithEntry {
public:
    /// The entry's file name in the applications folder.
    static constexpr char kFileName[] = "varlo-browse.desktop";

    /// The entry's path in the user's applications folder.
    static QString entryPath();
    /// The entry's text for the program at `programPath`, shown as `caption`.
    static QString entryText(const QString& programPath, const QString& caption);
    /// `path` as one argument of a desktop entry's Exec line: quoted, with the characters
    /// the desktop entry format reserves escaped, so that spaces or "%" survive.
    static QString execArgument(const QString& path);

    /// Writes the entry (enabled) or removes it (disabled). An entry already as wanted is
    /// left untouched. False with `error` set when the file could not be written or removed.
    static bool apply(bool enabled, const QString& programPath, const QString& caption,
                      QString* error = nullptr);
};

} // namespace settings
