#pragma once

#include "operations/saverun.h"

#include <QString>
#include <QStringList>

#include <optional>

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
    /// Yes / No.
    virtual bool confirm(const QString& question) = 0;
    /// A folder chosen by the user, starting at `start`; empty when cancelled.
    virtual QString chooseFolder(const QString& start) = 0;
    /// A text file to read, e.g. a list of names; empty when cancelled.
    virtual QString chooseTextFile(const QString& start) = 0;
    /// A line of text, e.g. a template; nothing when cancelled.
    virtual std::optional<QString> askText(const QString& title, const QString& label,
                                           const QString& proposal) = 0;
    /// What to do when a saved file's wanted name is taken.
    virtual operations::DuplicateAnswer
    askDuplicateName(const operations::DuplicateQuestion& question) = 0;
};

/// Asks with message boxes over `parent`.
class TMessageBoxPrompter : public TPrompter {
public:
    explicit TMessageBoxPrompter(QWidget* parent) : m_parent(parent) {}
    Answer askSaveChanges(const QString& question) override;
    void inform(const QString& title, const QString& text) override;
    void showProblems(const QString& title, const QString& intro,
                      const QStringList& lines) override;
    bool confirm(const QString& question) override;
    QString chooseFolder(const QString& start) override;
    QString chooseTextFile(const QString& start) override;
    std::optional<QString> askText(const QString& title, const QString& label,
                                   const QString& proposal) override;
    operations::DuplicateAnswer
    askDuplicateName(const operations::DuplicateQuestion& question) override;

private:
    QWidget* m_parent;
};

} // namespace app
