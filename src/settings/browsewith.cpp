#include "browsewith.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace settings {

namespace {

/// Desktop entry string values escape line breaks, TABs and backslashes.
QString escapedValue(QString text) {
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    return text;
}

bool fail(QString* error, const QString& message) {
    if (error)
        *error = message;
    return false;
}

} // namespace

QString TBrowseWithEntry::entryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation) +
           QLatin1Char('/') + QLatin1String(kFileName);
}

QString TBrowseWithEntry::execArgument(const QString& path) {
    // Inside quotes the Exec syntax reserves ", `, $ and \ (escaped by a backslash); "%"
    // starts a field code and is doubled.
    QString quoted;
    for (const QChar c : path) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString TBrowseWithEntry::entryText(const QString& programPath, const QString& caption) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Exec=%2 %f\n"
                          "MimeType=inode/directory;\n"
                          "NoDisplay=true\n"
                          "Terminal=false\n")
        .arg(escapedValue(caption.isEmpty() ? QStringLiteral("Browse with Varlo") : caption),
             escapedValue(execArgument(programPath)));
}

bool TBrowseWithEntry::apply(bool enabled, const QString& programPath, const QString& caption,
                             QString* error) {
    const QString path = entryPath();
    if (!enabled) {
        if (!QFileInfo::exists(path) || QFile::remove(path))
            return true;
        return fail(error, QStringLiteral("Cannot remove %1").arg(path));
    }
    const QByteArray wanted = entryText(programPath, caption).toUtf8();
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == wanted)
        return true;
    existing.close();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return fail(error, QStringLiteral("Cannot create the folder of %1").arg(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(wanted) != wanted.size() || !file.commit())
        return fail(error, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    return true;
}

} // namespace settings
