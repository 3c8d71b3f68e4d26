// The records by which audio objects are exchanged without reading their files again: the
// cache text and the common tag record.
#include "audiofile.h"

#include <QStringList>

namespace tags {

namespace {

const QString kSeparator = QStringLiteral(":~:");
// Version of the cache text layout; a text of another version is not restored, so the
// cache reads the file again instead.
const QString kCacheTextVersion = QStringLiteral("V2");

/// Makes a field text free of the separator's colon and of quotes, reversibly for every
/// character sequence: a backslash starts every escape.
QString escapeField(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case ':':
            out += QLatin1String("\\c");
            break;
        case '\'':
            out += QLatin1String("\\q");
            break;
        case '`':
            out += QLatin1String("\\g");
            break;
        case '"':
            out += QLatin1String("\\d");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString unescapeField(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i].unicode()) {
        case 'c':
            out += QLatin1Char(':');
            break;
        case 'q':
            out += QLatin1Char('\'');
            break;
        case 'g':
            out += QLatin1Char('`');
            break;
        case 'd':
            out += QLatin1Char('"');
            break;
        default:
            out += text[i];
        }
    }
    return out;
}

QString boolText(bool value) {
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

bool boolFrom(const QString& text) {
    return text.toLongLong() != 0;
}

qint64 numberFrom(const QString& text, qint64 fallback = 0) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? value : fallback;
}

QString tagCode(TMP3& file, const QString& none) {
    if (!file.MP3())
        return none;
    const bool v1 = file.Tag();
    const bool v2 = file.Ver2();
    return v1 && v2 ? QStringLiteral("3")
           : v2     ? QStringLiteral("2")
           : v1     ? QStringLiteral("1")
                    : none;
}

QDateTime dateFrom(const QString& text) {
    return QDateTime::fromMSecsSinceEpoch(numberFrom(text));
}

/// The common record's tag slots and the fields they hold; the first seven are read with
/// the fallback readers, the rest with the plain getters.
const std::pair<TCommonTagData::Slot, Field> kCommonSlots[] = {
    {TCommonTagData::Artist, Field::Artist},
    {TCommonTagData::Title, Field::Title},
    {TCommonTagData::Album, Field::Album},
    {TCommonTagData::Comment, Field::Comment},
    {TCommonTagData::Genre, Field::GenreStr},
    {TCommonTagData::Year, Field::Year},
    {TCommonTagData::Track, Field::Track},
    {TCommonTagData::Language, Field::Language},
    {TCommonTagData::BPM, Field::BPM},
    {TCommonTagData::Composer, Field::Composer},
    {TCommonTagData::Conductor, Field::Conductor},
    {TCommonTagData::SubTitle, Field::SubTitle},
    {TCommonTagData::Content, Field::Content},
    {TCommonTagData::RemixedBy, Field::RemixedBy},
    {TCommonTagData::Band, Field::Band},
    {TCommonTagData::OriginalArtist, Field::OriginalArtist},
    {TCommonTagData::OriginalAlbum, Field::OriginalAlbum},
    {TCommonTagData::InitialKey, Field::InitialKey},
    {TCommonTagData::PartOfSet, Field::PartOfSet},
    {TCommonTagData::PlaylistDelay, Field::PlaylistDelay},
    {TCommonTagData::OriginalYear, Field::OriginalYear},
    {TCommonTagData::Copyright, Field::Copyright},
    {TCommonTagData::Contact, Field::Contact}};
constexpr int kFallbackSlots = 7;

} // namespace

/// The fields of the cache text in their stored order, each with how it is written and
/// read back.
struct CacheTextCodec {
    using Writer = QString (*)(TMP3&);
    using Reader = void (*)(TMP3&, const QString&);
    struct Entry {
        Writer write;
        Reader read;
    };

