#pragma once

#include "id3frame.h"

#include <QByteArrayView>
#include <memory>
#include <vector>

namespace tags {

/// How a tag's unsynchronisation was applied.
enum class Id3UnsyncForm {
    None,
    WholeTag, ///< the whole body, as ID3v2.3 prescribes (frame sizes count resynchronised bytes)
    PerFrame, ///< each frame's data by itself (ID3v2.4, and ID3v2.3 tags of older Varlo versions)
};

/// The frames found in one tag body and how cleanly the walk ended.
struct Id3FrameWalk {
    std::vector<std::unique_ptr<TID3Frame>> frames;
    qint64 usedSize = 0;    ///< sum over frames of body size + 10
    qint64 paddingSize = 0; ///< the extended header's padding field, when present
    bool clean =
        false; ///< every frame header was valid and the walk ended at the end or at padding

    int knownCount() const;
};

/// Walks the frames of a tag body (the bytes after the 10-byte header) of version 2, 3 or 4.
/// ID3v2.2 ids are mapped to ID3v2.3 ones where a mapping exists (PIC becomes APIC with a MIME
/// type); compressed frames are inflated; encrypted frames and compressed frames that do not
/// inflate are kept opaque; frames too short for their flag data are dropped. Never reads
/// outside `body`.
Id3FrameWalk WalkId3Frames(QByteArrayView body, int version, quint16 tagFlags, Id3UnsyncForm form);

/// The main reader: walks a body by its header's version and flags. With the
/// unsynchronisation flag set it tries both forms and keeps the one that walks cleanly.
Id3FrameWalk ReadId3Body(QByteArrayView body, int version, quint16 tagFlags);

} // namespace tags
