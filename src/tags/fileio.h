#pragma once

#include "status.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;

namespace tags {

/// Reads up to `length` bytes at `offset`; fewer at the end of the device, none when the
/// offset lies outside it. Never reads past the end.
QByteArray readAt(QIODevice& device, qint64 offset, qint64 length);

/// Replaces `oldLength` bytes at `offset` of the file by `data`. Every save of every format
/// goes through here.
///
/// Same-size replacements are written in place; cutting the tail is a truncation and
/// appending is undone on failure. Anything that moves bytes goes through a temporary file
/// in the same folder that is flushed and renamed over the original, keeping its
/// permissions, so a failed write (full disk, vanished file) leaves the original untouched.
Status replaceRange(const QString& path, qint64 offset, qint64 oldLength, QByteArrayView data);

/// Moves a file to `to` without ever replacing an existing file (also across file systems).
/// A target that is the same file under another letter case (on a case-insensitive file
/// system) is renamed through a temporary name.
Status moveFileNoReplace(const QString& from, const QString& to);

/// Sets the modification time to `modifiedNs` nanoseconds since the epoch.
Status setModificationTime(const QString& path, qint64 modifiedNs);

/// True when `path` lies on a network file system (nfs, cifs, sshfs ...), where reading
/// whole files to sample frames is slow.
bool isOnNetworkFileSystem(const QString& path);
/// The same for a file on the device `device` (st_dev); the answer is remembered per device.
bool isOnNetworkFileSystem(const QString& path, quint64 device);

} // namespace tags
