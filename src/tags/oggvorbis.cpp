#include "oggvorbis.h"

namespace tags {

Status TOggVorbis::ReadOggFile(const QString& path) {
    return Status::error(
        ErrorCode::Unsupported,
        QStringLiteral("Ogg Vorbis files are not supported yet: \"%1\"").arg(path));
}

Status TOggVorbis::WriteOggFile(const QString& path) {
    return ReadOggFile(path);
}

QString TOggVorbis::field(const QString&) const {
    return {};
}

void TOggVorbis::setField(const QString&, const QString&) {}

bool TOggVorbis::hasProperty(const QString&) {
    return false;
}

void TOggVorbis::clearFields() {}

bool TOggVorbis::IsEmpty() const {
    return true;
}

int TOggVorbis::Track() const {
    return 0;
}

void TOggVorbis::setTrack(int) {}

QString TOggVorbis::ChannelMode() const {
    switch (m_channels) {
    case 1:
        return QStringLiteral("Mono");
    case 2:
        return QStringLiteral("Stereo");
    default:
        return QStringLiteral("Unknown");
    }
}

} // namespace tags
