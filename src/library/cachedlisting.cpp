#include "cachedlisting.h"

#include "folderwalk.h"

#include <QFileInfo>
#include <QHash>

namespace library {

namespace {

constexpr qsizetype kStoreBatch = 500;

/// The object a record describes; null when the record is of another cache text version.
std::unique_ptr<tags::TMP3> objectFrom(const CacheRecord& record) {
    auto file = std::make_unique<tags::TMP3>();
    if (!file->FromCacheString(record.text))
        return nullptr;
    file->setFilePath(record.path);
    return file;
}

void flush(TTagCacheDB& db, QList<CacheRecord>& pending) {
    db.store(pending);
    pending.clear();
}

} // namespace

FileReader fileReader(const tags::TagOptions& options) {
    return [options](const QString& path) -> std::unique_ptr<tags::TMP3> {
        auto file = std::make_unique<tags::TMP3>(QString(), options);
        file->setFilePath(path);
        // Without its folder a later save would move the file away from it.
        file->setNewFileDir(QFileInfo(path).absolutePath() + QLatin1Char('/'));
        if (!file->LoadFromFile().ok())
            return nullptr;
        return file;
    };
}

CacheRecord recordOf(tags::TMP3& file, int tagMode) {
    return {file.FilePath(), file.ToCacheString(tagMode), file.stamp()};
}

ListingCounts listThroughCache(TTagCacheDB& db, const QString& folder, bool recursive,
                               const QStringList& extensions, const FileReader& read,
                               const FileSink& found, int tagMode) {
    QHash<QString, CacheRecord> cached;
    for (CacheRecord& record : db.listFolder(folder, recursive, extensions))
        cached.insert(record.path, std::move(record));

    ListingCounts counts;
    QList<CacheRecord> pending;
    for (const QString& path : audioFilesIn(folder, recursive, extensions)) {
        const auto record = cached.constFind(path);
        std::unique_ptr<tags::TMP3> file;
        if (record != cached.cend() && !changedOnDisk(record->stamp, tags::FileStamp::of(path)))
            file = objectFrom(*record);
        const bool fromCache = file != nullptr;
        if (record != cached.cend())
            cached.erase(record);
        if (!file) {
            file = read(path);
            if (!file) {
                ++counts.failed;
                continue;
            }
            pending << recordOf(*file, tagMode);
            if (pending.size() >= kStoreBatch)
                flush(db, pending);
        }
        ++(fromCache ? counts.fromCache : counts.read);
        found(*file, fromCache);
    }
    flush(db, pending);

    // What is left was not found on disk.
    QStringList gone;
    for (const CacheRecord& record : std::as_const(cached))
        if (fileIsGone(record.path))
            gone << record.path;
    db.remove(gone);
    counts.removed = int(gone.size());
    return counts;
}

} // namespace library
