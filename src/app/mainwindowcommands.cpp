// The main window's commands: wiring of the command set, the per-file runs, undo and saving.
#include "cachecommands.h"
#include "columnsdialog.h"
#include "commandset.h"
#include "commandwidgets.h"
#include "filelistmodel.h"
#include "library/tagcachedb.h"
#include "mainwindow.h"
#include "operations/leavecheck.h"
#include "operations/saverun.h"
#include "operations/trash.h"
#include "playerhandoff.h"
#include "prompter.h"
#include "settings/ui/optionsdialog.h"
#include "settings/ui/translatewidgets.h"
#include "tags/audiofile.h"
#include "tags/genres.h"

#include <QApplication>
#include <QDockWidget>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTreeView>

namespace app {

namespace {

/// Marks the window busy while a command or a save runs: their progress windows let events
/// through, and no other command may start meanwhile.
class BusyScope {
public:
    BusyScope(bool& busy, const std::function<void()>& changed) : m_busy(busy), m_changed(changed) {
        m_busy = true;
        m_changed();
    }
    ~BusyScope() {
        m_busy = false;
        m_changed();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_busy;
    std::function<void()> m_changed;
};

/// Shows a save run in a progress window with a Stop button; name conflicts go to the user.
class SaveProgress : public operations::SaveRunHost {
public:
    SaveProgress(QWidget* parent, TPrompter& prompter, TFileListModel& files, int total)
        : m_dialog(QStringLiteral("Saving..."), QStringLiteral("Stop"), 0, total, parent),
          m_prompter(prompter), m_files(files) {
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(500);
    }
    bool progress(int done, int total, const QString& path) override {
        m_dialog.setMaximum(total);
        m_dialog.setValue(done);
        m_dialog.setLabelText(path);
        QApplication::processEvents();
        return !m_dialog.wasCanceled();
    }
    operations::DuplicateAnswer
    askDuplicateName(const operations::DuplicateQuestion& question) override {
        return m_prompter.askDuplicateName(question);
    }
    void rowMerged(const library::FileHandle& removed, const library::FileHandle&) override {
        const int row = m_files.rowOf(removed.get());
        if (row >= 0)
            m_files.removeRowList({row});
    }

private:
    QProgressDialog m_dialog;
    TPrompter& m_prompter;
    TFileListModel& m_files;
};

operations::DuplicatePolicy duplicatePolicy(settings::Settings::DuplicateFiles choice) {
    switch (choice) {
    case settings::Settings::DuplicateRename:
        return operations::DuplicatePolicy::Rename;
    case settings::Settings::DuplicateReplace:
        return operations::DuplicatePolicy::Replace;
    case settings::Settings::DuplicateAsk:
        return operations::DuplicatePolicy::Ask;
    default:
        return operations::DuplicatePolicy::Skip;
    }
}

} // namespace

void TFormMain::createMenus() {
    m_commands = new TCommandSet(this);
    m_commands->buildMenus(menuBar());
    m_commands->buildToolBars(this);
    m_commands->setExtendedContextMenu(m_settings.extendedContextMenu());
    m_commands->setShowChangeWarning(
        m_state.value(QLatin1String(settings::windownames::ShowChangeWarningDialog)).toBool());

    m_recentMenu = new QMenu(QStringLiteral("&Recent folders"), this);
    m_recentMenu->setObjectName(QStringLiteral("MRUList"));
    QAction* close = m_commands->action(QStringLiteral("FileClose"));
    for (QAction* top : menuBar()->actions())
        if (top->menu() && top->menu()->actions().contains(close))
            top->menu()->insertMenu(close, m_recentMenu);
    connect(m_recentMenu, &QMenu::aboutToShow, this, &TFormMain::rebuildRecentMenu);
    rebuildRecentMenu();

    for (QTreeView* list : {m_folderList, m_searchList}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
            updateCommandState();
            m_commands->contextMenu()->popup(list->viewport()->mapToGlobal(at));
        });
    }
    m_enablingTimer.setSingleShot(true);
    m_enablingTimer.setInterval(0);
    connect(&m_enablingTimer, &QTimer::timeout, this, &TFormMain::updateCommandState);
    connectCommands();
    connectTemplateCommands();
    connectFileNameCommands();
}

