#include "tags/asf.h"
#include "tags/wma.h"

#include <cstdint>
#include <cstdlib>

/// Parses an ASF header, changes attributes through the slots, serialises, and checks that
/// the result parses again and reads back what was set.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    tags::asf::Header header;
    if (!header.parse(bytes))
        return 0;
    tags::TWMA wma;
    wma.assignFrom(header, qint64(size));
    wma.setProperty(QStringLiteral("Title"), QStringLiteral("Fuzz \u00e9\u6771"));
    wma.setTrack(7);
    wma.setProperty(QStringLiteral("Mood"), QString());
    if (size % 7 == 0) // now and then a value only the metadata library can hold
        wma.setProperty(QStringLiteral("Lyrics"), QString(70000, QLatin1Char('l')));
    if (!wma.applyTo(header))
        return 0;
    const QByteArray out = header.serialise(qint64(size));
    tags::asf::Header again;
    if (!again.parse(out))
        abort();
    tags::TWMA back;
    back.assignFrom(again, qint64(size));
    if (back.property(QStringLiteral("Title")) != wma.property(QStringLiteral("Title")) ||
        back.Track() != 7 || !back.property(QStringLiteral("Mood")).isEmpty() ||
        back.property(QStringLiteral("Lyrics")) != wma.property(QStringLiteral("Lyrics")))
        abort();
    return 0;
}
