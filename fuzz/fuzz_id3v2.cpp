// Parses arbitrary bytes as an ID3v2 tag (header, frames, every text form and picture
// operation), builds an ID3v2.3 tag from the result and parses that again.
#include "tags/id3picture.h"
#include "tags/id3v2.h"
#include "tags/oldid3v2.h"

#include <QByteArrayView>
#include <cstdint>

using namespace tags;

namespace {

void touchEveryFrame(TID3v2& tag) {
    for (int i = 0; i < tag.frameCount(); ++i) {
        TID3Frame& frame = tag.frame(i);
        GetFrameText(frame);
        FrameValues(frame);
        UserFrameDescription(frame);
        GenreIndexOf(frame);
        GenreTextOf(frame);
        PictureType(frame);
        PictureDescription(frame);
        PictureData(frame);
    }
    tag.FindComment(QStringLiteral("ID3v1"), QStringLiteral("eng"));
    tag.FindPrivate(QStringLiteral("PCDJ GAIN"));
    tag.FindUserFrame("TXXX", QString());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (bytes.size() < 10)
        return 0;
    TID3v2 tag;
    if (!ParseWithCompatibility(tag, bytes.first(10), bytes.sliced(10)))
        tag.ParseFrames(bytes.sliced(10));
    touchEveryFrame(tag);

    // The built tag must read back with the same number of writable frames.
    Id3WriteOptions options;
    options.unsynchronize = size % 2 == 1;
    const QByteArray built = tag.BuildTag(options);
    if (built.isEmpty())
        return 0;
    TID3v2 reread;
    if (!reread.ParseHeader(built))
        __builtin_trap();
    reread.ParseFrames(QByteArrayView(built).sliced(10));
    touchEveryFrame(reread);
    return 0;
}
