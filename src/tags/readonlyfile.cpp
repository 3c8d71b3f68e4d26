#include "readonlyfile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tags {

namespace {
constexpr qint64 kCachedEnd = 64 * 1024;
}

ReadOnlyFile::ReadOnlyFile(QString path) : m_path(std::move(path)) {}

ReadOnlyFile::~ReadOnlyFile() {
    closeHandle();
}

void ReadOnlyFile::closeHandle() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void ReadOnlyFile::close() {
    QIODevice::close();
    closeHandle();
}

bool ReadOnlyFile::openForReading() {
    m_fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        setErrorString(S_ISDIR(st.st_mode) ? QStringLiteral("it is a folder")
                                           : QString::fromLocal8Bit(std::strerror(errno)));
        closeHandle();
        return false;
    }
    m_size = st.st_size;
    m_modifiedNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    m_head.resize(qMin(m_size, kCachedEnd));
    m_tailStart = qMax<qint64>(m_size - kCachedEnd, m_head.size());
    m_tail.resize(m_size - m_tailStart);
    if (!readFully(0, m_head.data(), m_head.size()) ||
        !readFully(m_tailStart, m_tail.data(), m_tail.size())) {
        setErrorString(QString::fromLocal8Bit(std::strerror(errno)));
        closeHandle();
        return false;
    }
    return QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool ReadOnlyFile::readFully(qint64 offset, char* data, qint64 length) {
    while (length > 0) {
        const ssize_t n = ::pread(m_fd, data, size_t(length), off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        offset += n;
        length -= n;
    }
    return true;
}

qint64 ReadOnlyFile::readData(char* data, qint64 maxSize) {
    const qint64 offset = pos();
    const qint64 length = qMin(maxSize, m_size - offset);
    if (length <= 0)
        return 0;
    if (offset + length <= m_head.size()) {
        std::memcpy(data, m_head.constData() + offset, size_t(length));
        return length;
    }
    if (offset >= m_tailStart) {
        std::memcpy(data, m_tail.constData() + (offset - m_tailStart), size_t(length));
        return length;
    }
    return readFully(offset, data, length) ? length : -1;
}

Status openForReading(ReadOnlyFile& file) {
    if (file.openForReading())
        return Status::success();
    const QString& path = file.fileName();
    if (!QFile::exists(path))
        return Status::error(ErrorCode::NotFound,
                             QStringLiteral("File not found: \"%1\"").arg(path));
    return Status::error(ErrorCode::OpenFailed,
                         QStringLiteral("Cannot open \"%1\": %2").arg(path, file.errorString()));
}

} // namespace tags
