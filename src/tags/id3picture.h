#pragma once

#include "id3frame.h"

namespace tags {

/// APIC: the MIME type.
QString PictureMime(const TID3Frame& frame);
/// APIC: the picture type byte after the MIME type (0 when there is none).
int PictureType(const TID3Frame& frame);
void SetPictureType(TID3Frame& frame, int type);
/// APIC: the description.
QString PictureDescription(const TID3Frame& frame);
/// APIC: replaces the description (also when there was none) and moves pictureStart.
void SetPictureDescription(TID3Frame& frame, const QString& text);
/// APIC: the picture bytes.
QByteArray PictureData(const TID3Frame& frame);
/// APIC := a complete picture frame body; the encoding follows the description.
void SetPicture(TID3Frame& frame, const QString& mime, int type, const QString& description,
                const QByteArray& data);
/// Writes the picture of an APIC frame whose MIME type is image/<known type> to
/// `baseName` + "." + extension (jpg, png, gif, bmp, tif, webp, ico, never taken from the
/// MIME text itself) and returns that file name; empty on any error.
QString SavePicture(const TID3Frame& frame, const QString& baseName);

} // namespace tags
