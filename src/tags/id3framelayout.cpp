#include "id3framelayout.h"

#include "bytecursor.h"

namespace tags {

namespace {

struct Layout {
    int latin1Strings = 0; ///< NUL-terminated Latin-1 strings after the encoding byte
    int fixedBytes = 0;    ///< raw bytes after those
    int strings = -1;      ///< encoded strings, -1 for all that follow
};

bool layoutOf(QByteArrayView id, Layout& layout) {
    if (id == "COMM" || id == "USLT")
        layout = {0, 3, -1};
    else if (id == "APIC")
        layout = {1, 1, 1};
    else if (id == "GEOB")
        layout = {1, 0, 2};
    else if (id == "WXXX")
        layout = {0, 0, 1};
    else if (id == "IPLS" || (id.startsWith('T') && id.size() == 4))
        layout = {0, 0, -1};
    else
        return false;
    return true;
}

} // namespace

bool IsUserFrameId(QByteArrayView upperId) {
    return upperId.size() == 4 && upperId.sliced(1) == "XXX";
}

bool IsUrlFrameId(QByteArrayView upperId) {
    return upperId.startsWith('W') && !IsUserFrameId(upperId);
}

EncodedFrame EncodedFrame::split(QByteArrayView id, QByteArrayView body) {
    EncodedFrame frame;
    Layout layout;
    if (!layoutOf(id, layout))
        return frame;
    frame.known = true;
    frame.fixedStrings = layout.strings;
    TBuf buf(body);
    frame.encoding = buf.ReadEncoding();
    for (int i = 0; i < layout.latin1Strings; ++i)
        buf.ReadLatin1ZString();
    buf.skip(layout.fixedBytes);
    frame.head =
        body.sliced(qMin(qsizetype(1), body.size()), qMax(buf.position() - 1, qsizetype(0)))
            .toByteArray();
    if (layout.strings < 0) {
        while (!buf.atEnd()) {
            const qsizetype start = buf.position();
            const QByteArray raw = buf.ReadRawZString();
            frame.strings << DecodeId3Text(frame.encoding, raw);
            frame.lastTerminated = buf.position() - start > raw.size();
        }
    } else {
        for (int i = 0; i < layout.strings; ++i)
            frame.strings << buf.ReadZString();
    }
    frame.tail = buf.rest().toByteArray();
    return frame;
}

QByteArray EncodedFrame::join() const {
    QByteArray body(1, char(encoding));
    body += head;
    const QByteArray terminator = Id3Terminator(encoding);
    for (qsizetype i = 0; i < strings.size(); ++i) {
        body += EncodeId3Text(encoding, strings[i]);
        if (i + 1 < strings.size() || fixedStrings >= 0 || lastTerminated)
            body += terminator;
    }
    return body + tail;
}

int EncodedFrame::tailStart() const {
    return int(join().size() - tail.size()) + 1;
}

} // namespace tags
