#include "playlistreader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace playlists {

namespace {

enum class Format { M3u, Pls, Plain };

Format formatOf(const QString& playlistPath) {
    const QString suffix = QFileInfo(playlistPath).suffix();
    if (suffix.compare(QLatin1String("m3u"), Qt::CaseInsensitive) == 0)
        return Format::M3u;
    if (suffix.compare(QLatin1String("pls"), Qt::CaseInsensitive) == 0 ||
        suffix.compare(QLatin1String("fls"), Qt::CaseInsensitive) == 0)
        return Format::Pls;
    return Format::Plain;
}

/// The path a "FileN=..." line of a pls or fls file names; empty for any other line
/// ("TitleN=", "LengthN=", "[playlist]" ...).
QString plsEntry(const QString& line) {
    static const QRegularExpression kFileKey(QStringLiteral("^\\s*file\\d*\\s*="),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = kFileKey.match(line);
    return match.hasMatch() ? line.mid(match.capturedEnd()) : QString();
}

QString entryOf(const QString& line, Format format) {
    switch (format) {
    case Format::M3u:
        return line.startsWith(QLatin1Char('#')) ? QString() : line;
    case Format::Pls:
        return plsEntry(line);
    case Format::Plain:
        break;
    }
    return line;
}

bool isDrivePath(const QString& path) {
    return path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter() &&
           path.at(0).unicode() < 128;
}

bool isAddress(const QString& path) {
    static const QRegularExpression kScheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+://"));
    return kScheme.match(path).hasMatch();
}

} // namespace

bool isPlaylistFile(const QString& path) {
    return formatOf(path) != Format::Plain;
}

QString completePlaylistPath(const QString& entry, const QString& playlistFolder) {
    const QString path = entry.trimmed();
    if (isDrivePath(path))
        return path;
    if (isAddress(path)) {
        const QUrl url(path);
        return url.isLocalFile() ? QDir::cleanPath(url.toLocalFile()) : path;
    }
    QString unixPath = path;
    unixPath.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (unixPath.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(unixPath);
    return QDir::cleanPath(playlistFolder + QLatin1Char('/') + unixPath);
}

QStringList readPlaylistPaths(const QString& playlistPath,
                              const std::function<bool()>& stopRequested) {
    QFile file(playlistPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    const Format format = formatOf(playlistPath);
    const QString folder = QFileInfo(playlistPath).absolutePath();
    QStringList paths;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (stopRequested && stopRequested())
            break;
        const QString entry = entryOf(line.trimmed(), format).trimmed();
        if (!entry.isEmpty())
            paths << completePlaylistPath(entry, folder);
    }
    return paths;
}

} // namespace playlists
