#pragma once

#include "status.h"

#include <QIODevice>
#include <QString>

namespace tags {

/// An APEv2/APEv1 tag at the end of an MPEG file: detected (validated) and removed.
class TAPEtag {
public:
    /// Looks for a valid tag at the end of the device (before an ID3v1 block, if any).
    /// Returns the tag's size field, 0 when there is none.
    static qint64 find(QIODevice& device);
    /// Cuts a validated tag out of the file; a file without one is left alone.
    static Status remove(const QString& path);

    bool operator==(const TAPEtag&) const = default;
};

} // namespace tags
