// Opening folders and playlists: the scanners, the leave check and the recent folders.
#include "filelistmodel.h"
#include "library/cachescanner.h"
#include "library/folderscanner.h"
#include "mainwindow.h"
#include "operations/leavecheck.h"
#include "playlists/playlistreader.h"
#include "prompter.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMenu>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTreeView>

namespace app {

tags::TagOptions TFormMain::currentTagOptions() const {
    return m_settings.tagOptions(m_displayedVersion, m_commonMode);
}

void TFormMain::connectScanner(library::TBaseScanner* scanner) {
    using library::TBaseScanner;
    connect(scanner, &TBaseScanner::cleared, this, [this] {
        m_folderFiles->showInformation(text(QStringLiteral("Scanning")) + QStringLiteral("..."));
    });
    connect(scanner, &TBaseScanner::filesFound, this, &TFormMain::onFilesFound);
    connect(scanner, &TBaseScanner::statusText, this, &TFormMain::showStatus);
    connect(scanner, &TBaseScanner::runningChanged, this, [this](bool running) {
        updateCommandState();
        m_gauge->setRange(0, running ? 0 : 100); // a busy bar while files are read
    });
    connect(scanner, &TBaseScanner::finished, this, &TFormMain::onScanFinished);
    connect(scanner, &TBaseScanner::playlistRead, this,
            [this](const QString& path) { setWindowTitle(QStringLiteral("Varlo - ") + path); });
    connect(scanner, &TBaseScanner::readErrors, this, [this](const QStringList& messages) {
        m_prompter->showProblems(text(QStringLiteral("Warning")),
                                 text(QStringLiteral("ReadErrors")), messages);
    });
}

void TFormMain::chooseActiveScanner() {
    const bool useCache = m_settings.value(QLatin1String(settings::names::chkCache)).toBool();
    const bool sync =
        m_settings.value(QLatin1String(settings::names::chkBackgroundSynching)).toBool();
    if (useCache && !m_cacheScanner) {
        m_cacheScanner = std::make_unique<library::TCacheScanner>(
            library::TTagCacheDB::defaultPath(), currentTagOptions());
        connectScanner(m_cacheScanner.get());
        connect(m_cacheScanner.get(), &library::TCacheScanner::fileUpdated, this,
                [this](const library::FileHandle& file) { m_folderFiles->offerFreshObject(file); });
    }
    if (m_cacheScanner)
        m_cacheScanner->setBackgroundSync(sync);
    library::TBaseScanner* wanted =
        useCache ? static_cast<library::TBaseScanner*>(m_cacheScanner.get())
                 : static_cast<library::TBaseScanner*>(m_folderScanner.get());
    if (wanted != m_scanner && m_scanner)
        m_scanner->stop();
    m_scanner = wanted;
}

bool TFormMain::isScanning() const {
    return m_scanner && m_scanner->isRunning();
}

void TFormMain::stopScan() {
    if (m_scanner)
        m_scanner->stop();
}

void TFormMain::onFilesFound(const QList<library::FileHandle>& files) {
    for (const library::FileHandle& file : files)
        file->setOptions(currentTagOptions());
    const bool wasEmpty = m_folderFiles->fileCount() == 0;
    m_folderFiles->appendFiles(files);
    if (wasEmpty && isScanning() && m_folderFiles->rowCount() >= 1 &&
        !m_folderList->selectionModel()->hasSelection()) {
        const QModelIndex first = m_folderFiles->index(0, 0);
        m_folderList->selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect |
                                                                   QItemSelectionModel::Rows);
    }
}

void TFormMain::onScanFinished() {
    if (m_folderFiles->fileCount() == 0)
        m_folderFiles->showInformation(text(QStringLiteral("NoFilesFound")));
    // Files new to the tag cache arrive after the cached ones; put them in their place.
    if (m_scanner == m_cacheScanner.get() && !m_playlistMode)
        m_folderFiles->sortByPath();
    applySortAfterScan();
    updateCounts();
    emit scanFinished();
}

