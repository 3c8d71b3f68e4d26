#include "tags/wav.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

// Reads a WAV header from arbitrary bytes; the data chunk must lie inside the input.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    tags::TWav wav;
    if (wav.read(buffer)) {
        if (wav.dataSize < 0 || wav.dataPosition + wav.dataSize > qint64(size))
            __builtin_trap();
        wav.durationMs();
        wav.timeLength();
    }
    return 0;
}
