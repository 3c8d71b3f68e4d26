#pragma once

#include "tags/status.h"

#include <QString>

namespace tags {
class TMP3;
}

namespace operations {

/// Where a restructure template is anchored and how empty fields are treated.
struct RestructureOptions {
    QString rootFolder;       ///< the folder opened in the main window ("" when none)
    bool forImport = false;   ///< the result is relative to the import target
    bool stopOnEmpty = false; ///< an empty field puts the file at the top instead
    bool versionValues = false;
    QString unknownText = QStringLiteral("Unknown %1");
};

/// The folder (a real path ending in "/") that a restructure template gives for `file`.
///
/// Templates keep "\" between folder names, as they are stored. ".\" is the root folder,
/// a leading "\" the mount point of the file's volume, a leading "/" an absolute base
/// written as a real path, and anything else is below the file's own folder. Every folder
/// name is cleaned so that no value can add levels or climb out of the base. With
/// `forImport` the result is relative ("" for the target itself).
tags::Status BuildRestructurePath(tags::TMP3& file, const QString& templateText,
                                  const RestructureOptions& options, QString& folder);

} // namespace operations
