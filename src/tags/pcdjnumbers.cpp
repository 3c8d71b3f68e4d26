#include "pcdjnumbers.h"

#include "id3v2.h"

#include <QtEndian>
#include <cmath>

namespace tags::PcdjNumbers {

quint32 GainToStored(const QString& entered) {
    bool ok = false;
    const double gain = entered.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(gain))
        return 0;
    const double stored = 32000.0 - std::round(gain * 1000.0);
    return stored < 0 || stored > 32000 ? 0 : quint32(stored);
}

double GainFromStored(quint32 stored) {
    return (32000.0 - double(stored)) / 1000.0;
}

quint32 NumberFromText(const QString& entered) {
    bool ok = false;
    const quint32 value = entered.trimmed().toUInt(&ok);
    return ok ? value : 0;
}

std::optional<quint32> Read(TID3v2& tag, const QString& owner) {
    const TID3Frame* frame = tag.FindPrivate(owner);
    if (!frame)
        return std::nullopt;
    const qsizetype start = frame->body.indexOf('\0') + 1;
    if (start <= 0 || frame->body.size() - start < 4)
        return std::nullopt;
    return qFromLittleEndian<quint32>(frame->body.constData() + start);
}

void Write(TID3v2& tag, const QString& owner, quint32 value) {
    tag.DeletePrivate(owner);
    TID3Frame& frame = tag.FindOrAddPrivate(owner);
    char bytes[4];
    qToLittleEndian(value, bytes);
    frame.body.append(bytes, 4);
    tag.modified = true;
}

} // namespace tags::PcdjNumbers
