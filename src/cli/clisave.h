#pragma once

#include "command.h"

#include "library/cachesync.h"
#include "operations/saverun.h"

namespace cli {

/// Reads the value of --on-conflict at args[i + 1] (skip, rename or replace); false (with a
/// message) when it is none of them.
bool takeConflictPolicy(const QStringList& args, int& i, operations::DuplicatePolicy& policy,
                        const QString& command, QTextStream& err);

/// Saves one changed file exactly as the desktop program's save run does (tags, then the
/// move, conflicts settled by `policy`) and prints "PATH: not saved: REASON" for whatever
/// failed. True when everything was saved.
bool saveFile(const library::FileHandle& file, operations::DuplicatePolicy policy, Io io);

} // namespace cli
