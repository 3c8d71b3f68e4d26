#pragma once

#include "id3frame.h"

#include <QByteArrayView>
#include <memory>
#include <vector>

namespace tags {

/// How a tag is built for writing.
struct Id3WriteOptions {
    bool unsynchronize = false;
    bool zeroPadding = true;
    int paddingPerc = 50; ///< 10 .. 100
};

/// The frame list of one file's ID3v2 tag with the values of its header. Reads versions
/// 2.2, 2.3 and 2.4, builds version 2.3.
///
/// Frames are owned by the tag; pointers and references returned by the lookups stay valid
/// until that frame is deleted or the list is cleared.
class TID3v2 {
public:
    TID3v2() = default;
    TID3v2(const TID3v2& other);
    TID3v2& operator=(const TID3v2& other);

    int version = 3;       ///< major version from the header
    quint16 flags = 0;     ///< header bytes 4-5
    qint64 storedSize = 0; ///< size field of the tag on disk, 0 without a tag
    bool modified = false; ///< frames changed since the last read or write

    int frameCount() const { return int(m_frames.size()); }
    TID3Frame& frame(int index) { return *m_frames[size_t(index)]; }
    const TID3Frame& frame(int index) const { return *m_frames[size_t(index)]; }
    void clear();

    /// Lookups ignore the letter case of ids and return the first match.
    TID3Frame* FindFrame(QByteArrayView id);
    TID3Frame& AddFrame(QByteArrayView id);
    TID3Frame& FindOrAddFrame(QByteArrayView id);
    int DeleteFrames(QByteArrayView id);
    void deleteFrame(const TID3Frame* frame);

    /// COMM by language and description, compared without regard to case.
    TID3Frame* FindComment(const QString& description, const QString& language);
    TID3Frame& FindOrAddComment(const QString& description, const QString& language);
    bool DeleteComment(const QString& description, const QString& language);

    /// PRIV by owner, compared without regard to case.
    TID3Frame* FindPrivate(const QString& owner);
    TID3Frame& FindOrAddPrivate(const QString& owner);
    bool DeletePrivate(const QString& owner);

    /// TXXX / WXXX by description (exact).
    TID3Frame* FindUserFrame(QByteArrayView id, const QString& description);
    TID3Frame& FindOrAddUserFrame(QByteArrayView id, const QString& description);

    /// Reads the 10 header bytes; false unless they start with "ID3".
    bool ParseHeader(QByteArrayView header);
    /// Replaces the frame list by the frames of a tag body (the bytes after the header).
    void ParseFrames(QByteArrayView body);
    /// The complete ID3v2.3 tag with padding; empty when no frame is left.
    QByteArray BuildTag(const Id3WriteOptions& options);

private:
    std::vector<std::unique_ptr<TID3Frame>> m_frames;
};

} // namespace tags
