#include "id3v2.h"

#include "bytecursor.h"
#include "id3framelayout.h"
#include "id3framereader.h"
#include "id3frametables.h"

#include <QRegularExpression>

namespace tags {

namespace {

constexpr quint16 kTagUnsync = 0x80;
constexpr quint16 kTagFooter = 0x10;
constexpr qint64 kMinPaddedSize = 2048;
constexpr qint64 kMaxTagBodySize = 0x0FFFFFFF; // 28 bits of a sync-safe size

/// Frame ids are short ASCII: compared inline, letter case ignored (lookups run for every
/// field of every row).
bool sameId(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char x = a[i], y = b[i];
        if (x != y && ((x | 0x20) != (y | 0x20) || (x | 0x20) < 'a' || (x | 0x20) > 'z'))
            return false;
    }
    return true;
}

/// Frame flags in the ID3v2.3 layout: status flags in the high byte, compression 0x80,
/// encryption 0x40, grouping 0x20 in the low byte.
quint16 v23Flags(quint16 flags, int version) {
    if (version == 2)
        return 0;
    if (version != 4)
        return flags;
    constexpr std::pair<quint16, quint16> kV24ToV23[] = {{0x4000, 0x8000}, {0x2000, 0x4000},
                                                         {0x1000, 0x2000}, {0x0008, 0x0080},
                                                         {0x0004, 0x0040}, {0x0040, 0x0020}};
    quint16 out = 0;
    for (const auto& [v24, v23] : kV24ToV23)
        if (flags & v24)
            out |= v23;
    return out;
}

/// The flags a frame is written with: its status flags and grouping, plus compression and
/// encryption only for opaque frames (decoded bodies are written plain).
quint16 writtenFlags(const TID3Frame& frame, int version) {
    const quint16 flags = v23Flags(frame.flags, version);
    return flags & (frame.opaque ? 0xE0E0 : 0xE020);
}

QByteArray frameBytes(const TID3Frame& frame, const QByteArray& id, int version) {
    const quint16 flags = writtenFlags(frame, version);
    QByteArray extra;
    if (flags & 0x0080)
        AppendBE(extra, 4, frame.dataLength);
    if (flags & 0x0040)
        extra += char(frame.encryptionMethod);
    if (flags & 0x0020)
        extra += char(frame.groupId);
    QByteArray out = id;
    AppendBE(out, 4, quint64(extra.size() + frame.body.size()));
    AppendBE(out, 2, flags);
    return out + extra + frame.body;
}

bool isEmptyFrame(TID3Frame& frame) {
    if (frame.opaque)
        return false;
    const QByteArray id = frame.id.toUpper();
    if (id.startsWith('T')) {
        for (const QString& value : FrameValues(frame))
            if (!value.isEmpty())
                return false;
        return true;
    }
    return id == "COMM" && GetFrameText(frame).remove(QStringLiteral("\r\n")).isEmpty();
}

QString commentLanguage(const EncodedFrame& parts) {
    const QString language = QString::fromLatin1(parts.head);
    return language.left(language.indexOf(QChar(0)));
}

} // namespace

TID3v2::TID3v2(const TID3v2& other) {
    *this = other;
}

TID3v2::~TID3v2() = default;

TID3v2& TID3v2::operator=(const TID3v2& other) {
    if (this == &other)
        return *this;
    version = other.version;
    flags = other.flags;
    storedSize = other.storedSize;
    modified = other.modified;
    usedSize = other.usedSize;
    paddingSize = other.paddingSize;
    parsed = other.parsed;
    parsedBodySize = other.parsedBodySize;
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
        if (!sameId(f->id, "COMM") || f->opaque)
            continue;
        const EncodedFrame parts = EncodedFrame::split("COMM", f->body);
        if (commentLanguage(parts).toLower() == language.toLower() &&
            parts.strings.value(0).toLower() == description.toLower())
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
        if (sameId(f->id, "PRIV") && !f->opaque &&
            TBuf(f->body).ReadLatin1ZString().toLower() == owner.toLower())
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
    for (auto& f : m_frames)
        if (sameId(f->id, id) && !f->opaque && UserFrameDescription(*f) == description)
            return f.get();
    return nullptr;
}

TID3Frame& TID3v2::FindOrAddUserFrame(QByteArrayView id, const QString& description) {
    if (TID3Frame* found = FindUserFrame(id, description))
        return *found;
    TID3Frame& frame = AddFrame(id);
    SetUserFrameDescription(frame, description);
    return frame;
}

int TID3v2::CountKnownFrames() const {
    return int(std::count_if(m_frames.begin(), m_frames.end(),
                             [](const auto& f) { return IsKnownFrameId(f->id); }));
}

void TID3v2::RemoveEmptyFrames() {
    std::erase_if(m_frames, [](const auto& f) { return isEmptyFrame(*f); });
}

