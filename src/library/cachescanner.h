#pragma once

#include "basescanner.h"
#include "cachemanager.h"

#include <QSet>
#include <QThread>

namespace library {

/// The scanner used while the tag cache is on: the cache manager lists the folder (or the
/// playlist) from the cache without opening unchanged files, then the synchroniser walks
/// the same folder on disk and reads what the cache does not know or what changed.
///
/// A scan runs until the synchroniser is done with the folder. Files it finds that are not
/// listed yet come through filesFound; a new object for a file that is already listed comes
/// through fileUpdated. After stop() no rows arrive any more, but the synchroniser goes on
/// filling the cache until the next start().
///
/// Manager and synchroniser live on their own threads and are owned by this object; the
/// objects handed out from the cache keep a link to the manager, so they must not outlive
/// this scanner.
class TCacheScanner : public TBaseScanner {
    Q_OBJECT
public:
    TCacheScanner(const QString& databasePath, const tags::TagOptions& options,
                  QObject* parent = nullptr);
    ~TCacheScanner() override;

    void start(const QString& path, bool recursive, const QStringList& extensions,
               bool playlistMode) override;
    void stop() override;

    /// Background synchronising after each folder listing ("chkBackgroundSynching");
    /// switching it off stops a running synchronisation at once (and ends its scan).
    void setBackgroundSync(bool on);
    bool backgroundSync() const { return m_backgroundSync; }

signals:
    /// A newly read object for a file the current scan already listed (it changed on disk).
    /// The owner puts it in the row only when the row still exists, has not read its file
    /// yet and holds no unsaved changes; otherwise it drops it.
    void fileUpdated(const library::FileHandle& file);
    /// A cached file that is gone: its record was deleted and it is not listed.
    void fileRemoved(const QString& path);

private:
    void onFileFound(int job, const FileHandle& file);
    void onFilesRemoved(int job, const QStringList& paths);
    void onReadFinished(int job, int syncJob);
    void onFileRead(int job, const FileHandle& file);
    void onSyncFinished(int job);
    bool isCurrentRead(int job) const { return isRunning() && job == m_readJob; }
    bool isCurrentSync(int job) const { return isRunning() && m_syncJob && job == m_syncJob; }

    QThread m_managerThread;
    QThread m_syncThread;
    TCacheManager* m_manager = nullptr;
    TCacheSynchronizer* m_sync = nullptr;
    bool m_backgroundSync = true;
    QStringList m_extensions;
    QString m_path;
    bool m_playlistMode = false;
    int m_readJob = 0; ///< the manager's job of the current scan
    int m_syncJob = 0; ///< the synchroniser's job of the current scan, 0 before it starts
    QSet<QString> m_listed;
};

} // namespace library
