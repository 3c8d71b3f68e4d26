#pragma once

#include "filecolumns.h"
#include "library/cachesync.h"
#include "operations/filecommand.h"
#include "operations/undolist.h"
#include "prompter.h"
#include "selectionsummary.h"
#include "settings/mainwindowstate.h"
#include "settings/multilanguage.h"
#include "settings/registrysave.h"
#include "settings/settings.h"

#include <QMainWindow>
#include <QTimer>

#include <memory>

class QFileSystemModel;
class QFormLayout;
class QLabel;
class QMenu;
class QProgressBar;
class QStackedWidget;
class QTabBar;
class QTreeView;

namespace library {
class TBaseScanner;
class TCacheScanner;
class TFolderScanner;
} // namespace library

namespace app {

class PlayerHandOff;
class TCommandSet;
class TFileListModel;

/// The main window: folder tree, file list and the commands that work on it.
class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    /// `prompter` answers questions (message boxes by default).
    explicit TFormMain(QWidget* parent = nullptr, std::unique_ptr<TPrompter> prompter = nullptr);
    ~TFormMain() override;

    /// Opens a folder or a playlist file (".m3u", ".pls", ".fls") in the file list. Ignored
    /// until the window is ready and when the path is already open.
    void openPath(const QString& path);
    /// The folder or playlist file now shown; empty when nothing is open.
    QString currentFolder() const { return m_currentFolder; }
    bool playlistMode() const { return m_playlistMode; }
    bool playlistModified() const { return m_playlistModified; }

    /// Set at the first idle moment after start; before it, tree selections open nothing.
    void setReady();
    bool isReady() const { return m_ready; }

    /// Reads the settings again after someone else stored them (the first-start dialog).
    void reloadOptions();
    /// Shows the folder tree with the "Folder" page (0) or the "Search" page (1).
    void showPage(int page);

    /// The player that files handed over at start or by a second start go to.
    PlayerHandOff& player() { return *m_player; }

    settings::Settings& options() { return m_settings; }
    settings::TMainWindowState& state() { return m_state; }
    const settings::TRecentFolders& recentFolders() const { return m_state.recentFolders(); }

    // --- the lists ---
    TFileListModel& folderFiles() const { return *m_folderFiles; }
    TFileListModel& searchFiles() const { return *m_searchFiles; }
    /// The list on the active page ("Folder" or "Search").
    TFileListModel& currentFiles() const;
    QTreeView& currentListView() const;
    QTreeView& folderListView() const { return *m_folderList; }
    bool isScanning() const;
    /// Stops the running scan; the rows found so far stay.
    void stopScan();
    /// The selected rows' files of the current list, in list order.
    QList<library::FileHandle> selectedFiles() const;
    /// The summary shown for the selection (several files: built 100 ms after the change).
    const SelectionSummary& summary() const { return m_summary; }

    // --- view ---
    bool commonMode() const { return m_commonMode; }
    void setCommonMode(bool common);
    /// 1 ID3v1 only, 2 ID3v2 only, 3 mixed.
    int displayedVersion() const { return m_displayedVersion; }
    void setDisplayedVersion(int version);
    /// Sorts the current list as a click on a column's header does.
    void sortByColumnClick(int column);
    int sortColumn() const { return m_sortColumn; }
    bool sortDescending() const { return m_sortDescending; }

    // --- commands ---
    TCommandSet& commands() const { return *m_commands; }
    operations::TUndoList& undoList() { return m_undo; }
    /// Runs one step over the selected files of the current list as one undoable command.
    operations::CommandReport runOnSelection(const QString& command,
                                             const operations::FileStep& step);
    /// Writes every changed file of the folder list; false when some could not be saved.
    bool saveChanges();
    /// Undoes the last command.
    void undoLast();
    /// Moves the selected files to the trash after asking; rows whose files went leave.
    void recycleSelection();
    /// Removes the selected rows from the list when none has unsaved changes.
    void clearSelectedRows();
    /// Leaves the current folder (asking about unsaved changes first).
    void closeCurrentFolder();

