#include "id3framereader.h"

#include "bytecursor.h"
#include "id3frametables.h"

#include <algorithm>
#include <optional>
#include <zlib.h>

namespace tags {

namespace {

constexpr quint16 kTagUnsync = 0x80;
constexpr quint16 kTagExtendedHeader = 0x40;
constexpr quint16 kV22TagCompression = 0x40;
/// Larger inflated frames are kept compressed (opaque) rather than allocated, as are frames
/// past the total one tag may inflate to.
constexpr qsizetype kMaxInflatedSize = 16 * 1024 * 1024;
constexpr qsizetype kMaxInflatedTotal = 64 * 1024 * 1024;
constexpr qsizetype kInflateChunk = 64 * 1024;

/// Frame format flags and the extra bytes they add, per version.
struct FlagLayout {
    quint16 compression, encryption, grouping, unsync, dataLength;
};
constexpr FlagLayout kV23Flags{0x0080, 0x0040, 0x0020, 0, 0};
constexpr FlagLayout kV24Flags{0x0008, 0x0004, 0x0040, 0x0002, 0x0001};

std::optional<QByteArray> inflateFrame(QByteArrayView input, quint32 expectedSize,
                                       qsizetype limit) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    QByteArray out;
    // zlib inflates at most about 1032 times, so a lying size field reserves no more than that.
    out.reserve(std::min({qsizetype(expectedSize), limit, input.size() * 1032 + kInflateChunk}));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
    stream.avail_in = uInt(input.size());
    int result = Z_OK;
    while (result == Z_OK && out.size() < limit) {
        const qsizetype done = out.size();
        out.resize(done + kInflateChunk);
        stream.next_out = reinterpret_cast<Bytef*>(out.data() + done);
        stream.avail_out = uInt(kInflateChunk);
        result = inflate(&stream, Z_NO_FLUSH);
        out.resize(done + kInflateChunk - stream.avail_out);
        if (result == Z_BUF_ERROR || (result == Z_OK && stream.avail_in == 0 && stream.avail_out))
            break; // truncated input
    }
    inflateEnd(&stream);
    if (result != Z_STREAM_END)
        return std::nullopt;
    out.squeeze();
    return out;
}

/// True when a frame ending at `pos` is followed by the end, padding or another frame header.
bool landsOnBoundary(QByteArrayView data, qint64 pos) {
    if (pos == data.size())
        return true;
    if (pos > data.size())
        return false;
    return data[pos] == '\0' || (pos + 4 <= data.size() && IsValidFrameId(data.sliced(pos, 4), 4));
}

/// ID3v2.4 sizes are sync-safe, but some writers (iTunes among them) stored plain numbers;
/// the reading that lands on the next frame wins.
qint64 v24FrameSize(QByteArrayView data, qint64 pos) {
    TBuf buf(data.sliced(pos + 4, 4));
    const quint64 plain = buf.ReadBE(4);
    if (plain & 0x80808080u)
        return qint64(plain);
    buf.seek(0);
    const qint64 syncSafe = qint64(buf.ReadSyncSafe(4));
    if (syncSafe == qint64(plain) || landsOnBoundary(data, pos + 10 + syncSafe))
        return syncSafe;
    return landsOnBoundary(data, pos + 10 + qint64(plain)) ? qint64(plain) : syncSafe;
}

qsizetype firstFrameOffset(QByteArrayView data, int version, quint16 tagFlags, qint64& padding) {
    // Some writers set the flag without writing an extended header; frames then start at once.
    if (version == 2 || !(tagFlags & kTagExtendedHeader) || data.size() < 10 ||
        IsValidFrameId(data.first(4), 4))
        return 0;
    TBuf buf(data);
    if (version == 3) {
        const qint64 size = qint64(buf.ReadBE(4));
        if (size < 6 || size > data.size() - 4)
            return 0;
        buf.skip(2);
        padding = qint64(buf.ReadBE(4));
        return qsizetype(4 + size);
    }
    if (quint64(TBuf(data).ReadBE(4)) & 0x80808080u)
        return 0;
    const qint64 size = qint64(buf.ReadSyncSafe(4));
    return size < 6 || size > data.size() ? 0 : qsizetype(size);
}

/// PIC -> APIC: the three-letter image format becomes a MIME type.
QByteArray pictureBodyFromV22(QByteArrayView body) {
    return body.first(1).toByteArray() + MimeForV22ImageFormat(body.sliced(1, 3)) + '\0' +
           body.sliced(4).toByteArray();
}

void mapV22Id(TID3Frame& frame) {
    const QByteArray mapped = MapV22FrameId(frame.id);
    if (mapped.isEmpty() || (frame.id == "PIC" && frame.body.size() < 5))
        return; // kept with its three characters; such frames are dropped on write
    if (frame.id == "PIC")
        frame.body = pictureBodyFromV22(frame.body);
    frame.id = mapped;
}

/// Decodes the data of one frame (after its header); nothing when its flag data is missing.
std::unique_ptr<TID3Frame> decodeFrame(QByteArrayView id, quint16 flags, QByteArrayView stored,
                                       int version, bool unsync, qsizetype& inflateBudget) {
    auto frame = std::make_unique<TID3Frame>();
    frame->id = id.toByteArray();
    frame->flags = flags;
    const FlagLayout& layout = version == 4 ? kV24Flags : kV23Flags;
    const bool frameUnsync = unsync || (layout.unsync && (flags & layout.unsync));
    // ID3v2.4 unsynchronises the flag data too; the other form only the body.
    const QByteArray resynced = frameUnsync && version == 4 ? Resynchronise(stored) : QByteArray();
    TBuf buf(frameUnsync && version == 4 ? QByteArrayView(resynced) : stored);
    const auto need = [&](qsizetype n) { return buf.remaining() >= n; };
    const bool compressed = flags & layout.compression;
    const bool encrypted = flags & layout.encryption;
    if (version == 3 && compressed) {
        if (!need(4))
            return nullptr;
        frame->dataLength = quint32(buf.ReadBE(4));
    }
    if (version == 4 && (flags & layout.grouping)) {
        if (!need(1))
            return nullptr;
        frame->groupId = quint8(buf.ReadBE(1));
    }
    if (encrypted) {
        if (!need(1))
            return nullptr;
        frame->encryptionMethod = quint8(buf.ReadBE(1));
    }
    if (version == 3 && (flags & layout.grouping)) {
        if (!need(1))
            return nullptr;
        frame->groupId = quint8(buf.ReadBE(1));
    }
    if (version == 4 && (flags & layout.dataLength)) {
        if (!need(4))
            return nullptr;
        frame->dataLength = quint32(buf.ReadSyncSafe(4));
    }
    QByteArray payload = buf.rest().toByteArray();
    if (frameUnsync && version != 4)
        payload = Resynchronise(payload);
    std::optional<QByteArray> inflated;
    if (compressed && !encrypted) {
        inflated = inflateFrame(payload, frame->dataLength, qMin(kMaxInflatedSize, inflateBudget));
        inflateBudget -= inflated ? inflated->size() : 0;
    }
    frame->opaque = encrypted || (compressed && !inflated);
    frame->body = inflated ? *inflated : payload;
    if (!frame->opaque)
        frame->dataLength = 0;
    return frame;
}

} // namespace

