#include "filestamp.h"

#include <QFile>

#include <sys/stat.h>

namespace tags {

FileStamp FileStamp::of(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    FileStamp stamp;
    stamp.size = st.st_size;
    stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    stamp.changedNs = qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.isFolder = S_ISDIR(st.st_mode);
    return stamp;
}

QDateTime FileStamp::modified() const {
    return QDateTime::fromMSecsSinceEpoch(modifiedNs / 1'000'000);
}

} // namespace tags
