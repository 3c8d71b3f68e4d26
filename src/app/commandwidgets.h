#pragma once

#include <QComboBox>
#include <QStringList>
#include <QToolBar>
#include <QToolButton>
#include <QValidator>

class QLineEdit;

namespace app {

/// Refuses every edit that would put a character into a file name that the file system
/// cannot hold or that hides in listings: "/", NUL and control characters.
class FileNameValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
    /// Whether every character of `text` may stand in a file name.
    static bool hasOnlyNameCharacters(const QString& text);
    /// Whether `name` may become a file name: allowed characters, not empty, not "." or "..",
    /// and at most 255 bytes as UTF-8.
    static bool isAcceptableName(const QString& name);
};

/// The rename bar: one field that renames the single selected row. Enter (or leaving the
/// field) applies a changed, acceptable name; Escape hides the bar and keeps the old name.
class TRenameBar : public QToolBar {
    Q_OBJECT
public:
    explicit TRenameBar(QWidget* parent = nullptr);

    /// Shows the file name of the single selected row and remembers it as the starting name.
    void showName(const QString& name);
    /// No single row is selected: the field is emptied and accepts nothing.
    void clearName();
    QString startName() const { return m_startName; }
    QLineEdit* field() const { return m_field; }

signals:
    /// The user accepted a new, acceptable name for the row shown.
    void renameAccepted(const QString& name);
    /// The user is done with the field (Enter or Escape): focus goes back to the list.
    void finished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void commit();

    QLineEdit* m_field;
    QString m_startName;
};

/// The genre drop-down of "Set Genre": the caller's genre names sorted without regard to
/// case, with "None" (no genre) at the top.
class TGenreDropDown : public QComboBox {
    Q_OBJECT
public:
    explicit TGenreDropDown(QWidget* parent = nullptr);
    /// Refills the list, keeping the chosen genre when it is still listed.
    void setGenres(const QStringList& names);
    /// The chosen genre's name; empty for "None".
    QString genre() const;
    void setGenre(const QString& name);

signals:
    /// The user chose a genre (empty for "None").
    void genreChosen(const QString& name);
};

/// The play button's drop-down: one radio entry per "PlayAction" choice; clicking the
/// button plays with the chosen one.
class TPlayButton : public QToolButton {
    Q_OBJECT
public:
    explicit TPlayButton(QWidget* parent = nullptr);
    /// The choices, by index (the options' "PlayAction" items).
    void setChoices(const QStringList& captions);
    int playMode() const { return m_playMode; }
    void setPlayMode(int mode);

signals:
    /// The user chose a mode from the drop-down; the command set then plays.
    void playModeChosen(int mode);

private:
    void checkChosen();

    int m_playMode = 0;
};

/// The sticky track button ("Track: ?"): while it is checked, each single row selected gets
/// the next track number.
class TTrackButton : public QToolButton {
    Q_OBJECT
public:
    explicit TTrackButton(QWidget* parent = nullptr);
    /// The number the next selected row gets.
    int counter() const { return m_counter; }
    /// Returns the number for the row just selected and counts up.
    int takeNextTrack();

private:
    void showCounter();

    int m_counter = 1;
};

/// The question before a change of all selected files.
class ChangeWarning {
public:
    struct Answer {
        bool proceed = false;
        bool dontShowAgain = false;
    };
    virtual ~ChangeWarning() = default;
    virtual Answer ask() = 0;
};

/// The change warning as a modal Yes/No box with a "don't show again" check box.
class TChangeWarningDialog : public ChangeWarning {
public:
    explicit TChangeWarningDialog(QWidget* parent = nullptr) : m_parent(parent) {}
    Answer ask() override;

private:
    QWidget* m_parent;
};

} // namespace app