int Id3FrameWalk::knownCount() const {
    int count = 0;
    for (const auto& frame : frames)
        count += IsKnownFrameId(frame->id) ? 1 : 0;
    return count;
}

Id3FrameWalk WalkId3Frames(QByteArrayView body, int version, quint16 tagFlags, Id3UnsyncForm form) {
    Id3FrameWalk walk;
    if (version < 2 || version > 4 || (version == 2 && (tagFlags & kV22TagCompression)))
        return walk;
    const QByteArray resynced =
        form == Id3UnsyncForm::WholeTag ? Resynchronise(body) : QByteArray();
    const QByteArrayView data = form == Id3UnsyncForm::WholeTag ? QByteArrayView(resynced) : body;
    const int idLength = version == 2 ? 3 : 4;
    const int headerSize = version == 2 ? 6 : 10;
    qint64 pos = firstFrameOffset(data, version, tagFlags, walk.paddingSize);
    qsizetype inflateBudget = kMaxInflatedTotal;
    while (true) {
        if (pos >= data.size() || data[pos] == '\0') {
            walk.clean = true;
            break;
        }
        if (data.size() - pos < headerSize || !IsValidFrameId(data.sliced(pos, idLength), idLength))
            break;
        TBuf header(data.sliced(pos, headerSize));
        header.skip(idLength);
        const qint64 size = version == 2   ? qint64(header.ReadBE(3))
                            : version == 3 ? qint64(header.ReadBE(4))
                                           : v24FrameSize(data, pos);
        if (version == 4)
            header.skip(4);
        if (size >= (qint64(1) << 31))
            break;
        const quint16 flags = version == 2 ? 0 : quint16(header.ReadBE(2));
        const qint64 start = pos + headerSize;
        const qint64 available = qMin(size, qint64(data.size()) - start);
        auto frame = decodeFrame(data.sliced(pos, idLength), flags, data.sliced(start, available),
                                 version, form == Id3UnsyncForm::PerFrame, inflateBudget);
        if (frame) {
            if (version == 2)
                mapV22Id(*frame);
            walk.usedSize += frame->body.size() + 10;
            walk.frames.push_back(std::move(frame));
        }
        if (available < size)
            break; // the frame runs past the tag: it keeps the bytes that are there
        pos = start + size;
    }
    return walk;
}

Id3FrameWalk ReadId3Body(QByteArrayView body, int version, quint16 tagFlags) {
    if (!(tagFlags & kTagUnsync))
        return WalkId3Frames(body, version, tagFlags, Id3UnsyncForm::None);
    // ID3v2.4 unsynchronises frame by frame, ID3v2.2/2.3 the whole body; older Varlo versions
    // wrote ID3v2.3 tags frame by frame, so the other form is tried when the first stumbles.
    const Id3UnsyncForm first = version == 4 ? Id3UnsyncForm::PerFrame : Id3UnsyncForm::WholeTag;
    const Id3UnsyncForm second = version == 4 ? Id3UnsyncForm::WholeTag : Id3UnsyncForm::PerFrame;
    Id3FrameWalk walk = WalkId3Frames(body, version, tagFlags, first);
    if (walk.clean)
        return walk;
    Id3FrameWalk other = WalkId3Frames(body, version, tagFlags, second);
    if (other.clean || other.knownCount() > walk.knownCount())
        return other;
    return walk;
}

} // namespace tags
