// Files the user lets go go to the trash, where they can be taken back.
#include "trash.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace operations {

namespace {

/// Qt puts the home trash below the generic data folder and, when that folder does not exist
/// yet, files the trash relative to the working folder instead. Creating it first keeps the
/// trash where desktops look for it.
void ensureHomeTrashParent() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!data.isEmpty())
        QDir().mkpath(data);
}

} // namespace

QStringList moveToTrash(const QStringList& paths) {
    ensureHomeTrashParent();
    QStringList failed;
    for (const QString& path : paths)
        if (!QFile::moveToTrash(path))
            failed << path;
    return failed;
}

} // namespace operations
