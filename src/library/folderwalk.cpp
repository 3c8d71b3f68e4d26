#include "folderwalk.h"

#include <QDir>
#include <QDirIterator>

namespace library {

const QStringList& audioExtensions() {
    static const QStringList kExtensions = {"mp3", "mp2", "mp1", "mpa", "ogg", "wma", "wav"};
    return kExtensions;
}

QStringList audioFilesIn(const QString& folder, bool recursive, const QStringList& extensions) {
    const QString root = QDir::cleanPath(QDir(folder).absolutePath());
    QDirIterator it(root, QDir::Files,
                    recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    QStringList files;
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = it.fileName();
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot > 0 && extensions.contains(QStringView(name).mid(dot + 1), Qt::CaseInsensitive))
            files << path;
    }
    files.sort();
    return files;
}

} // namespace library