void TFormMain::connectCommands() {
    TCommandSet& c = *m_commands;
    c.setHandler(QStringLiteral("FileOpen"), [this] { chooseAndOpenFolder(); });
    c.setHandler(QStringLiteral("FileClose"), [this] { closeCurrentFolder(); });
    c.setHandler(QStringLiteral("SaveChanges"), [this] { saveChanges(); });
    c.setHandler(QStringLiteral("FileExit"), [this] { close(); });
    c.setHandler(QStringLiteral("Undo"), [this] { undoLast(); });
    c.setHandler(QStringLiteral("ActRecycle"), [this] { recycleSelection(); });
    c.setHandler(QStringLiteral("SelectAll"), [this] { currentListView().selectAll(); });
    c.setHandler(QStringLiteral("SelectionInvert"), [this] {
        QItemSelectionModel* selection = currentListView().selectionModel();
        const QItemSelection all(currentFiles().index(0, 0),
                                 currentFiles().index(currentFiles().rowCount() - 1, 0));
        selection->select(all, QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
    });
    c.setHandler(QStringLiteral("SelectionClearAct"), [this] { clearSelectedRows(); });
    c.setHandler(QStringLiteral("ActRefresh"), [this] { refreshFolder(); });
    c.setHandler(QStringLiteral("ActStopBrowse"), [this] { stopScan(); });
    c.setHandler(QStringLiteral("ActStatusBar"),
                 [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
    c.setHandler(QStringLiteral("ActShowTreeView"),
                 [this] { m_folderTree->parentWidget()->setVisible(!m_folderTree->isVisible()); });
    c.setHandler(QStringLiteral("ActFileSummary"), [this] {
        if (auto* dock = findChild<QDockWidget*>(QStringLiteral("FileSummaryDock")))
            dock->setVisible(!dock->isVisible());
    });
    c.setHandler(QStringLiteral("SettingsAct"), [this] { showOptions(); });
    c.setHandler(QStringLiteral("ActionEditFileName"), [this] {
        if (m_settings.useRenameBar()) {
            m_commands->action(QStringLiteral("RenameToolbarAct"))->setChecked(true);
            m_commands->renameBar()->show();
            m_commands->renameBar()->field()->setFocus();
            return;
        }
        QTreeView& list = currentListView();
        list.edit(currentFiles().index(list.currentIndex().row(), 0));
    });
    c.setHandler(QStringLiteral("ActColumns"), [this] {
        TFormColumns dialog(currentListView().header(), this);
        dialog.exec();
    });

    auto removeBy = [this](const QString& name, void (tags::TMP3::*remove)()) {
        m_commands->setHandler(name, [this, name, remove] {
            runOnSelection(name, [remove](tags::TMP3& file) {
                (file.*remove)();
                return tags::Status::success();
            });
        });
    };
    removeBy(QStringLiteral("ID31Remove"), &tags::TMP3::ClearID3v1);
    removeBy(QStringLiteral("APERemove"), &tags::TMP3::RemoveAPETag);
    removeBy(QStringLiteral("OGGRemove"), &tags::TMP3::RemoveOggTag);
    removeBy(QStringLiteral("WMARemove"), &tags::TMP3::RemoveWmaTag);

    const auto fillGenres = [this] {
        QStringList names;
        for (int index : m_settings.shortGenreList())
            if (const QString name = tags::GenreNames::NameOf(index); !name.isEmpty())
                names << name;
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        m_commands->genreDropDown()->setGenres(names);
    };
    fillGenres();
    connect(&m_settings, &settings::Settings::shortGenreListChanged, this, fillGenres);
    c.setHandler(QStringLiteral("SetGenre"), [this] {
        const QString genre = m_commands->genreDropDown()->genre();
        runOnSelection(QStringLiteral("SetGenre"), [genre](tags::TMP3& file) {
            file.set(tags::Field::GenreStr, genre);
            return tags::Status::success();
        });
    });
    connect(c.renameBar(), &TRenameBar::renameAccepted, this, [this](const QString& name) {
        const QList<library::FileHandle> files = selectedFiles();
        if (files.size() != 1)
            return;
        m_undo.beginGroup(QStringLiteral("Rename"));
        m_undo.pushIfNew(files.first());
        m_undo.endGroup();
        files.first()->setFileName(name);
        files.first()->setChanged(true);
        currentFiles().refreshFile(*files.first());
        updateCommandState();
    });
    connect(&c, &TCommandSet::tagModeChanged, this, &TFormMain::setCommonMode);
    connect(&c, &TCommandSet::displayedVersionChanged, this, &TFormMain::setDisplayedVersion);
    connect(&c, &TCommandSet::showChangeWarningChanged, this, [this](bool show) {
        m_state.setValue(QLatin1String(settings::windownames::ShowChangeWarningDialog), show);
    });
    connect(&c, &TCommandSet::aboutToShowContextMenu, this, &TFormMain::updateCommandState);
    for (TFileListModel* model : {m_folderFiles, m_searchFiles}) {
        connect(model, &TFileListModel::aboutToRename, this,
                [this](const library::FileHandle& file) {
                    m_undo.beginGroup(QStringLiteral("Rename"));
                    m_undo.pushIfNew(file);
                    m_undo.endGroup();
                    m_enablingTimer.start();
                });
    }
}

void TFormMain::showOptions() {
    settings::TSettings dialog(m_settings, m_store, m_language, this);
    TCacheCommands cache(library::TTagCacheDB::defaultPath(), currentTagOptions());
    connect(&cache, &TCacheCommands::progress, &dialog,
            [&dialog](const QString& folder, int done, int total) {
                dialog.showCacheProgress(
                    folder.isEmpty() ? QStringLiteral("Cleaning cache...") : folder, done, total);
            });
    connect(&cache, &TCacheCommands::finished, &dialog,
            [&dialog](bool stopped, const QString& summary) {
                dialog.setCacheBusy(false);
                dialog.showCacheProgress(stopped ? QStringLiteral("Stopped") : summary, 0, 0);
            });
    const auto build = [&, this](const QString& folder) {
        if (cache.build({folder}, m_settings.extensions()))
            dialog.setCacheBusy(true);
        else
            dialog.showCacheProgress(
                QStringLiteral("%1 cannot be read into the cache (missing, network or system "
                               "folder).")
                    .arg(folder),
                0, 0);
    };
    connect(&dialog, &settings::TSettings::buildCacheRequested, &cache,
            [&] { build(QStandardPaths::writableLocation(QStandardPaths::MusicLocation)); });
    connect(&dialog, &settings::TSettings::synchronizeCacheRequested, &cache, [&, this] {
        build(m_playlistMode || m_currentFolder.isEmpty()
                  ? QStandardPaths::writableLocation(QStandardPaths::MusicLocation)
                  : m_currentFolder);
    });
    connect(&dialog, &settings::TSettings::cleanCacheRequested, &cache, [&] {
        dialog.setCacheBusy(true);
        cache.clean();
    });
    connect(&dialog, &settings::TSettings::languageChanged, this,
            [this] { settings::translateWidget(this, m_language); });
    dialog.exec();
    cache.cancel();
    applyViewToRows();
    updateCommandState();
}

operations::CommandReport TFormMain::runOnSelection(const QString& command,
                                                    const operations::FileStep& step) {
    const QList<library::FileHandle> files = selectedFiles();
    if (files.size() > 1 && !m_commands->confirmChange())
        return {};
    operations::CommandReport report;
    {
        const BusyScope busy(m_busy, [this] { updateCommandState(); });
        report = runWithProgress(command, files, step);
    }
    afterCommand(report);
    return report;
}

operations::CommandReport TFormMain::runWithProgress(const QString& command,
                                                     const QList<library::FileHandle>& files,
                                                     const operations::FileStep& step) {
    QProgressDialog progress(command, QStringLiteral("Stop"), 0, int(files.size()), this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(700);
    return operations::runPerFile(m_undo, command, files, step, [&progress](int done, int) {
        progress.setValue(done);
        return !progress.wasCanceled();
    });
}

void TFormMain::afterCommand(const operations::CommandReport& report) {
    if (!report.errors.isEmpty()) {
        QStringList lines;
        for (const auto& [path, message] : report.errors)
            lines << path + QStringLiteral(": ") + message;
        m_prompter->showProblems(text(QStringLiteral("Warning")),
                                 QStringLiteral("The command failed for some files:"), lines);
    }
    showSummary();
    updateCommandState();
}

/// A double click or Enter on a row plays the file or opens its editor, as the options say.
void TFormMain::onRowActivated(const QModelIndex& index) {
    const library::FileHandle file = currentFiles().fileAt(index.row());
    if (!file)
        return;
    QString editor;
    switch (m_settings.doubleClick()) {
    case settings::Settings::DoubleClickPlay:
        handFileToPlayer(*m_player, file->FilePath());
        return;
    case settings::Settings::DoubleClickEditID3v1:
        editor = QStringLiteral("EditID3v1");
        break;
    case settings::Settings::DoubleClickEditID3v2:
        editor = QStringLiteral("EditID3v2");
        break;
    case settings::Settings::DoubleClickEditDisplayed:
        editor =
            file->WorkVersion() == 1 ? QStringLiteral("EditID3v1") : QStringLiteral("EditID3v2");
        break;
    }
    if (m_commonMode)
        editor = QStringLiteral("EditTag");
    else if (file->OGG())
        editor = QStringLiteral("EditOgg");
    else if (file->WMA())
        editor = QStringLiteral("EditWma");
    if (QAction* action = m_commands->action(editor); action && action->isEnabled())
        action->trigger();
}

void TFormMain::undoLast() {
    m_undo.UndoLast();
    showSummary();
    updateCommandState();
}

bool TFormMain::saveChanges() {
    QList<library::FileHandle> files = m_folderFiles->files();
    operations::SaveOptions options;
    options.alwaysSave = m_settings.alwaysSave();
    options.duplicates = duplicatePolicy(m_settings.duplicateFiles());
    options.versionValues = m_commonMode;
    if (m_playlistMode && m_playlistModified)
        options.playlistPath = m_currentFolder;
    operations::SaveReport report;
    {
        const BusyScope busy(m_busy, [this] { updateCommandState(); });
        SaveProgress host(this, *m_prompter, *m_folderFiles, int(files.size()));
        report = operations::TSaveRun(files, options, host).run();
    }
    if (!report.failed.isEmpty()) {
        QStringList lines;
        for (const operations::SaveFailure& failure : report.failed)
            lines << failure.path + QStringLiteral(": ") + failure.message;
        m_prompter->showProblems(text(QStringLiteral("Warning")),
                                 text(QStringLiteral("FilesNotSaved")), lines);
    }
    if (!report.stopped && report.failed.isEmpty()) {
        m_undo.clearAfterSave(m_settings.undoAfterSave());
        m_playlistModified = false;
    }
    m_folderFiles->refreshAll();
    showSummary();
    updateCommandState();
    return operations::mayLeaveAfterSave(report);
}

void TFormMain::recycleSelection() {
    const QList<library::FileHandle> files = selectedFiles();
    if (files.isEmpty() ||
        !m_prompter->confirm(QStringLiteral("Move %1 file(s) to the trash?").arg(files.size())))
        return;
    QStringList paths;
    for (const library::FileHandle& file : files)
        paths << file->FilePath();
    const QStringList failed = operations::moveToTrash(paths);
    QList<int> gone;
    for (const library::FileHandle& file : files)
        if (!failed.contains(file->FilePath()))
            gone << currentFiles().rowOf(file.get());
    currentFiles().removeRowList(gone);
    if (!failed.isEmpty())
        m_prompter->showProblems(text(QStringLiteral("Warning")),
                                 QStringLiteral("These files could not be moved to the trash:"),
                                 failed);
    updateCommandState();
}

void TFormMain::clearSelectedRows() {
    const QList<library::FileHandle> files = selectedFiles();
    if (std::any_of(files.begin(), files.end(), [](const auto& f) { return f->Changed(); })) {
        m_prompter->inform(text(QStringLiteral("AppName")), text(QStringLiteral("RemoveItems")));
        return;
    }
    QList<int> rows;
    for (const library::FileHandle& file : files)
        rows << currentFiles().rowOf(file.get());
    currentFiles().removeRowList(rows);
    if (m_playlistMode && &currentFiles() == m_folderFiles && !rows.isEmpty())
        m_playlistModified = true;
    updateCommandState();
}

void TFormMain::closeCurrentFolder() {
    if (!leaveListFor(QString()))
        return;
    m_playlistMode = false;
    setWindowTitle(QStringLiteral("Varlo"));
    updateCommandState();
}

void TFormMain::chooseAndOpenFolder() {
    const QStringList recent = m_state.recentFolders().paths();
    const QString start = recent.isEmpty()
                              ? m_state.lastUsedFolder(settings::windownames::LastUsedFolderGlobal)
                              : recent.first();
    const QString folder = m_prompter->chooseFolder(start);
    if (folder.isEmpty())
        return;
    m_state.setValue(QLatin1String(settings::windownames::LastUsedFolderGlobal), folder);
    m_sortColumn = -1;
    for (QTreeView* view : {m_folderList, m_searchList})
        view->header()->setSortIndicatorShown(false);
    openPath(folder);
}

void TFormMain::refreshFolder() {
    if (isScanning() || m_currentFolder.isEmpty())
        return;
    const QString folder = m_currentFolder;
    if (!mayLeaveCurrentList())
        return;
    for (const library::FileHandle& file : m_folderFiles->files())
        file->setChanged(false); // the user chose to discard: do not ask a second time
    m_currentFolder.clear();
    openPath(folder);
}

void TFormMain::updateCommandState() {
    if (!m_commands)
        return;
    CommandState state;
    state.page =
        m_pages->currentIndex() == 1 ? CommandState::Page::Search : CommandState::Page::Folder;
    TFileListModel& files = currentFiles();
    state.folderOpen = !m_currentFolder.isEmpty();
    state.rows = files.rowCount();
    state.firstRowHasFile = files.fileAt(0) != nullptr;
    const QList<library::FileHandle> selected = selectedFiles();
    state.selectedRows = int(selected.size());
    if (const library::FileHandle focused = files.fileAt(currentListView().currentIndex().row())) {
        state.focused = focused->WMA()   ? FileKind::Wma
                        : focused->OGG() ? FileKind::Ogg
                        : focused->WAV() ? FileKind::Wav
                                         : FileKind::Mpeg;
        state.focusedHasApe = focused->APE();
    }
    state.scanning = isScanning();
    state.saving = m_busy;
    state.canUndo = m_undo.canUndo();
    const QList<library::FileHandle> all = m_folderFiles->files();
    state.hasChanges = operations::hasUnsavedChanges(all);
    state.alwaysSave = m_settings.alwaysSave();
    state.playlistMode = m_playlistMode;
    state.playlistModified = m_playlistModified;
    state.commonMode = m_commonMode;
    state.displayedVersion = m_displayedVersion;
    state.oggEnabled = m_settings.oggEnabled();
    state.wmaEnabled = m_settings.wmaEnabled();
    m_commands->setCommonMode(m_commonMode);
    m_commands->setDisplayedVersion(m_displayedVersion);
    m_commands->updateEnabling(state);
    m_undoPanel->setText(state.scanning ? QStringLiteral("Stop!") : m_undo.statusText());
}

} // namespace app
