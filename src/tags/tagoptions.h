#pragma once

#include "id3v2.h"

namespace tags {

/// The tag mode and the settings the tag layer reads, handed to each audio object as a
/// value. Workers build objects on their own threads, so nothing here is read from windows
/// or globals that another thread may change.
struct TagOptions {
    enum TagMode { ID3v1Only = 1, ID3v2Only = 2, Mixed = 3 };

    int tagMode = Mixed;
    bool commonMode = false;       ///< the main window's common mode: mixed, ID3v2 first
    bool keepDoubleSpaces = false; ///< "Do not remove double spaces"
    bool leadingZero = true;       ///< track numbers with at least two digits
    bool compatibilityMode = true; ///< also read ID3v2 tags with the second reader
    bool networkVbr = false;       ///< sample frames of files on network drives too
    bool clearReadOnly = true;     ///< make read-only files writable before saving
    bool retainFileDate = true;    ///< restore the modification time after saving
    Id3WriteOptions id3;           ///< padding and unsynchronisation of written tags

    bool operator==(const TagOptions&) const = default;
};

} // namespace tags
