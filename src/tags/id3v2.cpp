#include "id3v2.h"

#include <QStringList>

namespace tags {

namespace {

bool sameId(QByteArrayView a, QByteArrayView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QStringList textLines(const QString& text) {
    return text.split(QStringLiteral("\r\n"));
}

} // namespace

TID3v2::TID3v2(const TID3v2& other) {
    *this = other;
}

TID3v2& TID3v2::operator=(const TID3v2& other) {
    if (this == &other)
        return *this;
    version = other.version;
    flags = other.flags;
    storedSize = other.storedSize;
    modified = other.modified;
    m_frames.clear();
    m_frames.reserve(other.m_frames.size());
    for (const auto& f : other.m_frames)
        m_frames.push_back(std::make_unique<TID3Frame>(*f));
    return *this;
}

void TID3v2::clear() {
    m_frames.clear();
}

TID3Frame* TID3v2::FindFrame(QByteArrayView id) {
    for (auto& f : m_frames)
        if (sameId(f->id, id))
            return f.get();
    return nullptr;
}

TID3Frame& TID3v2::AddFrame(QByteArrayView id) {
    auto frame = std::make_unique<TID3Frame>();
    frame->id = id.toByteArray();
    m_frames.push_back(std::move(frame));
    return *m_frames.back();
}

TID3Frame& TID3v2::FindOrAddFrame(QByteArrayView id) {
    TID3Frame* found = FindFrame(id);
    return found ? *found : AddFrame(id);
}

int TID3v2::DeleteFrames(QByteArrayView id) {
    const auto before = m_frames.size();
    std::erase_if(m_frames, [&](const auto& f) { return sameId(f->id, id); });
    return int(before - m_frames.size());
}

void TID3v2::deleteFrame(const TID3Frame* frame) {
    std::erase_if(m_frames, [&](const auto& f) { return f.get() == frame; });
}

TID3Frame* TID3v2::FindComment(const QString& description, const QString& language) {
    for (auto& f : m_frames) {
        if (!sameId(f->id, "COMM"))
            continue;
        const QStringList lines = textLines(GetFrameText(*f));
        if (lines.size() >= 2 && lines[0].toLower() == language.toLower() &&
            lines[1].toLower() == description.toLower())
            return f.get();
    }
    return nullptr;
}

TID3Frame& TID3v2::FindOrAddComment(const QString& description, const QString& language) {
    TID3Frame* found = FindComment(description, language);
    return found ? *found : AddFrame("COMM");
}

bool TID3v2::DeleteComment(const QString& description, const QString& language) {
    TID3Frame* found = FindComment(description, language);
    if (found)
        deleteFrame(found);
    return found;
}

TID3Frame* TID3v2::FindPrivate(const QString& owner) {
    for (auto& f : m_frames)
        if (sameId(f->id, "PRIV") &&
            textLines(GetFrameText(*f)).value(0).toLower() == owner.toLower())
            return f.get();
    return nullptr;
}

TID3Frame& TID3v2::FindOrAddPrivate(const QString& owner) {
    if (TID3Frame* found = FindPrivate(owner))
        return *found;
    TID3Frame& frame = AddFrame("PRIV");
    frame.body = owner.toLatin1() + '\0';
    return frame;
}

bool TID3v2::DeletePrivate(const QString& owner) {
    TID3Frame* found = FindPrivate(owner);
    if (found)
        deleteFrame(found);
    return found;
}

TID3Frame* TID3v2::FindUserFrame(QByteArrayView id, const QString& description) {
    Q_UNUSED(description);
    return FindFrame(id);
}

TID3Frame& TID3v2::FindOrAddUserFrame(QByteArrayView id, const QString& description) {
    TID3Frame* found = FindUserFrame(id, description);
    return found ? *found : AddFrame(id);
}

bool TID3v2::ParseHeader(QByteArrayView header) {
    if (header.size() < 10 || !header.startsWith("ID3"))
        return false;
    version = quint8(header[3]);
    flags = quint16((quint8(header[4]) << 8) | quint8(header[5]));
    storedSize = (qint64(header[6] & 0x7f) << 21) | ((header[7] & 0x7f) << 14) |
                 ((header[8] & 0x7f) << 7) | (header[9] & 0x7f);
    return true;
}

void TID3v2::ParseFrames(QByteArrayView body) {
    clear();
    qsizetype pos = 0;
    while (pos + 10 <= body.size() && body[pos] != '\0') {
        const QByteArrayView h = body.sliced(pos, 10);
        const qint64 size = (qint64(quint8(h[4])) << 24) | (quint8(h[5]) << 16) |
                            (quint8(h[6]) << 8) | quint8(h[7]);
        if (size > body.size() - pos - 10)
            break;
        TID3Frame& f = AddFrame(h.first(4));
        f.flags = quint16((quint8(h[8]) << 8) | quint8(h[9]));
        f.body = body.sliced(pos + 10, size).toByteArray();
        pos += 10 + size;
    }
}

QByteArray TID3v2::BuildTag(const Id3WriteOptions& options) {
    Q_UNUSED(options);
    if (m_frames.empty())
        return {};
    QByteArray tag("ID3\x03\x00\x00\x00\x00\x00\x00", 10);
    for (const auto& f : m_frames) {
        const quint32 size = quint32(f->body.size());
        tag += f->id.leftJustified(4, ' ', true);
        tag += char(size >> 24);
        tag += char(size >> 16);
        tag += char(size >> 8);
        tag += char(size);
        tag += QByteArray(2, '\0');
        tag += f->body;
    }
    const qint64 size = tag.size() - 10;
    tag[6] = char((size >> 21) & 0x7f);
    tag[7] = char((size >> 14) & 0x7f);
    tag[8] = char((size >> 7) & 0x7f);
    tag[9] = char(size & 0x7f);
    return tag;
}

} // namespace tags
