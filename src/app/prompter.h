#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace app {

/// The questions and notices of the main window, behind an interface so that tests answer
/// them without a modal box.
class TPrompter {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~TPrompter() = default;
    /// Yes / No / Cancel: save the changes first, discard them, or stay.
    virtual Answer askSaveChanges(const QString& question) = 0;
    virtual void inform(const QString& title, const QString& text) = 0;
    /// A list of problems shown once, e.g. files that could not be read.
    virtual void showProblems(const QString& title, const QString& intro,
                              const QStringList& lines) = 0;
};

/// Asks with message boxes over `parent`.
class TMessageBoxPrompter : public TPrompter {
public:
    explicit TMessageBoxPrompter(QWidget* parent) : m_parent(parent) {}
    Answer askSaveChanges(const QString& question) override;
    void inform(const QString& title, const QString& text) override;
    void showProblems(const QString& title, const QString& intro,
                      const QStringList& lines) override;

private:
    QWidget* m_parent;
};

} // namespace app
