#pragma once

#include "cachesync.h"

namespace library {

/// Lists folders from the tag cache on its own thread. Each cached object whose file still
/// exists is handed over by fileFound without opening the file; it reads its file on first
/// use and then sends its new record back here (tags::CacheLink). Records of files that are
/// gone from a folder that still exists are deleted; a missing folder (an unmounted disk)
/// loses nothing. After each read the synchroniser is started on the same folder.
class TCacheManager : public QObject, public tags::CacheLink {
    Q_OBJECT
public:
    TCacheManager(const QString& databasePath, const tags::TagOptions& options);
    ~TCacheManager() override;

    /// The synchroniser to start after each read (may be none); it lives on its own thread.
    void setSynchronizer(TCacheSynchronizer* synchronizer);
    /// Starts listing a folder on the manager's thread, cancelling a running read; callable
    /// from any thread. Returns the job number that readFinished reports.
    int requestFolder(const QString& folder, bool recursive, const QStringList& extensions);
    /// Cancels the running read (not the synchroniser, which may go on filling the cache).
    void cancel() { ++m_job; }

    /// Called on whichever thread used the object: its record is stored on this thread.
    void updateEntry(tags::TMP3& file) override;

public slots:
    void scanFolder(int job, const QString& folder, bool recursive, const QStringList& extensions);
    void storeRecords(const QList<library::CacheRecord>& records);

signals:
    void fileFound(library::FileHandle file);
    /// The cache read ended; the synchroniser, if any, has been started.
    void readFinished(int job);
    void synchroniseRequested(int job, const QString& folder, bool recursive,
                              const QStringList& extensions, const library::KnownFiles& known);

private:
    TTagCacheDB& database();
    FileHandle objectFrom(const CacheRecord& record);

    QString m_databasePath;
    tags::TagOptions m_options;
    std::unique_ptr<TTagCacheDB> m_db;
    TCacheSynchronizer* m_synchronizer = nullptr;
    std::atomic<int> m_job{0};
};

} // namespace library

Q_DECLARE_METATYPE(QList<library::CacheRecord>)
