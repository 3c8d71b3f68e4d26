// Reads arbitrary bytes as an Ogg Vorbis file, edits the comments, applies the planned save
// to an in-memory copy and reads that back: the copy must read, with the comments as edited.
#include "tags/oggvorbis.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer input(&bytes);
    input.open(QIODevice::ReadOnly);
    tags::TOggVorbis ogg;
    if (!ogg.read(input))
        return 0;
    (void)ogg.Duration();
    (void)ogg.BitRate();
    (void)ogg.ChannelMode();
    (void)ogg.Track();
    (void)ogg.IsEmpty();
    ogg.setField(QStringLiteral("Title"), QStringLiteral("Fuzz \u00e9 \u4e2d"));
    ogg.setField(QStringLiteral("OriginalLyricist"), QStringLiteral("sixth artist"));
    ogg.setField(QStringLiteral("Comment"), QString());

    tags::OggRewrite rewrite;
    if (!ogg.planWrite(input, rewrite))
        return 0;
    if (rewrite.offset < 0 || rewrite.length < 0 || rewrite.offset + rewrite.length > bytes.size())
        abort();
    QByteArray saved = bytes;
    saved.replace(rewrite.offset, rewrite.length, rewrite.data);
    QBuffer output(&saved);
    output.open(QIODevice::ReadOnly);
    tags::TOggVorbis reread;
    if (!reread.read(output) || !(reread.comments() == ogg.comments()) ||
        reread.SampleRate() != ogg.SampleRate())
        abort();
    return 0;
}
