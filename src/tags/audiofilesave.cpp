// Writing an audio object back to its file, and the file operations that go with it.
#include "audiofile.h"

#include "fileio.h"
#include "id3v2file.h"
#include "mpegstream.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tags {

namespace {

Status makeWritable(const QString& path, bool clearReadOnly) {
    QFile file(path);
    if (!file.exists())
        return Status::error(ErrorCode::NotFound,
                             QStringLiteral("File not found: \"%1\"").arg(path));
    if (QFileInfo(path).isWritable())
        return Status::success();
    if (!clearReadOnly)
        return Status::error(ErrorCode::WriteFailed,
                             QStringLiteral("\"%1\" is read-only").arg(path));
    if (!file.setPermissions(file.permissions() | QFileDevice::WriteOwner))
        return Status::error(
            ErrorCode::WriteFailed,
            QStringLiteral("Cannot make \"%1\" writable: %2").arg(path, file.errorString()));
    return Status::success();
}

} // namespace

Status TMP3::SaveTags() {
    const QString path = m_filePath;
    Status status = makeWritable(path, m_options.clearReadOnly);
    if (status) {
        if (m_wma)
            status = m_wmaTag.WriteWmaFile(path);
        else if (m_ogg)
            status = m_oggTag.WriteOggFile(path);
        else if (!m_wav) // a WAV file carries no tag: saving it is only its rename
            status = WriteID3v1();
        if (status && MP3())
            status = WriteID3v2();
    }
    if (m_options.retainFileDate && m_stamp.isValid() && QFileInfo::exists(path))
        setModificationTime(path, m_stamp.modifiedNs);
    if (status) {
        const qint64 modifiedNs = m_stamp.modifiedNs;
        m_stamp = FileStamp::of(path);
        if (!m_options.retainFileDate)
            m_dateTime = QFileInfo(path).lastModified();
        else
            m_stamp.modifiedNs = modifiedNs;
        if (m_cache)
            m_cache->updateEntry(*this);
    }
    return status;
}

Status TMP3::WriteID3v1() {
    if (!m_ape && m_apeSize > 0) {
        if (Status removed = TAPEtag::remove(m_filePath); !removed)
            return removed;
        m_apeSize = 0;
    }
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly))
        return Status::error(
            ErrorCode::OpenFailed,
            QStringLiteral("Cannot open \"%1\": %2").arg(m_filePath, file.errorString()));
    const qint64 size = file.size();
    const bool hasTag =
        readAt(file, size - ID3v1Block::kSize, 3) == "TAG" && size >= ID3v1Block::kSize;
    const QByteArray current =
        hasTag ? readAt(file, size - ID3v1Block::kSize, ID3v1Block::kSize) : QByteArray();
    file.close();
    const qint64 position = hasTag ? size - ID3v1Block::kSize : size;
    if (m_tag) {
        const QByteArray block = m_id3v1.withMarker();
        if (block == current)
            return Status::success(); // unchanged: the file is not touched
        return replaceRange(m_filePath, position, hasTag ? ID3v1Block::kSize : 0, block);
    }
    return hasTag ? replaceRange(m_filePath, position, ID3v1Block::kSize, {}) : Status::success();
}

Status TMP3::WriteID3v2() {
    return writeID3v2(m_filePath, m_id3v2, m_options.id3);
}

Status TMP3::MoveToNewFileDir() {
    QString folder = m_newFileDir;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    const QString extension = Extension();
    const QString target = folder + QLatin1Char('/') + m_fileName +
                           (extension.isEmpty() ? QString() : QLatin1Char('.') + extension);
    if (target == m_filePath)
        return Status::success();
    if (!QDir().mkpath(folder))
        return Status::error(ErrorCode::WriteFailed,
                             QStringLiteral("Cannot create the folder \"%1\"").arg(folder));
    if (Status moved = moveFileNoReplace(m_filePath, target); !moved)
        return moved;
    m_filePath = target;
    if (m_cache)
        m_cache->updateEntry(*this);
    return Status::success();
}

Status TMP3::Revert() {
    const Status status = LoadFromFile();
    const QFileInfo info(m_filePath);
    m_newFileDir = info.absolutePath() + QLatin1Char('/');
    m_fileName = info.completeBaseName();
    m_changed = false;
    m_id3v2.modified = false;
    return status;
}

Status TMP3::RepairBrokenHeader() {
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly))
        return Status::error(
            ErrorCode::OpenFailed,
            QStringLiteral("Cannot open \"%1\": %2").arg(m_filePath, file.errorString()));
    // The tag stays; only what lies between it and the first real frame goes.
    const qint64 tagEnd = id3v2RegionSize(file);
    const mpeg::StreamInfo info = mpeg::analyse(file, tagEnd, file.size(), {});
    file.close();
    if (info.offs < 0)
        return Status::error(ErrorCode::InvalidData,
                             QStringLiteral("No MPEG audio found in \"%1\"").arg(m_filePath));
    if (info.offs == tagEnd)
        return Status::error(ErrorCode::InvalidData,
                             QStringLiteral("Nothing to repair in \"%1\"").arg(m_filePath));
    if (Status cut = replaceRange(m_filePath, tagEnd, info.offs - tagEnd, {}); !cut)
        return cut;
    return Revert();
}

} // namespace tags
