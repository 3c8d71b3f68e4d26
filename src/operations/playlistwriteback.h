#pragma once

#include "library/cachesync.h"
#include "tags/status.h"

#include <QList>
#include <QString>

namespace operations {

/// Writes the files of a list back into the playlist file the list was read from, in list
/// order, after a save moved some of them. The format follows the playlist's extension:
/// ".m3u"/".m3u8" (extended lines, paths below the playlist's folder written relative to it)
/// and ".pls" (its PlaylistName kept); ".fls" lists are never written. Lengths are whole
/// seconds, lines end with CR LF, text is UTF-8.
///
/// The file is replaced atomically: a failure leaves the old playlist as it was.
tags::Status writePlaylistBack(const QString& playlistPath, const QList<library::FileHandle>& files,
                               bool versionValues);

} // namespace operations
