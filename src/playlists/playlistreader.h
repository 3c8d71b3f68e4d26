#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace playlists {

/// True for the playlist files Varlo opens in the file list: ".m3u", ".pls" and ".fls",
/// in any case.
bool isPlaylistFile(const QString& path);

/// The audio file paths a playlist file lists, in line order, as full paths.
///
/// The lines taken depend on the extension (any case): ".m3u" every line not beginning with
/// "#"; ".pls" and ".fls" the "FileN=" lines (the text after "="); any other extension
/// every line. Empty lines are skipped. The text is read as UTF-8; a leading byte order
/// mark is dropped.
///
/// Paths written on Windows are completed for this system: "\" becomes "/"; a path
/// beginning with "/" (or "\") is absolute; a "file://" address becomes its local path; a
/// drive path ("C:\...") or another address ("http://...") stays as written (it names no
/// file here); anything else is relative to the playlist's folder.
///
/// An unreadable file gives an empty list. `stopRequested` is polled per line; when it
/// returns true the paths read so far are returned.
QStringList readPlaylistPaths(const QString& playlistPath,
                              const std::function<bool()>& stopRequested = {});

/// One playlist line's path made a full path for a playlist in `playlistFolder`.
QString completePlaylistPath(const QString& entry, const QString& playlistFolder);

} // namespace playlists
