#pragma once

#include <QStringList>

namespace operations {

/// Moves files to the desktop's trash; never deletes anything for good. Returns the paths
/// that could not be moved (they stay where they are).
QStringList moveToTrash(const QStringList& paths);

} // namespace operations