    template <int Offset> static QString v1Text(TMP3& m) {
        return m.m_id3v1.read(ID3v1Block::Field(Offset));
    }
    template <int Offset> static void setV1Text(TMP3& m, const QString& t) {
        m.m_id3v1.write(ID3v1Block::Field(Offset), t);
    }
    template <int Offset, int Default> static QString v1Byte(TMP3& m) {
        return QString::number(m.m_id3v1.byteAt(Offset));
    }
    template <int Offset, int Default> static void setV1Byte(TMP3& m, const QString& t) {
        m.m_id3v1.setByteAt(Offset, quint8(numberFrom(t, Default)));
    }
    template <Field F> static QString field(TMP3& m) { return m.get(F); }
    template <Field F> static void setField(TMP3& m, const QString& t) { m.set(F, t); }
    template <auto Member, int Default = 0> static QString number(TMP3& m) {
        return QString::number(m.m_stream.*Member);
    }
    template <auto Member, int Default = 0> static void setNumber(TMP3& m, const QString& t) {
        m.m_stream.*Member = decltype(+(m.m_stream.*Member))(numberFrom(t, Default));
    }
    template <auto Flag> static QString flag(TMP3& m) { return boolText(m.*Flag); }
    template <auto Flag> static void setFlag(TMP3& m, const QString& t) { m.*Flag = boolFrom(t); }
    static QString date(TMP3& m) { return QString::number(m.m_dateTime.toMSecsSinceEpoch()); }
    static void setDate(TMP3& m, const QString& t) { m.m_dateTime = dateFrom(t); }
    static void ignore(TMP3&, const QString&) {}

