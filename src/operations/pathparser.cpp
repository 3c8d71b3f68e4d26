#include "pathparser.h"

#include <QFileInfo>

namespace operations {

namespace {

const QChar kSeparator = QLatin1Char('\\');

QString baseOf(const QString& path) {
    if (path.startsWith(QLatin1String(".\\")))
        return QStringLiteral(".\\");
    if (path.startsWith(kSeparator))
        return QString(kSeparator);
    if (path.startsWith(QLatin1Char('/')))
        return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
    return {};
}

} // namespace

void TPathParser::Parse(const QString& templateText) {
    if (templateText.isEmpty()) {
        m_path.clear();
        return;
    }
    m_path = templateText.endsWith(kSeparator) ? templateText : templateText + kSeparator;
    m_base = baseOf(m_path);
    m_components = m_path.mid(m_base.size()).split(kSeparator);
    m_components.removeLast(); // the text after the trailing separator
}

bool TPathParser::HasExistingBase() const {
    return m_base.startsWith(QLatin1Char('/')) && QFileInfo(m_base).isDir();
}

QString TPathParser::FullPath() const {
    QString path = m_base;
    if (!path.isEmpty() && !path.endsWith(kSeparator) && !path.endsWith(QLatin1Char('/')))
        path += kSeparator;
    return path + JoinedComponents();
}

QString TPathParser::JoinedComponents() const {
    QString joined;
    for (const QString& component : m_components)
        joined += component + kSeparator;
    return joined;
}

void TPathParser::SetComponent(qsizetype index, const QString& text) {
    if (index >= 0 && index < m_components.size())
        m_components[index] = text;
}

void TPathParser::DeleteComponent(qsizetype index) {
    if (index >= 0 && index < m_components.size())
        m_components.removeAt(index);
}

void TPathParser::RemoveBlankComponents() {
    m_components.removeIf([](const QString& c) { return c.trimmed().isEmpty(); });
}

} // namespace operations
