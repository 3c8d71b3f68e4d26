#include "wav.h"

namespace tags {

Status TWav::ReadWavFile(const QString& path) {
    return Status::error(ErrorCode::Unsupported,
                         QStringLiteral("WAV files are not supported yet: \"%1\"").arg(path));
}

} // namespace tags
