#include "oldid3v2.h"

#include "id3v2.h"

namespace tags {

bool TOldID3v2::ParseHeader(QByteArrayView header) {
    TID3v2 probe;
    if (!probe.ParseHeader(header))
        return false;
    version = probe.version;
    flags = probe.flags;
    storedSize = probe.storedSize;
    return true;
}

void TOldID3v2::ParseFrames(QByteArrayView body) {
    const bool unsync = flags & 0x80;
    m_walk =
        WalkId3Frames(body, version, flags, unsync ? Id3UnsyncForm::WholeTag : Id3UnsyncForm::None);
}

bool ParseWithCompatibility(TID3v2& tag, QByteArrayView header, QByteArrayView body) {
    if (!tag.ParseHeader(header))
        return false;
    tag.ParseFrames(body);
    // The two readers differ only for unsynchronised tags; anything else would be read twice
    // to the same frames.
    if (!(tag.flags & 0x80))
        return false;
    TOldID3v2 second;
    if (!second.ParseHeader(header))
        return false;
    second.ParseFrames(body);
    if (second.CountKnownFrames() <= tag.CountKnownFrames())
        return false;
    // The frames are now resynchronised as a whole; the header no longer describes them.
    tag.flags &= ~quint16(0x80);
    tag.adoptFrames(second.takeFrames());
    return true;
}

} // namespace tags
