#pragma once

#include "audiofile.h"

namespace tags {

/// True when saving either object would leave the same file behind: the unified fields,
/// every ID3v2 frame (id, flags and bytes), the ID3v1 block, the APE tag and its pending
/// removal, the Ogg comments, the WMA attributes, the pending FileName and NewFileDir, the
/// format flags and the tag-presence flag all agree.
///
/// Changed and the ID3v2 modified mark are not compared: a setter that writes the value a
/// frame already holds sets the mark without changing anything the file would hold.
/// Frame bytes shared between the objects (a snapshot's cover picture) compare without
/// being read.
bool sameContent(TMP3& a, TMP3& b);

} // namespace tags
