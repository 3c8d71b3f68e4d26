#include "id3v2file.h"

#include "fileio.h"
#include "oldid3v2.h"
#include "readonlyfile.h"

#include <QFile>

namespace tags {

namespace {

constexpr int kHeaderSize = 10;
constexpr quint16 kTagFooter = 0x10;

/// The tag found at the start of a device: its header values and the bytes it takes.
struct TagRegion {
    bool present = false;
    TID3v2 header;
    qint64 size = 0;
};

TagRegion findRegion(QIODevice& device) {
    TagRegion region;
    region.present = region.header.ParseHeader(readAt(device, 0, kHeaderSize));
    if (region.present) {
        const bool footer = region.header.version == 4 && (region.header.flags & kTagFooter);
        const qint64 wanted = kHeaderSize + region.header.storedSize + (footer ? kHeaderSize : 0);
        region.size = qMin(wanted, device.size());
    }
    return region;
}

Status cannotWrite(const QString& path, const QString& why) {
    return Status::error(ErrorCode::Unsupported,
                         QStringLiteral("Cannot write the ID3v2 tag of \"%1\": %2").arg(path, why));
}

} // namespace

Status readID3v2(QIODevice& device, TID3v2& tag, bool compatibilityMode, bool* usedSecondReader) {
    tag = TID3v2();
    if (usedSecondReader)
        *usedSecondReader = false;
    const QByteArray header = readAt(device, 0, kHeaderSize);
    if (header.size() < kHeaderSize && device.size() >= kHeaderSize)
        return Status::error(
            ErrorCode::ReadFailed,
            QStringLiteral("Cannot read the ID3v2 tag: %1").arg(device.errorString()));
    if (!tag.ParseHeader(header))
        return Status::success();
    const QByteArray body = readAt(device, kHeaderSize, tag.storedSize);
    if (compatibilityMode) {
        const bool second = ParseWithCompatibility(tag, header, body);
        if (usedSecondReader)
            *usedSecondReader = second;
    } else {
        tag.ParseFrames(body);
    }
    tag.modified = false;
    return Status::success();
}

qint64 id3v2RegionSize(QIODevice& device) {
    return findRegion(device).size;
}

Status writeID3v2(const QString& path, TID3v2& tag, const Id3WriteOptions& options) {
    if (!tag.modified)
        return Status::success();
    ReadOnlyFile file(path);
    if (Status opened = openForReading(file); !opened)
        return opened;
    if (readAt(file, 0, 4) == "RIFF")
        return cannotWrite(path, QStringLiteral("the file is a RIFF container; writing a tag at "
                                                "its start would damage it."));
    const TagRegion region = findRegion(file);
    file.close();
    if (region.present && (region.header.version < 2 || region.header.version > 4))
        return cannotWrite(path, QStringLiteral("its tag has the unknown version 2.%1 and is left "
                                                "unchanged.")
                                     .arg(region.header.version));
    QByteArray bytes;
    Status status = tag.BuildTagFor(options, region.size, bytes);
    if (!status)
        return status;
    if (bytes.isEmpty() && region.size == 0) {
        tag.markWritten(bytes);
        return Status::success();
    }
    status = replaceRange(path, 0, region.size, bytes);
    if (status)
        tag.markWritten(bytes);
    return status;
}

} // namespace tags
