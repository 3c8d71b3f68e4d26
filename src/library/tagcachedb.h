#pragma once

#include "tags/filestamp.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace library {

/// One file in the tag cache: its exact absolute path, the audio object's cache text and
/// the stamp of the file when that text was made.
struct CacheRecord {
    QString path;
    QString text;
    tags::FileStamp stamp;
};

/// True when the file on disk is not the one the record was made from: size, modification
/// time, change time or inode differ (the change time catches a restored modification date).
bool changedOnDisk(const tags::FileStamp& recorded, const tags::FileStamp& now);

/// True when the record of `filePath` may go: the file is missing but its folder is there.
/// A missing folder may be an unmounted disk, whose records must survive.
bool fileIsGone(const QString& filePath);

/// The tag cache database: one SQLite file with one row per audio file, keyed by the exact
/// path (two paths that differ only in case are two files).
///
/// An object owns one named connection and must be used on one thread only; every thread
/// that needs the cache makes its own object on the same file (WAL mode lets them share it).
/// A file of another schema version or a damaged one is moved aside and rebuilt empty.
class TTagCacheDB {
public:
    /// Opens (or creates) the database at `path`; ":memory:" gives a private in-memory cache.
    explicit TTagCacheDB(const QString& path = defaultPath());
    ~TTagCacheDB();
    TTagCacheDB(const TTagCacheDB&) = delete;
    TTagCacheDB& operator=(const TTagCacheDB&) = delete;

    /// "cache.db" in the user's cache folder.
    static QString defaultPath();

    bool isOpen() const { return m_open; }
    /// Why the database could not be opened, or what was moved aside; empty when all is well.
    const QString& message() const { return m_message; }
    const QString& path() const { return m_path; }

    std::optional<CacheRecord> load(const QString& filePath);
    /// Records of the files in `folder` (and below it when `recursive`), sorted by path. An
    /// empty extension list means every extension; extensions ignore case.
    QList<CacheRecord> listFolder(const QString& folder, bool recursive,
                                  const QStringList& extensions = {});
    /// The records listFolder returns, handed to `visit` one by one as the query yields them,
    /// so the first can be used before the last is read; stops when `visit` returns false.
    void visitFolder(const QString& folder, bool recursive, const QStringList& extensions,
                     const std::function<bool(CacheRecord&&)>& visit);
    /// Stores the records in one transaction; a record whose text and stamp are unchanged is
    /// not written. False when the transaction failed (then nothing was stored).
    bool store(const QList<CacheRecord>& records);
    bool remove(const QStringList& filePaths);
    /// Deletes the records of files that are gone from folders that still exist, so that
    /// an unmounted disk keeps its records. Returns the number deleted.
    int clean();
    /// Gives free pages back to the file system.
    bool compact();
    qint64 recordCount();

private:
    bool openConnection();
    bool hasCurrentSchema();
    bool createSchema();
    void moveAside(const QString& reason);
    bool exec(const QString& sql);

    QString m_path;
    QString m_connectionName;
    QSqlDatabase m_db;
    bool m_open = false;
    QString m_message;
};

} // namespace library
