#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

namespace tags {

/// A frame body of a layout that carries encoded strings, taken apart: the encoding byte, the
/// raw bytes before the strings (Latin-1 MIME type, language, picture type), the decoded
/// strings and the raw bytes after them (picture data, a WXXX URL). Joining gives the body
/// again, so a frame can be re-encoded without knowing more of its layout.
struct EncodedFrame {
    bool known = false; ///< the id has such a layout
    quint8 encoding = 0;
    QByteArray head;
    QStringList strings;
    bool lastTerminated = false; ///< the last string of an open-ended list had a terminator
    QByteArray tail;

    /// Splits a body by the layout of `id` (upper case); `known` is false for other ids.
    static EncodedFrame split(QByteArrayView id, QByteArrayView body);
    /// The body of these parts.
    QByteArray join() const;
    /// 1-based position of the tail in the joined body.
    int tailStart() const;

private:
    int fixedStrings = -1; ///< -1: the strings run to the end of the body
};

/// True for TXXX and WXXX (characters 2 to 4 are "XXX").
bool IsUserFrameId(QByteArrayView upperId);
/// True for URL link frames other than WXXX, which carry no encoding byte.
bool IsUrlFrameId(QByteArrayView upperId);

} // namespace tags
