#pragma once

#include "library/cachesync.h"
#include "tags/status.h"

#include <QList>
#include <QPair>
#include <QString>
#include <functional>

namespace operations {

class TUndoList;

/// What a command run over a set of files did.
struct CommandReport {
    int changed = 0;   ///< files whose state differs from before the step
    int unchanged = 0; ///< files the step left as they were
    /// Files whose step failed, as (path, message); each was put back as it was.
    QList<QPair<QString, QString>> errors;
    bool stopped = false; ///< the progress callback ended the run before the last file
};

/// One step of a command on one file. An error means the step could not do its work.
using FileStep = std::function<tags::Status(tags::TMP3&)>;
/// Told after each file how many of `total` are done; returns false to stop the run.
using CommandProgress = std::function<bool(int done, int total)>;

/// Runs `step` over `files` as one undoable command named `groupName`. Each file is
/// snapshotted first; a file the step changed is marked changed and keeps its undo entry,
/// a file it left alone keeps its Changed flag and leaves no entry. A failing step puts the
/// file back as it was, is reported, and the run goes on with the next file. Stopping
/// through `progress` keeps what the files done so far got, with their undo entries.
/// Empty handles (rows without a file) are passed over. Runs on the thread that owns the
/// files' rows; rows of changed and restored files are redrawn through doUpdateListItem.
CommandReport runPerFile(TUndoList& undo, const QString& groupName,
                         const QList<library::FileHandle>& files, const FileStep& step,
                         const CommandProgress& progress = {});

} // namespace operations
