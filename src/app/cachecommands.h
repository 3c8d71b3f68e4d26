#pragma once

#include "tags/tagoptions.h"

#include <QObject>
#include <QStringList>
#include <QThread>

namespace library {
class TCacheSynchronizer;
}

namespace app {

/// The tag cache commands of the options dialog, run on a worker thread: fill the cache from
/// folders, or clean out the records of files that are gone and give the space back.
class TCacheCommands : public QObject {
    Q_OBJECT
public:
    TCacheCommands(const QString& databasePath, const tags::TagOptions& options,
                   QObject* parent = nullptr);
    ~TCacheCommands() override;

    bool isBusy() const { return m_busy; }
    /// Reads every file below the folders that the cache does not know or that changed;
    /// folders on network or kernel file systems are skipped. False (and nothing started)
    /// when none of the folders may be read or a command already runs.
    bool build(const QStringList& folders, const QStringList& extensions);
    /// Deletes records of vanished files (never those of unmounted disks) and compacts.
    void clean();
    void cancel();

signals:
    /// `status` is the folder being read (empty while cleaning); `total` 0: no count yet.
    void progress(const QString& status, int done, int total);
    /// The command ended, completely or stopped by cancel(); `summary` says what it did.
    void finished(bool stopped, const QString& summary);

private:
    void buildNext();
    void begin();
    void end(const QString& summary);

    QString m_databasePath;
    QThread m_thread;
    library::TCacheSynchronizer* m_worker = nullptr;
    QThread* m_cleaner = nullptr;
    QStringList m_queue;
    QString m_folder; ///< the folder being read
    QStringList m_extensions;
    int m_job = 0;
    bool m_busy = false;
    bool m_cancelled = false;
};

} // namespace app
