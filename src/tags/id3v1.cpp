#include "id3v1.h"

namespace tags {

namespace {
QString trimmedField(QByteArrayView raw) {
    qsizetype end = raw.indexOf('\0');
    if (end < 0)
        end = raw.size();
    while (end > 0 && raw[end - 1] == ' ')
        --end;
    return QString::fromLatin1(raw.first(end));
}
} // namespace

void ID3v1Block::clear() {
    m_bytes = QByteArray(kSize, '\0');
    setGenre(255);
}

bool ID3v1Block::assign(const QByteArray& bytes) {
    if (bytes.size() != kSize || !bytes.startsWith("TAG"))
        return false;
    m_bytes = bytes;
    return true;
}

QByteArray ID3v1Block::withMarker() const {
    QByteArray out = m_bytes;
    out.replace(0, 3, "TAG");
    return out;
}

int ID3v1Block::length(Field field) {
    switch (field) {
    case Year:
        return 4;
    case Comment:
        return 28;
    default:
        return 30;
    }
}

QString ID3v1Block::read(Field field) const {
    return trimmedField(QByteArrayView(m_bytes).sliced(field, length(field)));
}

void ID3v1Block::write(Field field, const QString& text) {
    const int len = length(field);
    const QByteArray latin = text.toLatin1().left(len);
    m_bytes.replace(field, len, latin + QByteArray(len - latin.size(), '\0'));
}

int ID3v1Block::track() const {
    return m_bytes[kTrackMarker] == '\0' ? byteAt(kTrack) : 0;
}

void ID3v1Block::setTrackByte(int value) {
    m_bytes[kTrackMarker] = '\0';
    m_bytes[kTrack] = char(quint8(value));
}

QString ID3v1Block::marker() const {
    return trimmedField(QByteArrayView(m_bytes).first(3));
}

void ID3v1Block::setMarker(const QString& text) {
    const QByteArray latin = text.toLatin1().left(3);
    m_bytes.replace(0, 3, latin + QByteArray(3 - latin.size(), '\0'));
}

} // namespace tags
