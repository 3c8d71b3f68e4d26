// Reading an audio object from its file.
#include "audiofile.h"

#include "fileio.h"
#include "id3v2file.h"
#include "mpegstream.h"
#include "readonlyfile.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace tags {

namespace {

constexpr qint64 kMinimumAnalysedSize = 14;

quint32 littleEndian32(QByteArrayView b) {
    return quint32(quint8(b[0])) | (quint32(quint8(b[1])) << 8) | (quint32(quint8(b[2])) << 16) |
           (quint32(quint8(b[3])) << 24);
}

qint64 syncSafe(QByteArrayView b) {
    return (qint64(b[0] & 0x7f) << 21) | ((b[1] & 0x7f) << 14) | ((b[2] & 0x7f) << 7) |
           (b[3] & 0x7f);
}

/// Size of a whole ID3v2 tag (header, body, footer) at `offset`, 0 when none starts there.
qint64 id3v2TagSize(QIODevice& device, qint64 offset) {
    const QByteArray header = readAt(device, offset, 10);
    if (header.size() < 10 || !header.startsWith("ID3") || quint8(header[3]) == 0xFF)
        return 0;
    const bool footer = quint8(header[3]) >= 4 && (quint8(header[5]) & 0x10);
    return 10 + syncSafe(QByteArrayView(header).sliced(6)) + (footer ? 10 : 0);
}

/// Offset of the payload of the "data" chunk of an MPEG stream wrapped in RIFF, or -1.
qint64 riffDataOffset(QIODevice& device) {
    qint64 offset = 12;
    for (;;) {
        const QByteArray chunk = readAt(device, offset, 8);
        if (chunk.size() < 8)
            return -1;
        offset += 8;
        if (chunk.startsWith("data"))
            return offset;
        const qint64 size = littleEndian32(QByteArrayView(chunk).sliced(4));
        offset += size + (size & 1);
    }
}

} // namespace

Status TMP3::LoadFromFile() {
    m_loadWarning.clear();
    if (m_filePath.trimmed().isEmpty())
        return Status::success();
    const QFileInfo info(m_filePath);
    if (!info.exists())
        return Status::error(ErrorCode::NotFound,
                             QStringLiteral("File not found: \"%1\"").arg(m_filePath));
    if (info.isDir())
        return Status::error(
            ErrorCode::OpenFailed,
            QStringLiteral("\"%1\" is a folder, not an audio file").arg(m_filePath));
    m_filePath = info.absoluteFilePath();
    m_fileName = info.completeBaseName();
    m_stamp = FileStamp::of(m_filePath);
    const QString extension = info.suffix().toUpper();
    if (extension == QLatin1String("WMA") || extension == QLatin1String("OGG") ||
        extension == QLatin1String("WAV"))
        return loadOtherFormat(m_filePath, extension);
    return loadMpeg(m_filePath);
}

Status TMP3::loadOtherFormat(const QString& path, const QString& extension) {
    m_stream = {};
    Status status;
    if (extension == QLatin1String("WMA")) {
        status = m_wmaTag.ReadWmaFile(path);
        if (!status)
            status = m_wmaTag.ReadWmaFile(path); // a file still being written may settle
        m_stream.BitRate = m_wmaTag.BitRate();
        m_stream.Size = m_wmaTag.FileSize();
        m_stream.TimeLength = int(m_wmaTag.Duration());
        m_stream.SampleRate = m_wmaTag.SampleRate();
        setFormat(true, false, false);
        m_tag = !m_wmaTag.IsEmpty();
    } else if (extension == QLatin1String("OGG")) {
        status = m_oggTag.ReadOggFile(path);
        m_stream.BitRate = m_oggTag.BitRate();
        m_stream.Size = m_oggTag.FileSize();
        m_stream.TimeLength = int(std::nearbyint(m_oggTag.Duration()));
        m_stream.SampleRate = m_oggTag.SampleRate();
        setFormat(false, true, false);
        m_tag = !m_oggTag.IsEmpty();
    } else {
        status = m_wavTag.ReadWavFile(path);
        m_stream.BitsPerSample = m_wavTag.bitsPerSample;
        m_stream.Size = m_stamp.size;
        m_stream.SampleRate = m_wavTag.sampleRate;
        m_stream.StereoMode = m_wavTag.channels == 1 ? 3 : 0;
        m_stream.TimeLength = int(m_wavTag.timeLength());
        m_stream.BitRate = int(qint64(m_wavTag.byteRate) * 8 / 1000);
        setFormat(false, false, true);
    }
    m_changed = false;
    m_isSyn = true;
    return status;
}

Status TMP3::loadMpeg(const QString& path) {
    const bool wasShouldSyn = m_shouldSyn;
    m_shouldSyn = false;
    setFormat(false, false, false);
    m_id3v1.clear();
    m_tag = false;
    m_changed = false;
    m_id3v2 = TID3v2();
    m_stream = {};

    ReadOnlyFile file(path);
    if (!file.openForReading()) {
        m_shouldSyn = wasShouldSyn;
        return Status::error(
            ErrorCode::OpenFailed,
            QStringLiteral("Cannot read \"%1\": %2").arg(path, file.errorString()));
    }
    m_stream.Size = file.size();
    m_apeTag = TAPEtag();
    m_apeTag.read(file); // a damaged tag counts as none: it is never cut
    m_ape = m_apeTag.exists();
    m_apeSize = m_ape ? m_apeTag.size() : 0;

    qint64 audioEnd = m_stream.Size;
    const QByteArray last = readAt(file, m_stream.Size - ID3v1Block::kSize, ID3v1Block::kSize);
    if (m_id3v1.assign(last)) {
        m_tag = true;
        audioEnd -= ID3v1Block::kSize;
    }
    if (m_ape)
        audioEnd = qMin(audioEnd, m_apeTag.offset());

    Status status;
    if (m_stream.Size >= kMinimumAnalysedSize) {
        bool usedSecondReader = false;
        readID3v2(file, m_id3v2, m_options.compatibilityMode, &usedSecondReader);
        qint64 start = id3v2RegionSize(file);
        if (start > 0) {
            // Some programs wrote a second tag behind the first; the audio starts after both.
            while (const qint64 next = id3v2TagSize(file, start))
                start += next;
        } else if (readAt(file, 0, 4) == "RIFF") {
            start = qMax<qint64>(riffDataOffset(file), 0);
        }
        mpeg::StreamOptions options;
        options.sampleFrames = m_options.networkVbr || !isOnNetworkFileSystem(path, m_stamp.device);
        const mpeg::StreamInfo info = mpeg::analyse(file, start, audioEnd, options);
        m_stream.Header = info.header;
        m_stream.Offs = info.offs;
        m_stream.MpegVersion = info.mpegVersion;
        m_stream.LayerVersion = info.layerVersion;
        m_stream.BitRate = info.bitRate;
        m_stream.SampleRate = info.sampleRate;
        m_stream.StereoMode = info.stereoMode;
        m_stream.VBR = info.vbr;
        m_stream.Frames = info.frames;
        m_stream.TimeLength = info.timeLength;
    }
    if (m_stream.Offs < 0 || m_stream.Size < kMinimumAnalysedSize) {
        const QString what = m_stream.Size == 0 ? QStringLiteral("The file is empty")
                                                : QStringLiteral("No MPEG audio frame found");
        if (m_tag || Ver2())
            m_loadWarning = what;
        else
            status =
                Status::error(ErrorCode::InvalidData, QStringLiteral("%1: \"%2\"").arg(what, path));
    }
    m_isSyn = true;
    m_shouldSyn = true;
    return status;
}

} // namespace tags
