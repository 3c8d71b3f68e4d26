#pragma once

#include <QString>
#include <optional>

namespace tags {

class TID3v2;

/// The three numbers the editors keep in PRIV frames (the owner, a NUL, then the number as
/// four bytes, least significant first). WMA files carry the same numbers as DWORD attributes.
namespace PcdjNumbers {

inline const QString kGain = QStringLiteral("PCDJ GAIN");
inline const QString kRating = QStringLiteral("PCDJ RATING");
inline const QString kCdCode = QStringLiteral("PCDJ CD CODE");

/// The stored number of a gain entered as a decimal number: 32000 - gain x 1000 (rounded),
/// 0 when that lies outside 0 .. 32000 or the entry is not a number.
quint32 GainToStored(const QString& entered);
/// The gain of a stored number.
double GainFromStored(quint32 stored);
/// The stored number of a rating or CD code entry: the whole number, 0 when it is none.
quint32 NumberFromText(const QString& entered);

/// The number of the PRIV frame of `owner`; nothing without such a frame or with fewer than
/// four bytes after the owner.
std::optional<quint32> Read(TID3v2& tag, const QString& owner);
/// Replaces the PRIV frame of `owner` by one holding `value`; marks the tag modified.
void Write(TID3v2& tag, const QString& owner, quint32 value);

} // namespace PcdjNumbers

} // namespace tags
