#include "cachesync.h"

#include "cachedlisting.h"
#include "folderwalk.h"

namespace library {

namespace {

constexpr qsizetype kStoreBatch = 500;

} // namespace

TCacheSynchronizer::TCacheSynchronizer(const QString& databasePath, const tags::TagOptions& options)
    : m_databasePath(databasePath), m_options(options) {
    qRegisterMetaType<library::FileHandle>();
    qRegisterMetaType<library::KnownFiles>();
}

TCacheSynchronizer::~TCacheSynchronizer() = default;

TTagCacheDB& TCacheSynchronizer::database() {
    // Made on first use, so the connection belongs to the worker thread.
    if (!m_db)
        m_db = std::make_unique<TTagCacheDB>(m_databasePath);
    return *m_db;
}

void TCacheSynchronizer::synchroniseFolder(int job, const QString& folder, bool recursive,
                                           const QStringList& extensions,
                                           const library::KnownFiles& known) {
    walk(job, folder, recursive, extensions, known, true);
}

void TCacheSynchronizer::buildCache(int job, const QString& folder, bool recursive,
                                    const QStringList& extensions) {
    KnownFiles known;
    for (const CacheRecord& record : database().listFolder(folder, recursive, extensions))
        known.insert(record.path, record.stamp);
    walk(job, folder, recursive, extensions, known, false);
}

void TCacheSynchronizer::walk(int job, const QString& folder, bool recursive,
                              const QStringList& extensions, const KnownFiles& known,
                              bool handOver) {
    TTagCacheDB& db = database();
    const FileReader read = fileReader(m_options);
    const QStringList files = audioFilesIn(folder, recursive, extensions);
    QList<CacheRecord> pending;
    int done = 0;
    for (const QString& path : files) {
        if (job != m_job)
            break;
        emit progress(done++, int(files.size()));
        const auto stamp = known.constFind(path);
        if (stamp != known.cend() && !changedOnDisk(*stamp, tags::FileStamp::of(path)))
            continue;
        std::unique_ptr<tags::TMP3> file = read(path);
        if (!file)
            continue;
        pending << recordOf(*file, m_options.tagMode);
        if (handOver)
            emit fileRead(job, FileHandle(std::move(file)));
        if (pending.size() >= kStoreBatch) {
            db.store(pending);
            pending.clear();
        }
    }
    db.store(pending);
    emit finished(job);
}

} // namespace library
