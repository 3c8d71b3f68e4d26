#pragma once

#include "id3frame.h"
#include "status.h"

#include <QByteArrayView>
#include <memory>
#include <vector>

namespace tags {

struct Id3FrameWalk;

/// How a tag is built for writing.
struct Id3WriteOptions {
    bool unsynchronize = false; ///< unsynchronise the whole tag (ID3v2.3 form)
    bool zeroPadding = true;    ///< pad to at least 2048 bytes and leave room for growth
    int paddingPerc = 50;       ///< 10 .. 100: how full a grown tag is

    bool operator==(const Id3WriteOptions&) const = default;
};

/// The frame list of one file's ID3v2 tag with the values of its header. Reads versions
/// 2.2, 2.3 and 2.4, builds version 2.3.
///
/// Frames are owned by the tag; pointers and references returned by the lookups stay valid
/// until that frame is deleted or the list is cleared.
///
/// Reading a file: readID3v2 (id3v2file.h). Writing: writeID3v2, which rebuilds the tag with
/// BuildTagFor and replaces exactly the old tag region of the file.
class TID3v2 {
public:
    TID3v2() = default;
    TID3v2(const TID3v2& other);
    TID3v2& operator=(const TID3v2& other);
    ~TID3v2();

    int version = 3;       ///< major version from the header
    quint16 flags = 0;     ///< header bytes 4-5 (revision high, flags low)
    qint64 storedSize = 0; ///< size field of the tag on disk, 0 without a tag
    bool modified = false; ///< frames changed since the last read or write
    qint64 usedSize = 0;   ///< after parsing: sum of body sizes + 10; after building: unpadded size
    qint64 paddingSize = 0;    ///< the extended header's padding field, when present
    bool parsed = false;       ///< the last ParseFrames ran
    qint64 parsedBodySize = 0; ///< body bytes the last ParseFrames got (a size field may lie)

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
    /// The match, else a new COMM frame with an empty body (the caller sets its text form).
    TID3Frame& FindOrAddComment(const QString& description, const QString& language);
    bool DeleteComment(const QString& description, const QString& language);

    /// PRIV by owner, compared without regard to case.
    TID3Frame* FindPrivate(const QString& owner);
    /// The match, else a new PRIV frame whose body is the owner and a NUL.
    TID3Frame& FindOrAddPrivate(const QString& owner);
    bool DeletePrivate(const QString& owner);

    /// TXXX / WXXX by description (exact).
    TID3Frame* FindUserFrame(QByteArrayView id, const QString& description);
    /// The match, else a new frame with this description and an empty value.
    TID3Frame& FindOrAddUserFrame(QByteArrayView id, const QString& description);

    /// Frames whose id is one of KnownFrameIds.
    int CountKnownFrames() const;
    /// Deletes the text frames (T...) with no text and the COMM frames whose text form has
    /// nothing but line breaks. Opaque frames are kept.
    void RemoveEmptyFrames();

    /// Reads the 10 header bytes; false unless they are a valid ID3v2 header.
    bool ParseHeader(QByteArrayView header);
    /// Replaces the frame list by the frames of a tag body (the bytes after the header),
    /// read by `version` and `flags`. An ID3v2.4 recording date (TDRC) is taken in as TYER,
    /// with TDAT and TIME when it holds them, since Varlo writes ID3v2.3.
    void ParseFrames(QByteArrayView body);
    /// Replaces the frame list by frames read elsewhere (the compatibility reader).
    void adoptFrames(Id3FrameWalk&& walk);

    /// The complete ID3v2.3 tag with padding, sized against the tag last read (as far as its
    /// bytes were there); empty when no
    /// frame is left (or when the frames exceed the 256 MB an ID3v2 tag can hold).
    QByteArray BuildTag(const Id3WriteOptions& options);
    /// Builds the tag for a file whose current tag takes `previousSize` bytes (0 without one):
    /// a tag that fits is padded to that size so that it can be written in place. Frames with
    /// ids ID3v2.3 cannot hold (unmapped ID3v2.2 ids) are left out; encodings 2 and 3 become 1.
    Status BuildTagFor(const Id3WriteOptions& options, qint64 previousSize, QByteArray& tag);
    /// After `tag` (from BuildTagFor) was written: the header values and frame flags describe
    /// it, and modified is cleared.
    void markWritten(const QByteArray& tag);

private:
    void takeRecordingDateAsYear();
    std::vector<std::unique_ptr<TID3Frame>> m_frames;
};

} // namespace tags
