#include "command.h"

#include <QDirIterator>
#include <QFileInfo>

namespace cli {

namespace {

bool isAudioFile(const QString& name) {
    static const QStringList kExtensions = {"mp3", "mp2", "mp1", "mpa", "ogg", "wma", "wav"};
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && kExtensions.contains(QStringView(name).mid(dot + 1), Qt::CaseInsensitive);
}

} // namespace

QStringList collectAudioFiles(const QStringList& paths) {
    QStringList files;
    for (const QString& path : paths) {
        if (!QFileInfo(path).isDir()) {
            files << path;
            continue;
        }
        QStringList found;
        // Extensions ignore case; symlinked folders are not followed, so loops cannot occur.
        QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (isAudioFile(it.fileName()))
                found << file;
        }
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
