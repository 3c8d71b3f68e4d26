#pragma once

#include <QDateTime>
#include <QString>

namespace tags {

/// What tells a file changed on disk since it was read: size, modification and change time
/// to the nanosecond, device and inode. The change time moves on every write, even when a
/// tag editor put the modification time back.
struct FileStamp {
    qint64 size = -1;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    quint64 device = 0;
    quint64 inode = 0;
    bool isFolder = false;

    /// The stamp of the file now; size -1 when it cannot be read.
    static FileStamp of(const QString& path);
    bool isValid() const { return size >= 0; }
    /// The modification time as a date.
    QDateTime modified() const;
    bool operator==(const FileStamp&) const = default;
};

} // namespace tags