void TFormMain::openPath(const QString& path) {
    if (!m_ready || path.isEmpty() || path == m_currentFolder)
        return;
    const QFileInfo info(path);
    if (info.isFile() && playlists::isPlaylistFile(path))
        openPlaylist(info.absoluteFilePath());
    else if (info.isDir())
        openFolder(QDir::cleanPath(info.absoluteFilePath()));
}

/// Leaves the folder list for `path` when the user allows it: the rows, their objects and
/// the undo list go. On refusal the tree shows the current folder again.
bool TFormMain::leaveListFor(const QString& path) {
    stopScan();
    if (!mayLeaveCurrentList()) {
        m_folderTree->setCurrentIndex(m_folderModel->index(m_currentFolder));
        return false;
    }
    rememberCurrentFolder();
    m_folderFiles->clear();
    m_undo.clear();
    m_currentFolder = path;
    return true;
}

void TFormMain::openPlaylist(const QString& path) {
    if (!leaveListFor(path))
        return;
    m_playlistMode = true;
    m_playlistModified = false;
    m_scanner->start(path, false, m_settings.extensions(), true);
}

void TFormMain::openFolder(const QString& path) {
    if (!leaveListFor(path))
        return;
    const QModelIndex node = m_folderModel->index(path);
    if (m_folderTree->currentIndex() != node) {
        const QSignalBlocker quiet(m_folderTree->selectionModel());
        m_folderTree->setCurrentIndex(node);
        m_folderTree->scrollTo(node);
    }
    setWindowTitle(QStringLiteral("Varlo - ") + path);
    m_folderFiles->showInformation(text(QStringLiteral("Scanning")) + QStringLiteral("..."));
    m_playlistMode = false;
    m_playlistModified = false;
    if (m_scanner == m_folderScanner.get())
        m_folderScanner->setTagOptions(currentTagOptions());
    m_scanner->start(path, m_settings.scanRecursively(), m_settings.extensions(), false);
}

bool TFormMain::mayLeaveCurrentList() {
    const QList<library::FileHandle> files = m_folderFiles->files();
    const bool changed = std::any_of(files.begin(), files.end(),
                                     [](const library::FileHandle& f) { return f->Changed(); });
    if (!changed)
        return true;
    switch (m_prompter->askSaveChanges(operations::leaveQuestion(m_currentFolder).trimmed())) {
    case TPrompter::Answer::Yes:
        return saveChanges();
    case TPrompter::Answer::No:
        return true;
    case TPrompter::Answer::Cancel:
        return false;
    }
    return false;
}

void TFormMain::rememberCurrentFolder() {
    if (m_currentFolder.isEmpty())
        return;
    m_state.recentFolders().add(m_currentFolder);
}

void TFormMain::rebuildRecentMenu() {
    m_recentMenu->clear();
    const QStringList paths = m_state.recentFolders().paths();
    for (int position = 0; position < paths.size(); ++position) {
        QAction* entry = m_recentMenu->addAction(
            settings::TRecentFolders::menuCaption(position, paths[position]));
        entry->setData(paths[position]);
        connect(entry, &QAction::triggered, this, [this, path = paths[position]] {
            m_state.recentFolders().take(path);
            openPath(path);
        });
    }
    m_recentMenu->setEnabled(!paths.isEmpty());
}

void TFormMain::onTreeFolderRenamed(const QString& parentPath, const QString& oldName,
                                    const QString& newName) {
    const QString oldFolder = parentPath + QLatin1Char('/') + oldName + QLatin1Char('/');
    const QString newFolder = parentPath + QLatin1Char('/') + newName + QLatin1Char('/');
    for (TFileListModel* model : {m_folderFiles, m_searchFiles}) {
        for (const library::FileHandle& file : model->files()) {
            if (!file->FilePath().startsWith(oldFolder))
                continue;
            const QString newPath = newFolder + file->FilePath().mid(oldFolder.size());
            file->setFilePath(newPath);
            file->setNewFileDir(newPath.left(newPath.lastIndexOf(QLatin1Char('/')) + 1));
            model->refreshFile(*file);
        }
    }
    if ((m_currentFolder + QLatin1Char('/')).startsWith(oldFolder))
        m_currentFolder = newFolder.chopped(1) + m_currentFolder.mid(oldFolder.size() - 1);
}

} // namespace app
