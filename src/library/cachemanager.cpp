#include "cachemanager.h"

#include "cachedlisting.h"
#include "playlists/playlistreader.h"

#include <QFileInfo>

namespace library {

TCacheManager::TCacheManager(const QString& databasePath, const tags::TagOptions& options)
    : m_databasePath(databasePath), m_options(options) {
    qRegisterMetaType<library::FileHandle>();
    qRegisterMetaType<library::KnownFiles>();
    qRegisterMetaType<QList<library::CacheRecord>>();
}

TCacheManager::~TCacheManager() = default;

void TCacheManager::setSynchronizer(TCacheSynchronizer* synchronizer) {
    if (m_synchronizer)
        disconnect(this, &TCacheManager::synchroniseRequested, m_synchronizer, nullptr);
    m_synchronizer = synchronizer;
    if (synchronizer)
        connect(this, &TCacheManager::synchroniseRequested, synchronizer,
                &TCacheSynchronizer::synchroniseFolder, Qt::QueuedConnection);
}

int TCacheManager::requestFolder(const QString& folder, bool recursive,
                                 const QStringList& extensions) {
    const int job = ++m_job;
    QMetaObject::invokeMethod(
        this, [=, this] { scanFolder(job, folder, recursive, extensions); }, Qt::QueuedConnection);
    return job;
}

int TCacheManager::requestPlaylist(const QString& playlistPath) {
    const int job = ++m_job;
    QMetaObject::invokeMethod(
        this, [=, this] { scanPlaylist(job, playlistPath); }, Qt::QueuedConnection);
    return job;
}

void TCacheManager::setBackgroundSync(bool on) {
    m_backgroundSync = on;
    if (!on && m_synchronizer)
        m_synchronizer->cancel();
}

TTagCacheDB& TCacheManager::database() {
    // Made on first use, so the connection belongs to the worker thread.
    if (!m_db)
        m_db = std::make_unique<TTagCacheDB>(m_databasePath);
    return *m_db;
}

void TCacheManager::updateEntry(tags::TMP3& file) {
    const QList<CacheRecord> records{recordOf(file, m_options.tagMode)};
    QMetaObject::invokeMethod(this, "storeRecords", Qt::QueuedConnection,
                              Q_ARG(QList<library::CacheRecord>, records));
}

void TCacheManager::storeRecords(const QList<library::CacheRecord>& records) {
    database().store(records);
}

FileHandle TCacheManager::objectFrom(const CacheRecord& record) {
    auto file = std::make_shared<tags::TMP3>(QString(), m_options, this);
    if (!file->FromCacheString(record.text))
        return nullptr;
    file->setFilePath(record.path);
    file->setIsSyn(false);
    file->setShouldSyn(true);
    return file;
}

void TCacheManager::scanFolder(int job, const QString& folder, bool recursive,
                               const QStringList& extensions) {
    const int syncJob = m_synchronizer ? m_synchronizer->beginJob() : 0;
    TTagCacheDB& db = database();
    KnownFiles known;
    QStringList gone;
    // Record by record as the query yields them: the first row comes without waiting for
    // the whole folder's records.
    db.visitFolder(folder, recursive, extensions, [&](CacheRecord&& record) {
        if (job != m_job)
            return false;
        if (!QFileInfo::exists(record.path)) {
            if (fileIsGone(record.path))
                gone << record.path;
            return true;
        }
        // A record of another cache text version is left to the synchroniser to re-read.
        if (FileHandle file = objectFrom(record)) {
            known.insert(record.path, record.stamp);
            emit fileFound(job, file);
        }
        return true;
    });
    db.remove(gone);
    emit filesRemoved(job, gone);
    // readFinished goes out before the synchroniser can report anything of its job.
    const bool synchronise = m_synchronizer && m_backgroundSync && job == m_job;
    emit readFinished(job, synchronise ? syncJob : 0);
    if (synchronise)
        emit synchroniseRequested(syncJob, folder, recursive, extensions, known);
}

FileHandle TCacheManager::playlistObject(const QString& path, QList<CacheRecord>& fresh) {
    const std::optional<CacheRecord> record = database().load(path);
    if (record && !changedOnDisk(record->stamp, tags::FileStamp::of(path)))
        if (FileHandle file = objectFrom(*record))
            return file;
    std::unique_ptr<tags::TMP3> file = fileReader(m_options)(path);
    if (!file)
        return nullptr;
    fresh << recordOf(*file, m_options.tagMode);
    return FileHandle(std::move(file));
}

void TCacheManager::scanPlaylist(int job, const QString& playlistPath) {
    if (m_synchronizer)
        m_synchronizer->cancel(); // it must not store records while this read does
    QList<CacheRecord> fresh;
    QStringList gone;
    const auto stopped = [&] { return job != m_job; };
    for (const QString& path : playlists::readPlaylistPaths(playlistPath, stopped)) {
        if (stopped())
            break;
        if (!QFileInfo(path).isFile()) {
            if (fileIsGone(path))
                gone << path;
        } else if (FileHandle file = playlistObject(path, fresh)) {
            emit fileFound(job, file);
        }
    }
    TTagCacheDB& db = database();
    db.store(fresh);
    db.remove(gone);
    emit filesRemoved(job, gone);
    emit readFinished(job, 0);
}

} // namespace library
