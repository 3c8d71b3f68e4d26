#include "startupdecisions.h"

#include "tags/fileio.h"

#include <QDir>
#include <QFileInfo>

namespace app {

namespace {

/// Playlist files the file list opens; the extension is compared without regard to case.
const QStringList kPlaylistSuffixes = {QStringLiteral("pls"), QStringLiteral("m3u"),
                                       QStringLiteral("fls")};

/// Folders whose contents the kernel makes up; walking them reads devices or never ends.
const QStringList kPseudoFileSystems = {QStringLiteral("/proc"), QStringLiteral("/sys"),
                                        QStringLiteral("/dev"), QStringLiteral("/run")};

bool isInside(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

HandOff decideHandOff(const QStringList& arguments) {
    if (arguments.isEmpty())
        return HandOff::Nothing;
    const QFileInfo info(arguments.first());
    if (!info.isFile())
        return HandOff::Nothing;
    return kPlaylistSuffixes.contains(info.suffix(), Qt::CaseInsensitive) ? HandOff::OpenPlaylist
                                                                          : HandOff::PlayFile;
}

QString chooseStartPath(const QString& commandLineArgument, bool autoOpenMru,
                        const QStringList& recentFolders, const QString& musicFolder,
                        const QString& homeFolder) {
    if (!commandLineArgument.isEmpty() && QFileInfo(commandLineArgument).isDir())
        return commandLineArgument;
    if (!autoOpenMru)
        return {};
    if (recentFolders.isEmpty())
        return !musicFolder.isEmpty() && QFileInfo(musicFolder).isDir() ? musicFolder : homeFolder;
    for (const QString& entry : recentFolders)
        if (!entry.isEmpty() && QFileInfo::exists(entry))
            return entry;
    return {};
}

bool mayBuildCacheIn(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir())
        return false;
    const QString canonical = info.canonicalFilePath();
    // The walk crosses mount points, so the root that holds the pseudo file systems is
    // refused as well as any folder inside one.
    if (canonical == QLatin1String("/"))
        return false;
    for (const QString& pseudo : kPseudoFileSystems)
        if (isInside(canonical, pseudo))
            return false;
    // The check looks at the folder holding its argument, so ask about an entry inside.
    return !tags::isOnNetworkFileSystem(QDir(canonical).filePath(QStringLiteral(".")));
}

} // namespace app
