#pragma once

#include "status.h"

#include <QString>

namespace tags {

/// Format values of a RIFF WAVE file (PCM, IEEE float, extensible).
class TWav {
public:
    Status ReadWavFile(const QString& path);

    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    int byteRate = 0;
    qint64 dataSize = 0;

    bool operator==(const TWav&) const = default;
};

} // namespace tags
