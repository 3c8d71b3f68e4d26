#include "audiofilecompare.h"

namespace tags {

namespace {

bool sameBytes(const QByteArray& a, const QByteArray& b) {
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

/// Everything of a frame that is written to the file; pictureStart is only where reading
/// the frame's text form found the picture.
bool sameFrame(const TID3Frame& a, const TID3Frame& b) {
    return a.id == b.id && a.flags == b.flags && a.groupId == b.groupId && a.opaque == b.opaque &&
           a.encryptionMethod == b.encryptionMethod && a.dataLength == b.dataLength &&
           sameBytes(a.body, b.body);
}

bool sameFrames(const TID3v2& a, const TID3v2& b) {
    if (a.frameCount() != b.frameCount())
        return false;
    for (int i = 0; i < a.frameCount(); ++i)
        if (!sameFrame(a.frame(i), b.frame(i)))
            return false;
    return true;
}

bool sameFlags(TMP3& a, TMP3& b) {
    return a.WMA() == b.WMA() && a.OGG() == b.OGG() && a.WAV() == b.WAV() && a.Tag() == b.Tag() &&
           a.APE() == b.APE() && a.apeSize() == b.apeSize();
}

bool sameIdentity(TMP3& a, TMP3& b) {
    return a.FileName() == b.FileName() && a.NewFileDir() == b.NewFileDir();
}

bool sameTags(TMP3& a, TMP3& b) {
    return a.id3v1() == b.id3v1() && sameFrames(a.ID3v2(), b.ID3v2()) &&
           a.OggTag().comments() == b.OggTag().comments() && a.WmaTag() == b.WmaTag();
}

bool sameFields(TMP3& a, TMP3& b) {
    for (int i = 0; i < kFieldCount; ++i)
        if (a.get(Field(i)) != b.get(Field(i)))
            return false;
    return true;
}

} // namespace

bool sameContent(TMP3& a, TMP3& b) {
    return sameFlags(a, b) && sameIdentity(a, b) && sameTags(a, b) && sameFields(a, b);
}

} // namespace tags
