#include "id3picture.h"

#include "bytecursor.h"
#include "id3framelayout.h"
#include "id3frametables.h"

#include <QSaveFile>

namespace tags {

namespace {

EncodedFrame pictureParts(const TID3Frame& frame) {
    if (frame.opaque || frame.id.toUpper() != "APIC")
        return {};
    return EncodedFrame::split("APIC", frame.body);
}

} // namespace

QString PictureMime(const TID3Frame& frame) {
    const QByteArray head = pictureParts(frame).head;
    return QString::fromLatin1(head.left(head.indexOf('\0')));
}

int PictureType(const TID3Frame& frame) {
    const QByteArray head = pictureParts(frame).head;
    const qsizetype nul = head.indexOf('\0');
    return nul >= 0 && nul + 1 < head.size() ? quint8(head[nul + 1]) : 0;
}

void SetPictureType(TID3Frame& frame, int type) {
    EncodedFrame parts = pictureParts(frame);
    if (!parts.known)
        return;
    if (!parts.head.contains('\0'))
        parts.head += '\0';
    parts.head = parts.head.left(parts.head.indexOf('\0') + 1) + char(quint8(type));
    frame.body = parts.join();
}

QString PictureDescription(const TID3Frame& frame) {
    return pictureParts(frame).strings.value(0);
}

void SetPictureDescription(TID3Frame& frame, const QString& text) {
    EncodedFrame parts = pictureParts(frame);
    if (!parts.known)
        return;
    SetPicture(frame, PictureMime(frame), PictureType(frame), text, parts.tail);
}

QByteArray PictureData(const TID3Frame& frame) {
    return pictureParts(frame).tail;
}

void SetPicture(TID3Frame& frame, const QString& mime, int type, const QString& description,
                const QByteArray& data) {
    const quint8 encoding = Id3EncodingFor(description);
    frame.body = QByteArray(1, char(encoding)) + mime.toLatin1() + '\0' + char(quint8(type)) +
                 EncodeId3Text(encoding, description) + Id3Terminator(encoding);
    frame.pictureStart = int(frame.body.size()) + 1;
    frame.body += data;
    frame.opaque = false;
}

QString SavePicture(const TID3Frame& frame, const QString& baseName) {
    const QString extension = PictureExtensionForMime(PictureMime(frame));
    if (extension.isEmpty() || baseName.isEmpty())
        return {};
    const QString fileName = baseName + '.' + extension;
    QSaveFile file(fileName);
    const QByteArray data = PictureData(frame);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        return {};
    return fileName;
}

} // namespace tags
