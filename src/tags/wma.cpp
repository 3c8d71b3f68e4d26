#include "wma.h"

namespace tags {

Status TWMA::ReadWmaFile(const QString& path) {
    return Status::error(ErrorCode::Unsupported,
                         QStringLiteral("WMA files are not supported yet: \"%1\"").arg(path));
}

Status TWMA::WriteWmaFile(const QString& path) {
    return ReadWmaFile(path);
}

QString TWMA::property(const QString&) const {
    return {};
}

void TWMA::setProperty(const QString&, const QString&) {}

bool TWMA::hasProperty(const QString&) {
    return false;
}

void TWMA::Clear() {}

bool TWMA::IsEmpty() const {
    return true;
}

int TWMA::Track() const {
    return 0;
}

void TWMA::setTrack(int) {}

int TWMA::GenreId() const {
    return 255;
}

void TWMA::setGenreId(int) {}

QString TWMA::ChannelMode() const {
    return QStringLiteral("Unknown");
}

} // namespace tags
