#pragma once

#include "command.h"

#include "tags/status.h"

#include <functional>

namespace tags {
class TMP3;
}

namespace cli {

/// What the template commands share from the command line.
struct TemplateArgs {
    QString templateText;
    QString rootFolder; ///< --root: the folder ".\" stands for
    bool dryRun = false;
    QStringList paths;
};

/// One command's work on one loaded file; an error skips the file.
using TemplateStep = std::function<tags::Status(tags::TMP3& file, const TemplateArgs& args)>;

/// Parses "--template T [--root DIR] [--dry-run] FILE...", runs `step` on every file and
/// prints what changed: "old -> new" for a new name or folder, and the fields set. Without
/// --dry-run the file is saved as the desktop program saves: tags first, then the move,
/// which never replaces another file.
int runTemplateCommand(const QString& command, const QStringList& args, Io io,
                       const TemplateStep& step);

} // namespace cli
