#pragma once

#include "commandtable.h"

#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;

namespace settings {
class TMultiLanguage;
}

namespace app {

class ChangeWarning;
class TGenreDropDown;
class TPlayButton;
class TRenameBar;
class TTrackButton;

/// The main window's commands: one QAction per row of the command table, the menus,
/// toolbars and context menu built from it, and the enabling rules applied to the window's
/// state. Other parts attach the work with setHandler(); a command without a handler stays
/// disabled and says so in its tool tip.
class TCommandSet : public QObject {
    Q_OBJECT
public:
    /// Creates every action and the command widgets as children of `window`, whose
    /// keyboard shortcuts they become. `warning` asks before mass changes; by default a
    /// modal box.
    explicit TCommandSet(QWidget* window, std::unique_ptr<ChangeWarning> warning = nullptr);
    ~TCommandSet() override;

    /// The action of a command (object name = command name); nullptr for an unknown name.
    QAction* action(const QString& name) const;
    /// Attaches the work of a command; an empty function detaches it. Unknown names and
    /// commands the set runs itself are refused with a warning.
    void setHandler(const QString& name, std::function<void()> handler);
    bool hasHandler(const QString& name) const;

    /// Fills the menu bar: one menu per top-level menu path of the table, template commands
    /// as submenus of their templates, and the "Toolbars" submenu of the View menu.
    void buildMenus(QMenuBar* bar);
    /// Creates the toolbars ("BasicToolBar", "EditTagToolBar", "EditFilenameToolBar",
    /// "ViewToolBar", "PlayerToolBar", "ToolsToolBar", "RenameToolBar"), adds them to
    /// `window` and returns them in that order. The rename bar starts hidden, the player bar
    /// shows while "Integrated in toolbar" is checked.
    QList<QToolBar*> buildToolBars(QMainWindow* window);
    /// The file list's context menu. Before it opens, aboutToShowContextMenu() is emitted so
    /// that the window can refresh the enabling.
    QMenu* contextMenu();
    /// Template entries of the context menu as submenus listing every template (true), or
    /// as single entries running the current template ("ExtendedContextCheckBox").
    void setExtendedContextMenu(bool extended);
    /// The drop-down list of a template command ("ActRename", "ActGenerateTag" ...), which
    /// the template store fills after the entries already there ("&Automatic" heads the
    /// generate-tag list); nullptr for other commands.
    QMenu* templateMenu(const QString& command) const;
    /// The "Add to favourites" submenu of the context menu, filled by the favourites panel.
    QMenu* favouritesMenu() const { return m_favouritesMenu; }

    /// Applies the enabling rules to every command.
    void updateEnabling(const CommandState& state);
    const CommandState& state() const { return m_state; }

    /// The tag-mode radio items (View menu); the setters do not emit.
    bool commonMode() const;
    void setCommonMode(bool common);
    /// 1 ID3v1 only, 2 ID3v2 only, 3 mixed.
    int displayedVersion() const;
    void setDisplayedVersion(int version);

    /// For handlers of mass changes: asks the change warning unless it is switched off, the
    /// command was chosen from a menu, or it was already asked during this command.
    bool confirmChange();
    /// Whether the command now running was chosen from a menu.
    bool triggeredFromMenu() const { return m_fromMenu; }
    /// The setting "ShowChangeWarningDialog".
    bool showChangeWarning() const { return m_showWarning; }
    void setShowChangeWarning(bool show) { m_showWarning = show; }

    TRenameBar* renameBar() const { return m_renameBar; }
    TGenreDropDown* genreDropDown() const { return m_genreDropDown; }
    TPlayButton* playButton() const { return m_playButton; }
    TTrackButton* trackButton() const { return m_trackButton; }

    /// Captions from the language: the language key's text, else the caption's translation,
    /// else the English caption.
    void retranslate(const settings::TMultiLanguage& language);

signals:
    /// Emitted before every command's work (the sticky track button is already unchecked).
    void commandStarted(const QString& name);
    void aboutToShowContextMenu();
    /// The user switched between common (true) and advanced mode.
    void tagModeChanged(bool commonMode);
    /// The user chose the displayed tag version (radio items or the mode button).
    void displayedVersionChanged(int version);
    /// The change warning's "don't show again" changed the setting.
    void showChangeWarningChanged(bool show);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Command {
        const CommandSpec* spec = nullptr;
        QAction* action = nullptr;
        std::function<void()> handler;
    };

    void createActions(QWidget* window);
    void createModeGroups();
    void connectBuiltIns();
    void run(Command& command);
    QMenu* newMenu(const QString& title, QWidget* parent);
    QMenu* menuAt(QMenuBar* bar, const QString& path);
    void fillToolBarsMenu(QMenu* menu);
    void buildContextMenu();
    void routeTo(const QStringList& commands);
    void switchTagMode(bool common);
    void chooseVersion(int version);
    void applyEnabling();
    bool routedCommandsEnabled(const QStringList& commands) const;
    void updateToolTip(const Command& command);

    QWidget* m_window;
    std::unique_ptr<ChangeWarning> m_warning;
    QList<Command> m_commands; // table order
    QHash<QString, int> m_index;
    QHash<QString, QMenu*> m_templateMenus;
    QHash<QString, QMenu*> m_menus; // menu bar menus by path
    QMenu* m_contextMenu = nullptr;
    QMenu* m_favouritesMenu = nullptr;
    QList<QPointer<QToolBar>> m_listedToolBars;
    QPointer<QToolBar> m_playerToolBar;
    TRenameBar* m_renameBar = nullptr;
    TGenreDropDown* m_genreDropDown = nullptr;
    TPlayButton* m_playButton = nullptr;
    TTrackButton* m_trackButton = nullptr;
    CommandState m_state;
    bool m_common = false;
    int m_version = 3;
    int m_versionBeforeCommon = 3;
    bool m_extendedContext = true;
    bool m_showWarning = true;
    std::optional<bool> m_runAnswer; ///< the change warning's answer during this command
    bool m_fromMenu = false;
    bool m_menuEventPending = false;
};

} // namespace app
