#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace tags {

/// The frame ids of ID3v2.3 and ID3v2.4 that Varlo counts as known (CountKnownFrames).
const QList<QByteArray>& KnownFrameIds();
/// Exact (case-sensitive) membership in KnownFrameIds.
bool IsKnownFrameId(QByteArrayView id);

/// True for an id of `length` characters, each an upper-case letter or a digit.
bool IsValidFrameId(QByteArrayView id, int length);

/// The ID3v2.3 id of an ID3v2.2 id; empty when there is no equivalent with the same layout.
QByteArray MapV22FrameId(QByteArrayView id);

/// MIME type for the three-letter image format of an ID3v2.2 PIC frame ("JPG" -> image/jpeg).
QByteArray MimeForV22ImageFormat(QByteArrayView format);

/// File name extension for a picture MIME type, only from a fixed safe set (jpg, png, gif,
/// bmp, tif, webp, ico); empty for anything else.
QString PictureExtensionForMime(const QString& mime);

} // namespace tags
