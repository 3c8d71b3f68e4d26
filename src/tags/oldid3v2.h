#pragma once

#include "id3framereader.h"

#include <QByteArrayView>

namespace tags {

class TID3v2;

/// The second reader of compatibility mode. It resynchronises an unsynchronised body as a
/// whole before taking the frames apart (the ID3v2.3 form), whatever the version, and takes
/// the frame bodies as they are then.
class TOldID3v2 {
public:
    int version = 3;
    quint16 flags = 0;
    qint64 storedSize = 0;

    /// Reads the 10 header bytes; false unless they are a valid ID3v2 header.
    bool ParseHeader(QByteArrayView header);
    void ParseFrames(QByteArrayView body);
    int CountKnownFrames() const { return m_walk.knownCount(); }
    /// Hands the frames over (the reader is empty afterwards).
    Id3FrameWalk takeFrames() { return std::move(m_walk); }

private:
    Id3FrameWalk m_walk;
};

/// Compatibility reading: parses `header` and `body` with the main reader into `tag`, then
/// with TOldID3v2, and keeps the frames of the second reader when it recognises more known
/// frames. Returns true when the second reader won.
bool ParseWithCompatibility(TID3v2& tag, QByteArrayView header, QByteArrayView body);

} // namespace tags
