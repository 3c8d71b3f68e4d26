#pragma once

#include <QString>
#include <QStringList>

namespace app {

/// What a path handed over by a second start (or given on the command line) asks for.
enum class HandOff {
    Nothing,      ///< no argument, a folder, or a file that does not exist
    OpenPlaylist, ///< an existing ".pls", ".m3u" or ".fls" file: shown in the file list
    PlayFile,     ///< any other existing file: goes to the built-in player
};

/// Decides from the program's arguments (without the program name) what to do with the
/// first one; the others are never looked at. The receiving instance applies the same rule
/// to the path it is handed, since the file may have gone in between.
HandOff decideHandOff(const QStringList& arguments);

/// The folder or file to open at the first idle moment, or empty for none:
/// an existing command-line folder wins; otherwise, with "AutoOpenMRU", the first recent
/// entry that exists (folder or file); with no recent entries at all the Music folder when it
/// exists, else the home folder. When recent entries exist but none is on disk, nothing opens.
QString chooseStartPath(const QString& commandLineArgument, bool autoOpenMru,
                        const QStringList& recentFolders, const QString& musicFolder,
                        const QString& homeFolder);

/// True when the first-start cache build may walk `folder`: an existing folder that is
/// neither inside nor above a kernel pseudo file system (/proc, /sys, /dev, /run) nor on a
/// network file system, where reading every file would take hours.
bool mayBuildCacheIn(const QString& folder);

} // namespace app
