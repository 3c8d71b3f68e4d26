#include "cachescanner.h"

#include "folderwalk.h"

namespace library {

TCacheScanner::TCacheScanner(const QString& databasePath, const tags::TagOptions& options,
                             QObject* parent)
    : TBaseScanner(parent), m_manager(new TCacheManager(databasePath, options)),
      m_sync(new TCacheSynchronizer(databasePath, options)), m_extensions(audioExtensions()) {
    m_manager->setSynchronizer(m_sync);
    m_manager->moveToThread(&m_managerThread);
    m_sync->moveToThread(&m_syncThread);
    connect(&m_managerThread, &QThread::finished, m_manager, &QObject::deleteLater);
    connect(&m_syncThread, &QThread::finished, m_sync, &QObject::deleteLater);

    // Queued, so that every handler runs on this object's thread.
    connect(m_manager, &TCacheManager::fileFound, this, &TCacheScanner::onFileFound,
            Qt::QueuedConnection);
    connect(m_manager, &TCacheManager::filesRemoved, this, &TCacheScanner::onFilesRemoved,
            Qt::QueuedConnection);
    connect(m_manager, &TCacheManager::readFinished, this, &TCacheScanner::onReadFinished,
            Qt::QueuedConnection);
    connect(m_sync, &TCacheSynchronizer::fileRead, this, &TCacheScanner::onFileRead,
            Qt::QueuedConnection);
    connect(m_sync, &TCacheSynchronizer::finished, this, &TCacheScanner::onSyncFinished,
            Qt::QueuedConnection);

    m_managerThread.setObjectName(QStringLiteral("Cache manager"));
    m_syncThread.setObjectName(QStringLiteral("Cache synchroniser"));
    m_managerThread.start(QThread::LowestPriority);
    m_syncThread.start(QThread::LowestPriority);
}

TCacheScanner::~TCacheScanner() {
    m_manager->cancel();
    m_sync->cancel();
    m_managerThread.quit();
    m_syncThread.quit();
    m_managerThread.wait();
    m_syncThread.wait();
}

void TCacheScanner::start(const QString& path, bool recursive, const QStringList& extensions,
                          bool playlistMode) {
    stop();
    if (!extensions.isEmpty())
        m_extensions = extensions;
    m_path = path;
    m_playlistMode = playlistMode;
    m_syncJob = 0;
    m_listed.clear();
    beginScan();
    emit statusText(path);
    m_readJob = playlistMode ? m_manager->requestPlaylist(path)
                             : m_manager->requestFolder(path, recursive, m_extensions);
}

void TCacheScanner::stop() {
    if (!isRunning())
        return;
    // The synchroniser goes on filling the cache; its files no longer become rows.
    m_manager->cancel();
    finishScan();
}

void TCacheScanner::setBackgroundSync(bool on) {
    m_backgroundSync = on;
    m_manager->setBackgroundSync(on);
    if (!on && m_syncJob)
        finishScan();
}

void TCacheScanner::onFileFound(int job, const FileHandle& file) {
    if (!isCurrentRead(job))
        return;
    m_listed.insert(file->FilePath());
    addFile(file);
}

void TCacheScanner::onFilesRemoved(int job, const QStringList& paths) {
    if (!isCurrentRead(job))
        return;
    for (const QString& path : paths)
        emit fileRemoved(path);
}

void TCacheScanner::onReadFinished(int job, int syncJob) {
    if (!isCurrentRead(job))
        return;
    if (m_playlistMode) {
        flushFiles();
        emit playlistRead(m_path);
    }
    if (syncJob && m_backgroundSync)
        m_syncJob = syncJob;
    else
        finishScan();
}

void TCacheScanner::onFileRead(int job, const FileHandle& file) {
    if (!isCurrentSync(job))
        return;
    if (m_listed.contains(file->FilePath())) {
        flushFiles(); // its row must exist before it is updated
        emit fileUpdated(file);
        return;
    }
    m_listed.insert(file->FilePath());
    addFile(file);
}

void TCacheScanner::onSyncFinished(int job) {
    if (isCurrentSync(job))
        finishScan();
}

} // namespace library