bool TID3v2::ParseHeader(QByteArrayView header) {
    if (header.size() < 10 || !header.startsWith("ID3") || quint8(header[3]) == 0xFF ||
        quint8(header[4]) == 0xFF)
        return false;
    TBuf buf(header.sliced(6, 4));
    if (buf.ReadBE(4) & 0x80808080u)
        return false;
    buf.seek(0);
    version = quint8(header[3]);
    flags = quint16((quint8(header[4]) << 8) | quint8(header[5]));
    storedSize = qint64(buf.ReadSyncSafe(4));
    return true;
}

void TID3v2::ParseFrames(QByteArrayView body) {
    parsedBodySize = body.size();
    adoptFrames(ReadId3Body(body, version, flags));
}

void TID3v2::adoptFrames(Id3FrameWalk&& walk) {
    m_frames = std::move(walk.frames);
    usedSize = walk.usedSize;
    paddingSize = walk.paddingSize;
    parsed = true;
    if (version == 4)
        takeRecordingDateAsYear();
}

void TID3v2::takeRecordingDateAsYear() {
    static const QRegularExpression date(
        QStringLiteral("^(\\d{4})(?:-(\\d{2})(?:-(\\d{2})(?:T(\\d{2})(?::(\\d{2}))?)?)?)?"));
    const QByteArray ids[] = {"TYER", "TDAT", "TIME"};
    bool present[] = {FindFrame(ids[0]) != nullptr, FindFrame(ids[1]) != nullptr,
                      FindFrame(ids[2]) != nullptr};
    std::vector<std::unique_ptr<TID3Frame>> frames;
    frames.reserve(m_frames.size());
    for (auto& frame : m_frames) {
        if (frame->id != "TDRC" || frame->opaque) {
            frames.push_back(std::move(frame));
            continue;
        }
        const QString text = GetFrameText(*frame).trimmed();
        const QRegularExpressionMatch m = date.match(text);
        const QString values[] = {
            m.hasMatch() ? m.captured(1) : text,
            m.captured(3).isEmpty() ? QString() : m.captured(3) + m.captured(2),
            m.captured(5).isEmpty() ? QString() : m.captured(4) + m.captured(5)};
        for (int k = 0; k < 3; ++k) {
            if (values[k].isEmpty() || present[k])
                continue;
            present[k] = true;
            frames.push_back(std::make_unique<TID3Frame>());
            frames.back()->id = ids[k];
            SetFrameText(*frames.back(), values[k]);
        }
    }
    m_frames = std::move(frames);
}

QByteArray TID3v2::BuildTag(const Id3WriteOptions& options) {
    const bool footer = version == 4 && (flags & kTagFooter);
    const qint64 body = qMin(storedSize, parsedBodySize);
    const qint64 previous = body > 0 ? body + 10 + (footer ? 10 : 0) : 0;
    QByteArray tag;
    BuildTagFor(options, previous, tag);
    return tag;
}

Status TID3v2::BuildTagFor(const Id3WriteOptions& options, qint64 previousSize, QByteArray& tag) {
    tag.clear();
    RemoveEmptyFrames();
    QByteArray frames;
    for (auto& f : m_frames) {
        const QByteArray id = f->id.toUpper();
        if (!IsValidFrameId(id, 4))
            continue;
        ConvertToV23Encoding(*f);
        frames += frameBytes(*f, id, version);
    }
    if (frames.isEmpty())
        return Status::success();
    bool unsynchronised = false;
    if (options.unsynchronize) {
        QByteArray unsynced = Unsynchronise(frames);
        unsynchronised = unsynced.size() != frames.size();
        frames = std::move(unsynced);
    }
    const qint64 total = 10 + frames.size();
    if (total - 10 > kMaxTagBodySize)
        return Status::error(ErrorCode::Unsupported,
                             QStringLiteral("The ID3v2 tag would exceed the 256 MB an ID3v2 tag "
                                            "can hold; remove large pictures or objects."));
    qint64 size = qMax(total, previousSize);
    if (options.zeroPadding) {
        if (size > previousSize)
            size = size * 100 / qBound(10, options.paddingPerc, 100);
        size = qMax(size, kMinPaddedSize);
    }
    size = qMin(size, kMaxTagBodySize + 10);
    tag = QByteArray("ID3\x03\x00", 5) + char(unsynchronised ? kTagUnsync : 0);
    AppendSyncSafe(tag, 4, quint64(size - 10));
    tag += frames;
    tag += QByteArray(size - total, '\0');
    usedSize = total;
    return Status::success();
}

void TID3v2::markWritten(const QByteArray& tag) {
    for (auto& f : m_frames)
        f->flags = writtenFlags(*f, version);
    TID3v2 header;
    const bool present = header.ParseHeader(tag);
    storedSize = present ? header.storedSize : 0;
    flags = present ? header.flags : 0;
    version = 3;
    modified = false;
}

} // namespace tags