    /// A language text by key.
    QString text(const QString& key) const { return m_language.Lookup(key); }
    /// The status panels: counts ("selected : rows"), undo and status texts.
    QString statusPanelText(int panel) const;

signals:
    /// Every folder listing (complete or stopped) ends with this.
    void scanFinished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // construction (mainwindow.cpp)
    void createFolderTree();
    QTreeView* createFileList(TFileListModel* model, const QString& objectName);
    void createSummaryDock();
    void createStatusBar();
    void createMenus();
    void createScanners();
    void restoreState();
    void saveState();

    // scanning (mainwindowscan.cpp)
    void connectScanner(library::TBaseScanner* scanner);
    void chooseActiveScanner();
    void onFilesFound(const QList<library::FileHandle>& files);
    void onScanFinished();
    bool leaveListFor(const QString& path);
    void openFolder(const QString& path);
    void openPlaylist(const QString& path);
    bool mayLeaveCurrentList();
    void rememberCurrentFolder();
    void rebuildRecentMenu();
    void onTreeFolderRenamed(const QString& parentPath, const QString& oldName,
                             const QString& newName);
    tags::TagOptions currentTagOptions() const;

    // commands (mainwindowcommands.cpp, mainwindowtemplates.cpp)
    void connectCommands();
    void connectTemplateCommands();
    void connectFileNameCommands();
    void runTemplateCommand(const QString& command, const char* defaultName,
                            const std::function<tags::Status(tags::TMP3&, const QString&)>& step);
    void updateCommandState();
    void showOptions();
    void afterCommand(const operations::CommandReport& report);
    operations::CommandReport runWithProgress(const QString& command,
                                              const QList<library::FileHandle>& files,
                                              const operations::FileStep& step);
    void chooseAndOpenFolder();
    void refreshFolder();

    // list behaviour (mainwindowlist.cpp)
    void onSelectionChanged();
    void numberByTrackButton(const library::FileHandle& file);
    void onRowActivated(const QModelIndex& index);
    void showSummary();
    void updateCounts();
    void applyViewToRows();
    void applySortAfterScan();
    void showStatus(const QString& status);

    settings::TRegistrySave m_store;
    settings::Settings m_settings;
    settings::TMainWindowState m_state;
    settings::TMultiLanguage m_language;
    std::unique_ptr<TPrompter> m_prompter;
    std::unique_ptr<PlayerHandOff> m_player;

    QFileSystemModel* m_folderModel = nullptr;
    QTreeView* m_folderTree = nullptr;
    QTabBar* m_pageTabs = nullptr;
    QStackedWidget* m_pages = nullptr;
    TFileListModel* m_folderFiles = nullptr;
    TFileListModel* m_searchFiles = nullptr;
    QTreeView* m_folderList = nullptr;
    QTreeView* m_searchList = nullptr;
    QFormLayout* m_summaryForm = nullptr;
    QList<QLabel*> m_summaryValues;
    QProgressBar* m_gauge = nullptr;
    QLabel* m_countsPanel = nullptr;
    QLabel* m_undoPanel = nullptr;
    QLabel* m_statusPanel = nullptr;
    QMenu* m_recentMenu = nullptr;
    TCommandSet* m_commands = nullptr;
    operations::TUndoList m_undo;
    QTimer m_enablingTimer;

    std::unique_ptr<library::TFolderScanner> m_folderScanner;
    std::unique_ptr<library::TCacheScanner> m_cacheScanner;
    library::TBaseScanner* m_scanner = nullptr; ///< the one that opens folders now

    QString m_currentFolder;
    bool m_ready = false;
    /// A command or save runs and pumps events for its progress: nothing else may start.
    bool m_busy = false;
    bool m_playlistMode = false;
    bool m_playlistModified = false;
    bool m_commonMode = false;
    int m_displayedVersion = 3;
    int m_versionBeforeCommon = 3;
    int m_sortColumn = -1;
    bool m_sortDescending = false;
    SelectionSummary m_summary;
    QTimer m_selectionTimer;
};

} // namespace app
