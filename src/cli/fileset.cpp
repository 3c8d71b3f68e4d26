#include "command.h"

#include <QDirIterator>
#include <QFileInfo>

namespace cli {

namespace {
const QStringList kAudioPatterns = {QStringLiteral("*.mp3"), QStringLiteral("*.mp2"),
                                    QStringLiteral("*.mp1"), QStringLiteral("*.mpa"),
                                    QStringLiteral("*.ogg"), QStringLiteral("*.wma"),
                                    QStringLiteral("*.wav")};
}

QStringList collectAudioFiles(const QStringList& paths) {
    QStringList files;
    for (const QString& path : paths) {
        if (!QFileInfo(path).isDir()) {
            files << path;
            continue;
        }
        QStringList found;
        // Name filters ignore case; symlinked folders are not followed, so loops cannot occur.
        QDirIterator it(path, kAudioPatterns, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        found.sort();
        files << found;
    }
    return files;
}

} // namespace cli
