#pragma once

#include "tagcachedb.h"
#include "tags/audiofile.h"

#include <QHash>
#include <QObject>

#include <atomic>
#include <memory>

namespace library {

/// An audio object handed from a worker to the main thread; the receiver keeps it.
using FileHandle = std::shared_ptr<tags::TMP3>;
/// Stamps of the files the cache already knows in a folder, by exact path.
using KnownFiles = QHash<QString, tags::FileStamp>;

/// Walks a folder on disk on its own thread and brings the tag cache up to date: files the
/// cache does not know, or that changed on disk, are read, stored and handed over by the
/// fileRead signal. Holds no objects: each one is freed (or handed over) once stored.
///
/// Jobs are numbered: starting a new job or calling cancel() ends the running one at the
/// next file, from any thread.
class TCacheSynchronizer : public QObject {
    Q_OBJECT
public:
    TCacheSynchronizer(const QString& databasePath, const tags::TagOptions& options);
    ~TCacheSynchronizer() override;

    /// Cancels the running job and returns the number of the next one.
    int beginJob() { return ++m_job; }
    void cancel() { ++m_job; }

public slots:
    /// Reads and stores new and changed files; each read object is handed over by fileRead.
    void synchroniseFolder(int job, const QString& folder, bool recursive,
                           const QStringList& extensions, const library::KnownFiles& known);
    /// Fills the cache for a whole folder without handing objects over, so memory stays
    /// flat; reports progress per file.
    void buildCache(int job, const QString& folder, bool recursive, const QStringList& extensions);

signals:
    void fileRead(int job, library::FileHandle file);
    void progress(int done, int total);
    /// The job ended, finished or cancelled.
    void finished(int job);

private:
    TTagCacheDB& database();
    void walk(int job, const QString& folder, bool recursive, const QStringList& extensions,
              const KnownFiles& known, bool handOver);

    QString m_databasePath;
    tags::TagOptions m_options;
    std::unique_ptr<TTagCacheDB> m_db;
    std::atomic<int> m_job{0};
};

} // namespace library

Q_DECLARE_METATYPE(library::FileHandle)
Q_DECLARE_METATYPE(library::KnownFiles)
