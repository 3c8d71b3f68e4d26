#include "fileio.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <QDir>
#include <QHash>
#include <QMutex>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace tags {

namespace {

constexpr qint64 kCopyBlock = 1 << 20;

Status writeError(const QString& path, const QString& why) {
    return Status::error(ErrorCode::WriteFailed,
                         QStringLiteral("Cannot write \"%1\": %2").arg(path, why));
}

bool copyRange(QFile& from, QIODevice& to, qint64 offset, qint64 length) {
    if (!from.seek(offset))
        return false;
    while (length > 0) {
        const QByteArray block = from.read(qMin(length, kCopyBlock));
        if (block.isEmpty() || to.write(block) != block.size())
            return false;
        length -= block.size();
    }
    return true;
}

Status writeInPlace(QFile& file, qint64 offset, QByteArrayView data) {
    if (!file.seek(offset) || file.write(data.data(), data.size()) != data.size() || !file.flush())
        return writeError(file.fileName(), file.errorString());
    return Status::success();
}

Status appendAtEnd(QFile& file, qint64 size, QByteArrayView data) {
    Status status = writeInPlace(file, size, data);
    if (!status)
        file.resize(size); // leave the file as it was
    return status;
}

Status rewriteThroughTemporaryFile(QFile& original, qint64 size, qint64 offset, qint64 oldLength,
                                   QByteArrayView data) {
    const QString path = original.fileName();
    QSaveFile out(path);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        return writeError(path, out.errorString());
    const qint64 tail = offset + oldLength;
    const bool copied = copyRange(original, out, 0, offset) &&
                        out.write(data.data(), data.size()) == data.size() &&
                        copyRange(original, out, tail, size - tail);
    if (!copied) {
        const QString why =
            out.error() != QFileDevice::NoError ? out.errorString() : original.errorString();
        out.cancelWriting();
        return writeError(path, why);
    }
    original.close();
    if (!out.commit())
        return writeError(path, out.errorString());
    return Status::success();
}

} // namespace

QByteArray readAt(QIODevice& device, qint64 offset, qint64 length) {
    if (offset < 0 || length <= 0 || offset >= device.size() || !device.seek(offset))
        return {};
    return device.read(qMin(length, device.size() - offset));
}

Status replaceRange(const QString& path, qint64 offset, qint64 oldLength, QByteArrayView data) {
    QFile file(path);
    if (!file.exists())
        return Status::error(ErrorCode::NotFound,
                             QStringLiteral("File not found: \"%1\"").arg(path));
    if (!file.open(QIODevice::ReadWrite))
        return Status::error(
            ErrorCode::OpenFailed,
            QStringLiteral("Cannot open \"%1\" for writing: %2").arg(path, file.errorString()));
    const qint64 size = file.size();
    if (offset < 0 || oldLength < 0 || offset + oldLength > size)
        return Status::error(ErrorCode::InvalidData,
                             QStringLiteral("Range outside the file \"%1\"").arg(path));

    if (data.size() == oldLength)
        return writeInPlace(file, offset, data);
    if (offset + oldLength == size && data.isEmpty())
        return file.resize(offset) ? Status::success() : writeError(path, file.errorString());
    if (oldLength == 0 && offset == size)
        return appendAtEnd(file, size, data);
    return rewriteThroughTemporaryFile(file, size, offset, oldLength, data);
}

namespace {

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

Status moveError(const QString& from, const QString& to, const QString& why) {
    return Status::error(ErrorCode::WriteFailed,
                         QStringLiteral("Cannot move \"%1\" to \"%2\": %3").arg(from, to, why));
}

bool sameFile(const QByteArray& a, const QByteArray& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.constData(), &sa) == 0 && ::stat(b.constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

/// Across file systems: copy to a temporary file beside the target, link it to the target
/// name (which fails when the name exists), then remove the source.
Status copyThenRemove(const QString& from, const QString& to) {
    QTemporaryFile temp(QFileInfo(to).absolutePath() + QStringLiteral("/.varlo-move-XXXXXX"));
    QFile source(from);
    if (!temp.open() || !source.open(QIODevice::ReadOnly))
        return moveError(from, to, temp.isOpen() ? source.errorString() : temp.errorString());
    while (!source.atEnd()) {
        const QByteArray block = source.read(1 << 20);
        if (block.isEmpty() || temp.write(block) != block.size())
            return moveError(from, to, temp.errorString());
    }
    if (!temp.flush() || ::fsync(temp.handle()) != 0)
        return moveError(from, to, temp.errorString());
    temp.setPermissions(source.permissions());
    if (::link(nativePath(temp.fileName()).constData(), nativePath(to).constData()) != 0)
        return moveError(from, to, QString::fromLocal8Bit(std::strerror(errno)));
    if (!source.remove()) {
        QFile::remove(to);
        return moveError(from, to, source.errorString());
    }
    return Status::success();
}

} // namespace

Status moveFileNoReplace(const QString& from, const QString& to) {
    const QByteArray src = nativePath(from);
    const QByteArray dst = nativePath(to);
    if (from == to)
        return Status::success();
    if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) == 0)
        return Status::success();
    const int error = errno;
    if (error == EEXIST && sameFile(src, dst)) {
        // Only the letter case differs on a file system that ignores it.
        const QByteArray step = dst + ".varlo-rename";
        if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, step.constData(), RENAME_NOREPLACE) ==
                0 &&
            ::renameat2(AT_FDCWD, step.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) ==
                0)
            return Status::success();
        return moveError(from, to, QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (error == EEXIST)
        return moveError(from, to, QStringLiteral("a file of that name already exists"));
    if (error == EXDEV)
        return copyThenRemove(from, to);
    return moveError(from, to, QString::fromLocal8Bit(std::strerror(error)));
}

Status setModificationTime(const QString& path, qint64 modifiedNs) {
    const struct timespec times[2] = {
        {0, UTIME_OMIT}, {time_t(modifiedNs / 1'000'000'000), long(modifiedNs % 1'000'000'000)}};
    if (::utimensat(AT_FDCWD, nativePath(path).constData(), times, 0) != 0)
        return writeError(path, QString::fromLocal8Bit(std::strerror(errno)));
    return Status::success();
}

bool isOnNetworkFileSystem(const QString& path) {
    // One statfs() per call: the mount table is parsed only for FUSE mounts, whose
    // subtype (sshfs, ...) tells whether they are remote.
    struct statfs fs {};
    if (statfs(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x6969UL:     // NFS
    case 0xFF534D42UL: // CIFS
    case 0xFE534D42UL: // SMB2
    case 0x517BUL:     // SMB
    case 0x01021997UL: // 9P
    case 0x5346414FUL: // AFS
    case 0x00C36400UL: // Ceph
    case 0x73757245UL: // Coda
    case 0x564CUL:     // NCP
        return true;
    case 0x65735546UL: { // FUSE
        const QByteArray type = QStorageInfo(QFileInfo(path).absolutePath()).fileSystemType();
        return type.contains("sshfs") || type.contains("davfs") || type.contains("gluster") ||
               type.contains("s3fs") || type.contains("rclone");
    }
    default:
        return false;
    }
}

bool isOnNetworkFileSystem(const QString& path, quint64 device) {
    static QMutex mutex;
    static QHash<quint64, bool> answers;
    QMutexLocker lock(&mutex);
    const auto known = answers.constFind(device);
    if (known != answers.constEnd())
        return *known;
    return answers[device] = isOnNetworkFileSystem(path);
}

} // namespace tags
