#pragma once

#include <QString>
#include <QStringList>

namespace settings {

/// The recently opened folders, newest first, at most kMaxEntries. Paths are compared
/// exactly (Linux paths are case-sensitive); a trailing "/" is not part of a path.
class TRecentFolders {
public:
    static constexpr int kMaxEntries = 10;

    /// The path as the list keeps it: trailing "/" removed, except for the root "/".
    static QString normalized(const QString& path);
    /// The menu text of an entry: "&<position> <path>", every "&" of the path doubled so
    /// that it is shown instead of marking a shortcut. The menu keeps the path itself in the
    /// action's data; the caption is never read back.
    static QString menuCaption(int position, const QString& path);

    /// Puts `path` at the top, dropping entries equal to it and the oldest beyond the limit.
    /// An empty path is ignored.
    void add(const QString& path);
    /// Moves an entry to the top (the user chose it); false when it is not listed.
    bool take(const QString& path);
    /// Drops an entry, e.g. a folder that no longer exists; false when it is not listed.
    bool remove(const QString& path);

    QStringList paths() const { return m_paths; }
    /// Replaces the list, newest first, as `add` would build it from the oldest entry on.
    void setPaths(const QStringList& newestFirst);

    bool operator==(const TRecentFolders&) const = default;

private:
    QStringList m_paths;
};

} // namespace settings
