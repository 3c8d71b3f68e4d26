#pragma once

#include "cachesync.h"

namespace library {

/// Lists folders from the tag cache on its own thread. Each cached object whose file still
/// exists is handed over by fileFound without opening the file; it reads its file on first
/// use and then sends its new record back here (tags::CacheLink). Records of files that are
/// gone from a folder that still exists are deleted; a missing folder (an unmounted disk)
/// loses nothing. After each folder read the synchroniser is started on the same folder
/// (unless background synchronising is off).
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
    /// Starts listing the files of a playlist, like requestFolder: each listed file that
    /// exists comes from its record when it is unchanged on disk, else it is read and stored.
    int requestPlaylist(const QString& playlistPath);
    /// Whether each folder read starts the synchroniser; switching it off also cancels the
    /// running synchronisation. Callable from any thread.
    void setBackgroundSync(bool on);
    /// Cancels the running read (not the synchroniser, which may go on filling the cache).
    void cancel() { ++m_job; }

    /// Called on whichever thread used the object: its record is stored on this thread.
    void updateEntry(tags::TMP3& file) override;

public slots:
    void scanFolder(int job, const QString& folder, bool recursive, const QStringList& extensions);
    void scanPlaylist(int job, const QString& playlistPath);
    void storeRecords(const QList<library::CacheRecord>& records);

signals:
    void fileFound(int job, library::FileHandle file);
    /// The records of files that are gone, deleted during a read.
    void filesRemoved(int job, const QStringList& paths);
    /// The cache read ended; `syncJob` is the synchroniser job that starts next on the same
    /// folder, 0 when none does.
    void readFinished(int job, int syncJob);
    void synchroniseRequested(int job, const QString& folder, bool recursive,
                              const QStringList& extensions, const library::KnownFiles& known);

private:
    TTagCacheDB& database();
    FileHandle objectFrom(const CacheRecord& record);
    /// The object for a listed file: from its record when that matches the file on disk,
    /// else read from the file (and its record added to `fresh`). Null when unreadable.
    FileHandle playlistObject(const QString& path, QList<CacheRecord>& fresh);

    QString m_databasePath;
    tags::TagOptions m_options;
    std::unique_ptr<TTagCacheDB> m_db;
    TCacheSynchronizer* m_synchronizer = nullptr;
    std::atomic<int> m_job{0};
    std::atomic<bool> m_backgroundSync{true};
};

} // namespace library

Q_DECLARE_METATYPE(QList<library::CacheRecord>)
