#pragma once

#include "command.h"

#include "operations/saverun.h"
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
    /// --on-conflict: what happens when the new name is taken by another file.
    operations::DuplicatePolicy onConflict = operations::DuplicatePolicy::Skip;
    QStringList paths;
};

/// One command's work on one loaded file; an error skips the file.
using TemplateStep = std::function<tags::Status(tags::TMP3& file, const TemplateArgs& args)>;

/// Parses "--template T [--root DIR] [--dry-run] [--on-conflict skip|rename|replace] FILE...",
/// runs `step` on every file and prints what changed: "old -> new" for a new name or folder,
/// and the fields set. Without --dry-run the file is saved by the desktop program's save run:
/// tags first, then the move; a taken name is skipped (the default), numbered " (1)" or
/// replaced (the old file goes to the trash). A numbered name is printed as a second
/// "old -> new" line.
int runTemplateCommand(const QString& command, const QStringList& args, Io io,
                       const TemplateStep& step);

} // namespace cli
