#pragma once

#include "id3v2.h"
#include "status.h"

class QIODevice;

namespace tags {

/// Reads the ID3v2 tag at offset 0 of a device opened for reading into `tag` (frames, header
/// values; modified cleared). A device without a tag gives success with no frames and
/// storedSize 0; a tag larger than the device gives the frames that are there. With
/// `compatibilityMode` the second reader (TOldID3v2) runs too; `usedSecondReader` (may be
/// null) tells whether it won.
Status readID3v2(QIODevice& device, TID3v2& tag, bool compatibilityMode, bool* usedSecondReader);

/// Bytes the ID3v2 tag at offset 0 of the device takes (header, body, footer), no more than
/// the device holds; 0 without a tag. Audio (or whatever follows) starts there.
qint64 id3v2RegionSize(QIODevice& device);

/// Writes `tag` into the file at `path`, replacing exactly the tag region at its start (bytes
/// after it, padding and junk included, stay). Nothing is written when the tag is not
/// modified, or when the file had no tag and none is left. A tag that fits the old space is
/// written in place; otherwise the file is rewritten through a temporary file. Files that
/// start with "RIFF" and tags of unknown versions are refused. On success storedSize
/// describes the tag on disk and modified is cleared.
Status writeID3v2(const QString& path, TID3v2& tag, const Id3WriteOptions& options);

} // namespace tags
