#include "wav.h"

#include "fileio.h"
#include "readonlyfile.h"

#include <QFile>
#include <QtEndian>

#include <limits>

namespace tags {

namespace {

constexpr qint64 kRiffHeaderSize = 12;
constexpr qint64 kChunkHeaderSize = 8;
constexpr qint64 kMinFormatSize = 16;
constexpr qint64 kExtensibleFormatSize = 40;
constexpr qint64 kSubformatOffset = 24;
constexpr quint32 kSizeInDs64 = 0xFFFFFFFF; ///< RF64: the real size is in the ds64 chunk
/// Real files have a handful of chunks before "data"; this bounds the walk through a file
/// of empty chunks.
constexpr int kMaxChunks = 10000;

quint16 le16(QByteArrayView bytes, qint64 at) {
    return qFromLittleEndian<quint16>(bytes.data() + at);
}
quint32 le32(QByteArrayView bytes, qint64 at) {
    return qFromLittleEndian<quint32>(bytes.data() + at);
}

Status notUnderstood(const QString& why) {
    return Status::error(ErrorCode::InvalidData, why);
}

bool fitsInt(qint64 value) {
    return value >= 0 && value <= std::numeric_limits<int>::max();
}

/// Byte rate for the duration: the fmt value, or for a header that leaves it 0 the rate
/// implied by block size or sample size.
qint64 effectiveByteRate(const TWav& wav, qint64 fmtByteRate) {
    if (fmtByteRate > 0)
        return fmtByteRate;
    const qint64 frameBytes =
        wav.blockAlign > 0 ? wav.blockAlign : qint64(wav.channels) * wav.bitsPerSample / 8;
    return qint64(wav.sampleRate) * frameBytes;
}

/// Takes the fields of a fmt chunk body (at most its first 40 bytes).
Status readFormat(TWav& wav, QByteArrayView fmt) {
    if (fmt.size() < kMinFormatSize)
        return notUnderstood(QStringLiteral("its format chunk is too short"));
    wav.formatTag = le16(fmt, 0);
    wav.channels = le16(fmt, 2);
    const qint64 sampleRate = le32(fmt, 4);
    const qint64 fmtByteRate = le32(fmt, 8);
    wav.blockAlign = le16(fmt, 12);
    wav.bitsPerSample = le16(fmt, 14);
    if (wav.formatTag == TWav::kFormatExtensible && fmt.size() >= kExtensibleFormatSize)
        wav.formatTag = le16(fmt, kSubformatOffset);
    if (!fitsInt(sampleRate))
        return notUnderstood(QStringLiteral("its sample rate %1 is impossible").arg(sampleRate));
    wav.sampleRate = int(sampleRate);
    const qint64 byteRate = effectiveByteRate(wav, fmtByteRate);
    if (!fitsInt(byteRate))
        return notUnderstood(QStringLiteral("its byte rate %1 is impossible").arg(byteRate));
    wav.byteRate = int(byteRate);
    return Status::success();
}

/// Fills `wav` from the RIFF header and the chunks up to and including fmt and data.
Status walkChunks(TWav& wav, QIODevice& device) {
    const qint64 size = device.size();
    const QByteArray riff = readAt(device, 0, kRiffHeaderSize);
    const bool isRf64 = riff.startsWith("RF64");
    if (riff.size() < kRiffHeaderSize || !(riff.startsWith("RIFF") || isRf64) ||
        riff.sliced(8) != "WAVE")
        return notUnderstood(QStringLiteral("it is not a RIFF WAVE file"));

    qint64 ds64DataSize = -1;
    bool hasFormat = false;
    bool hasData = false;
    qint64 pos = kRiffHeaderSize;
    for (int n = 0; n < kMaxChunks && !(hasFormat && hasData); ++n) {
        const QByteArray header = readAt(device, pos, kChunkHeaderSize);
        if (header.size() < kChunkHeaderSize)
            break;
        const QByteArray id = header.left(4);
        qint64 chunkSize = le32(header, 4);
        const qint64 body = pos + kChunkHeaderSize;
        if (id == "ds64" && isRf64 && chunkSize >= 16) {
            const QByteArray ds64 = readAt(device, body, 16);
            if (ds64.size() == 16)
                ds64DataSize = qFromLittleEndian<qint64>(ds64.constData() + 8);
        } else if (id == "fmt " && !hasFormat) {
            const Status status =
                readFormat(wav, readAt(device, body, qMin(chunkSize, kExtensibleFormatSize)));
            if (!status)
                return status;
            hasFormat = true;
        } else if (id == "data" && !hasData) {
            if (isRf64 && chunkSize == kSizeInDs64 && ds64DataSize >= 0)
                chunkSize = ds64DataSize;
            // A streaming writer's placeholder or a cut file: count what is really there.
            wav.dataSize = qMin(chunkSize, size - body);
            wav.dataPosition = body;
            hasData = true;
        }
        if (chunkSize > size - body)
            break; // nothing can follow a chunk that runs past the end
        pos = body + chunkSize + (chunkSize & 1);
    }
    if (!hasFormat || !hasData)
        return notUnderstood(QStringLiteral("it has no format or no data chunk"));
    return Status::success();
}

} // namespace

void TWav::Reset() {
    *this = TWav();
}

qint64 TWav::timeLength() const {
    return byteRate > 0 ? dataSize / byteRate : 0;
}

qint64 TWav::durationMs() const {
    if (byteRate <= 0)
        return 0;
    return dataSize / byteRate * 1000 + dataSize % byteRate * 1000 / byteRate;
}

Status TWav::read(QIODevice& device) {
    Reset();
    const Status status = walkChunks(*this, device);
    if (!status)
        Reset();
    fileSize = device.size();
    return status;
}

Status TWav::ReadWavFile(const QString& path) {
    Reset();
    ReadOnlyFile file(path);
    if (Status opened = openForReading(file); !opened)
        return opened;
    const Status status = read(file);
    if (!status)
        return Status::error(
            status.code(),
            QStringLiteral("Cannot read the WAV file \"%1\": %2").arg(path, status.message()));
    return status;
}

} // namespace tags
