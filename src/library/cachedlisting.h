#pragma once

#include "tagcachedb.h"
#include "tags/audiofile.h"

#include <functional>
#include <memory>

namespace library {

/// Reads one file into a new audio object; null when nothing could be read.
using FileReader = std::function<std::unique_ptr<tags::TMP3>(const QString& path)>;
/// Receives each listed object, in path order; the object lives only during the call.
using FileSink = std::function<void(tags::TMP3& file, bool fromCache)>;

/// What one cached listing did.
struct ListingCounts {
    int fromCache = 0;
    int read = 0;
    int failed = 0;
    int removed = 0;
};

/// Lists a folder through the tag cache: an unchanged file comes from its record without
/// being opened; a new or changed file is read and its record stored; the record of a file
/// that is gone from a folder that still exists is deleted. Records are stored in batches,
/// so memory stays flat however large the folder is.
ListingCounts listThroughCache(TTagCacheDB& db, const QString& folder, bool recursive,
                               const QStringList& extensions, const FileReader& read,
                               const FileSink& found, int tagMode);

/// The reader used outside tests: TMP3::LoadFromFile.
FileReader fileReader(const tags::TagOptions& options);

/// The record of an object that was just read from its file.
CacheRecord recordOf(tags::TMP3& file, int tagMode);

} // namespace library
