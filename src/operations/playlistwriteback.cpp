// Playlist write-back after a save run.
#include "playlistwriteback.h"

#include "templatevars.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace operations {

using library::FileHandle;

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

/// The values a playlist line shows: path, title and length in whole seconds.
struct Entry {
    QString path;
    QString title;
    QString seconds;
};

QList<Entry> entriesOf(const QList<FileHandle>& files, bool versionValues) {
    const TVarScript script(versionValues);
    QList<Entry> entries;
    for (const FileHandle& handle : files) {
        if (!handle)
            continue;
        tags::TMP3& file = *handle;
        // A line break inside a title would split the entry.
        QString title = script.GetValue(TVN::vTit, file);
        title.replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        entries << Entry{script.GetValue(TVN::vPat, file), title, script.GetValue(TVN::vLes, file)};
    }
    return entries;
}

/// Paths in the playlist's folder or below it are written relative to it, as players
/// expect from a playlist that moves with its music.
QString m3uPath(const QString& path, const QString& playlistFolder) {
    const QString prefix = playlistFolder + QLatin1Char('/');
    return path.startsWith(prefix) ? path.mid(prefix.size()) : path;
}

QString m3uText(const QList<Entry>& entries, const QString& playlistFolder) {
    QString text = QStringLiteral("#EXTM3U") + kLineEnd;
    for (const Entry& entry : entries)
        text += QStringLiteral("#EXTINF:") + entry.seconds + QLatin1Char(',') + entry.title +
                kLineEnd + m3uPath(entry.path, playlistFolder) + kLineEnd;
    return text;
}

/// The PlaylistName of an existing ".pls" file (its key in any letter case); empty if none.
QString plsName(const QString& playlistPath) {
    QFile file(playlistPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression key(QStringLiteral("^\\s*playlistname\\s*=(.*)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines)
        if (const QRegularExpressionMatch match = key.match(line.trimmed()); match.hasMatch())
            return match.captured(1).trimmed();
    return {};
}

QString plsText(const QList<Entry>& entries, const QString& name) {
    QString text = QStringLiteral("[playlist]") + kLineEnd;
    text += QStringLiteral("PlaylistName=") + name + kLineEnd;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString n = QString::number(i + 1);
        text += QStringLiteral("File") + n + QLatin1Char('=') + entries[i].path + kLineEnd;
        text += QStringLiteral("Title") + n + QLatin1Char('=') + entries[i].title + kLineEnd;
        text += QStringLiteral("Length") + n + QLatin1Char('=') + entries[i].seconds + kLineEnd;
    }
    text += QStringLiteral("NumberOfEntries=") + QString::number(entries.size()) + kLineEnd;
    text += QStringLiteral("Version=2") + kLineEnd;
    return text;
}

tags::Status writeAtomically(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit())
        return tags::Status::success();
    return tags::Status::error(
        tags::ErrorCode::WriteFailed,
        QStringLiteral("Cannot write the playlist \"%1\": %2").arg(path, file.errorString()));
}

} // namespace

tags::Status writePlaylistBack(const QString& playlistPath, const QList<FileHandle>& files,
                               bool versionValues) {
    const QFileInfo info(playlistPath);
    const QString extension = info.suffix().toLower();
    if (extension == QLatin1String("fls"))
        return tags::Status::success(); // this list format is read, never written
    if (extension == QLatin1String("m3u") || extension == QLatin1String("m3u8"))
        return writeAtomically(playlistPath,
                               m3uText(entriesOf(files, versionValues), info.absolutePath()));
    if (extension == QLatin1String("pls"))
        return writeAtomically(playlistPath,
                               plsText(entriesOf(files, versionValues), plsName(playlistPath)));
    return tags::Status::error(
        tags::ErrorCode::Unsupported,
        QStringLiteral("\"%1\" is no playlist type Varlo can write").arg(playlistPath));
}

} // namespace operations
