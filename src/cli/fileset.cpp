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

namespace cli {

bool takeTagMode(const QStringList& args, int& i, int& tagMode, const QString& command,
                 QTextStream& err) {
    bool ok = false;
    tagMode = i + 1 < args.size() ? args[++i].toInt(&ok) : 0;
    if (ok && tagMode >= 1 && tagMode <= 3)
        return true;
    err << "varlo-cli " << command << ": --tag-mode takes 1 (ID3v1), 2 (ID3v2) or 3 (mixed)\n";
    return false;
}

} // namespace cli