    static constexpr Entry kEntries[] = {
        {[](TMP3& m) { return m.m_id3v1.marker(); },
         [](TMP3& m, const QString& t) { m.m_id3v1.setMarker(t); }},
        {v1Text<ID3v1Block::Title>, setV1Text<ID3v1Block::Title>},
        {v1Text<ID3v1Block::Artist>, setV1Text<ID3v1Block::Artist>},
        {v1Text<ID3v1Block::Album>, setV1Text<ID3v1Block::Album>},
        {v1Text<ID3v1Block::Year>, setV1Text<ID3v1Block::Year>},
        {v1Text<ID3v1Block::Comment>, setV1Text<ID3v1Block::Comment>},
        {v1Byte<ID3v1Block::kTrackMarker, 0>, setV1Byte<ID3v1Block::kTrackMarker, 0>},
        {v1Byte<ID3v1Block::kTrack, 0>, setV1Byte<ID3v1Block::kTrack, 0>},
        {v1Byte<ID3v1Block::kGenre, 255>, setV1Byte<ID3v1Block::kGenre, 255>},
        {flag<&TMP3::m_ogg>, setFlag<&TMP3::m_ogg>},
        {flag<&TMP3::m_wma>, setFlag<&TMP3::m_wma>},
        {flag<&TMP3::m_wav>, setFlag<&TMP3::m_wav>},
        {[](TMP3& m) { return m.m_filePath; }, [](TMP3& m, const QString& t) { m.m_filePath = t; }},
        {[](TMP3& m) { return m.m_fileName; }, [](TMP3& m, const QString& t) { m.m_fileName = t; }},
        {number<&TMP3::Stream::MpegVersion>, setNumber<&TMP3::Stream::MpegVersion>},
        {number<&TMP3::Stream::LayerVersion>, setNumber<&TMP3::Stream::LayerVersion>},
        {number<&TMP3::Stream::BitRate>, setNumber<&TMP3::Stream::BitRate>},
        {number<&TMP3::Stream::BitsPerSample>, setNumber<&TMP3::Stream::BitsPerSample>},
        {number<&TMP3::Stream::Size>, setNumber<&TMP3::Stream::Size>},
        {[](TMP3& m) { return boolText(m.m_stream.VBR); },
         [](TMP3& m, const QString& t) { m.m_stream.VBR = boolFrom(t); }},
        {number<&TMP3::Stream::SampleRate>, setNumber<&TMP3::Stream::SampleRate>},
        {number<&TMP3::Stream::StereoMode>, setNumber<&TMP3::Stream::StereoMode, 2>},
        {number<&TMP3::Stream::TimeLength>, setNumber<&TMP3::Stream::TimeLength>},
        {number<&TMP3::Stream::Frames>, setNumber<&TMP3::Stream::Frames>},
        {date, setDate},
        // From here on the unified fields, read under the tag mode of the caller and
        // restored into ID3v2 frames.
        {[](TMP3& m) { return m.m_fileName; }, [](TMP3& m, const QString& t) { m.setFileName(t); }},
        {[](TMP3& m) { return m.m_newFileDir; },
         [](TMP3& m, const QString& t) { m.m_newFileDir = t; }},
        {field<Field::Artist>, setField<Field::Artist>},
        {field<Field::Title>, setField<Field::Title>},
        {field<Field::Album>, setField<Field::Album>},
        {[](TMP3& m) { return m.CommentForDisplay(); }, setField<Field::Comment>},
        {field<Field::GenreStr>,
         [](TMP3& m, const QString& t) {
             if (t != QLatin1String("255"))
                 m.set(Field::GenreStr, t);
         }},
        {field<Field::Year>, setField<Field::Year>},
        {field<Field::Track>, setField<Field::Track>},
        {number<&TMP3::Stream::BitRate>, setNumber<&TMP3::Stream::BitRate>},
        {number<&TMP3::Stream::TimeLength>, setNumber<&TMP3::Stream::TimeLength>},
        {number<&TMP3::Stream::Size>, setNumber<&TMP3::Stream::Size>},
        {date, setDate},
        {field<Field::Language>, setField<Field::Language>},
        {field<Field::BPM>, setField<Field::BPM>},
        {[](TMP3& m) { return tagCode(m, QString()); }, ignore}, // applied at the end
        {field<Field::Conductor>, setField<Field::Conductor>},
        {field<Field::SubTitle>, setField<Field::SubTitle>},
        {field<Field::Content>, setField<Field::Content>},
        {field<Field::RemixedBy>, setField<Field::RemixedBy>},
        {field<Field::Band>, setField<Field::Band>},
        {field<Field::OriginalArtist>, setField<Field::OriginalArtist>},
        {field<Field::OriginalAlbum>, setField<Field::OriginalAlbum>},
        {field<Field::InitialKey>, setField<Field::InitialKey>},
        {field<Field::PartOfSet>, setField<Field::PartOfSet>},
        {field<Field::PlaylistDelay>, setField<Field::PlaylistDelay>},
        {field<Field::OriginalYear>, setField<Field::OriginalYear>},
        {field<Field::Copyright>, setField<Field::Copyright>},
        {field<Field::Contact>, setField<Field::Contact>},
        {flag<&TMP3::m_ape>, setFlag<&TMP3::m_ape>},
        // What tells the cache that the file changed on disk.
        {[](TMP3& m) { return QString::number(m.m_stamp.size); },
         [](TMP3& m, const QString& t) { m.m_stamp.size = numberFrom(t, -1); }},
        {[](TMP3& m) { return QString::number(m.m_stamp.modifiedNs); },
         [](TMP3& m, const QString& t) { m.m_stamp.modifiedNs = numberFrom(t); }},
        {[](TMP3& m) { return QString::number(m.m_stamp.changedNs); },
         [](TMP3& m, const QString& t) { m.m_stamp.changedNs = numberFrom(t); }},
        {[](TMP3& m) { return QString::number(m.m_stamp.device); },
         [](TMP3& m, const QString& t) { m.m_stamp.device = t.toULongLong(); }},
        {[](TMP3& m) { return QString::number(m.m_stamp.inode); },
         [](TMP3& m, const QString& t) { m.m_stamp.inode = t.toULongLong(); }},
    };
    static constexpr int kTagCodeIndex = 40;
    static constexpr int kFirstUnifiedField = 25;
    static constexpr int kLastUnifiedField = 53;
};

QString TMP3::ToCacheString(int tagMode) {
    const bool shouldSyn = m_shouldSyn;
    const int previousMode = m_options.tagMode;
    m_shouldSyn = false;
    m_options.tagMode = tagMode;
    QString text = kCacheTextVersion + kSeparator;
    for (const CacheTextCodec::Entry& entry : CacheTextCodec::kEntries)
        text += escapeField(entry.write(*this)) + kSeparator;
    m_options.tagMode = previousMode;
    m_shouldSyn = shouldSyn;
    return text;
}

