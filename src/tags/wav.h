#pragma once

#include "status.h"

#include <QIODevice>
#include <QString>

namespace tags {

/// Format values of a RIFF WAVE (or RF64) file: PCM, IEEE float, WAVE_FORMAT_EXTENSIBLE and
/// the compressed formats, whose fmt values are reported as they stand.
class TWav {
public:
    static constexpr int kFormatPcm = 1;
    static constexpr int kFormatIeeeFloat = 3;
    static constexpr int kFormatExtensible = 0xFFFE;

    /// Reads the header of the file; on failure all values are 0 except `fileSize`.
    Status ReadWavFile(const QString& path);
    /// Same as ReadWavFile on any device (a file or a buffer).
    Status read(QIODevice& device);
    /// All values 0.
    void Reset();

    /// Whole seconds of audio: data bytes / byte rate, 0 when the byte rate is unknown.
    qint64 timeLength() const;
    /// Milliseconds of audio (cut, not rounded).
    qint64 durationMs() const;

    int formatTag = 0; ///< for WAVE_FORMAT_EXTENSIBLE the tag of its subformat GUID
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    int byteRate = 0; ///< from fmt; derived from rate and block size when fmt says 0
    int blockAlign = 0;
    qint64 dataSize = 0;     ///< bytes of the data chunk actually present in the file
    qint64 dataPosition = 0; ///< file offset of the first sample byte
    qint64 fileSize = 0;

    bool operator==(const TWav&) const = default;
};

} // namespace tags
