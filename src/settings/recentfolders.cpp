#include "recentfolders.h"

namespace settings {

QString TRecentFolders::normalized(const QString& path) {
    QString result = path;
    while (result.size() > 1 && result.endsWith(QLatin1Char('/')))
        result.chop(1);
    return result;
}

QString TRecentFolders::menuCaption(int position, const QString& path) {
    QString shown = path;
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 %2").arg(position).arg(shown);
}

void TRecentFolders::add(const QString& path) {
    const QString entry = normalized(path);
    if (entry.isEmpty())
        return;
    m_paths.removeAll(entry);
    m_paths.prepend(entry);
    while (m_paths.size() > kMaxEntries)
        m_paths.removeLast();
}

bool TRecentFolders::take(const QString& path) {
    if (!m_paths.contains(normalized(path)))
        return false;
    add(path);
    return true;
}

bool TRecentFolders::remove(const QString& path) {
    return m_paths.removeAll(normalized(path)) > 0;
}

void TRecentFolders::setPaths(const QStringList& newestFirst) {
    m_paths.clear();
    for (auto it = newestFirst.crbegin(); it != newestFirst.crend(); ++it)
        add(*it);
}

} // namespace settings