bool TMP3::FromCacheString(const QString& text) {
    QStringList fields = text.split(kSeparator);
    const qsizetype expected = std::size(CacheTextCodec::kEntries) + 2; // version, trailing empty
    if (fields.size() != expected || fields.first() != kCacheTextVersion ||
        !fields.last().isEmpty())
        return false;
    fields.removeFirst();
    for (QString& field : fields)
        field = unescapeField(field);

    const bool shouldSyn = m_shouldSyn;
    const int previousMode = m_options.tagMode;
    m_shouldSyn = false;
    for (int i = 0; i < int(std::size(CacheTextCodec::kEntries)); ++i) {
        const bool unified =
            i >= CacheTextCodec::kFirstUnifiedField && i <= CacheTextCodec::kLastUnifiedField;
        m_options.tagMode = unified ? int(TagOptions::ID3v2Only) : previousMode;
        CacheTextCodec::kEntries[i].read(*this, fields[i]);
    }
    m_options.tagMode = previousMode;
    const QString code = fields[CacheTextCodec::kTagCodeIndex];
    m_tag = !m_wma && !m_ogg && (code == QLatin1String("1") || code == QLatin1String("3"));
    if (code != QLatin1String("2") && code != QLatin1String("3"))
        m_id3v2.clear();
    m_id3v2.modified = false;
    m_shouldSyn = shouldSyn;
    return true;
}

TCommonTagData TMP3::ToCommonTagData() {
    using S = TCommonTagData;
    const int previousMode = m_options.tagMode;
    m_options.tagMode = TagOptions::Mixed;
    TCommonTagData data;
    data.kind = m_ogg   ? QStringLiteral("1")
                : m_wma ? QStringLiteral("2")
                : m_wav ? QStringLiteral("3")
                        : QStringLiteral("0");
    data.tagCode = tagCode(*this, QStringLiteral("0"));
    data[S::FileName] = FileName();
    data[S::FolderName] = FolderName();
    for (int i = 0; i < int(std::size(kCommonSlots)); ++i) {
        const auto [slot, field] = kCommonSlots[i];
        data[slot] = i < kFallbackSlots ? FallbackText(field) : get(field);
    }
    data[S::Comment] = CommentForDisplayWithV1();
    const Stream& s = stream();
    data[S::BitRate] = QString::number(s.BitRate);
    data[S::TimeLength] = QString::number(s.TimeLength);
    data[S::Size] = QString::number(s.Size);
    data[S::DateTime] = QString::number(
        (m_dateTime.isValid() ? m_dateTime : QDateTime::currentDateTime()).toMSecsSinceEpoch());
    data[S::SampleRate] = QString::number(s.SampleRate);
    m_options.tagMode = previousMode;
    return data;
}

void TMP3::FromCommonTagData(const TCommonTagData& data) {
    using S = TCommonTagData;
    setFormat(data.kind == QLatin1String("2"), data.kind == QLatin1String("1"),
              data.kind == QLatin1String("3"));
    if (MP3()) {
        m_tag = data.tagCode == QLatin1String("1") || data.tagCode == QLatin1String("3");
        if (data.tagCode != QLatin1String("2") && data.tagCode != QLatin1String("3"))
            m_id3v2.clear();
    }
    m_fileName = data[S::FileName];
    // The folder slot holds a folder *name*; applying it never moves the file anywhere.
    for (const auto& [slot, field] : kCommonSlots)
        set(field, data[slot]);
    m_stream.BitRate = int(numberFrom(data[S::BitRate]));
    m_stream.TimeLength = int(numberFrom(data[S::TimeLength]));
    m_stream.Size = numberFrom(data[S::Size]);
    m_stream.SampleRate = int(numberFrom(data[S::SampleRate]));
    m_dateTime = dateFrom(data[S::DateTime]);
}

void TMP3::Assign(TMP3& source) {
    source.ensureSynchronised();
    m_filePath = source.m_filePath;
    m_newFileDir = source.m_newFileDir;
    m_fileName = source.m_fileName;
    m_tag = source.m_tag;
    m_dateTime = source.m_dateTime;
    m_changed = source.m_changed;
    m_wma = source.m_wma;
    m_ogg = source.m_ogg;
    m_wav = source.m_wav;
    m_ape = source.m_ape;
    m_apeSize = source.m_apeSize;
    m_stream = source.m_stream;
    m_stamp = source.m_stamp;
    m_id3v1 = source.m_id3v1;
    m_id3v2 = source.m_id3v2; // an exact copy: the source keeps its empty frames
    m_oggTag = source.m_oggTag;
    m_wmaTag = source.m_wmaTag;
    m_wavTag = source.m_wavTag;
    m_apeTag = source.m_apeTag;
    m_isSyn = source.m_isSyn;
}

} // namespace tags
