#pragma once

#include <QStringList>

namespace operations {

/// Splits a restructure template into its base and its folder components, so that an
/// editor can change the components one by one, and joins them back.
///
/// The base is ".\" (the root folder), "\" (the volume's mount point), an absolute folder
/// written with "/" ("/home/me/Music/"), or empty (the file's own folder). Components are
/// separated by "\" as in stored templates.
class TPathParser {
public:
    /// Takes a template apart; the components are rebuilt from the text after the base.
    void Parse(const QString& templateText);
    const QString& Path() const { return m_path; }
    const QString& Base() const { return m_base; }
    void SetBase(const QString& base) { m_base = base; }
    bool BaseIs(const QString& text) const {
        return m_base.compare(text, Qt::CaseInsensitive) == 0;
    }
    /// Whether the base is an absolute folder that exists.
    bool HasExistingBase() const;

    /// The base followed by every component, each ending in "\".
    QString FullPath() const;
    QString JoinedComponents() const;
    QString Component(qsizetype index) const { return m_components.value(index); }
    void SetComponent(qsizetype index, const QString& text);
    void DeleteComponent(qsizetype index);
    void AddComponent(const QString& text) { m_components << text; }
    qsizetype ComponentCount() const { return m_components.size(); }
    void RemoveBlankComponents();

private:
    QString m_path;
    QString m_base;
    QStringList m_components;
};

} // namespace operations
