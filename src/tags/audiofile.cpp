#include "audiofile.h"

#include "genres.h"

#include <QDir>
#include <QFileInfo>
#include <atomic>

namespace tags {

namespace {

std::atomic_bool g_pendingChanges{false};

const char* const kStereoModeNames[] = {"Stereo", "Joint-Stereo", "Dual-Channel", "Mono"};

bool isBlank(const QString& text) {
    return text.trimmed().isEmpty();
}

/// Lines 3 and later of a comment's text form, joined by spaces and trimmed.
QString commentBody(const QString& textForm) {
    return SplitTextForm(textForm).mid(2).join(QLatin1Char(' ')).trimmed();
}

} // namespace

bool pendingChanges() {
    return g_pendingChanges;
}

void clearPendingChanges() {
    g_pendingChanges = false;
}

TMP3::TMP3(const QString& path, const TagOptions& options, CacheLink* cache)
    : m_options(options), m_cache(cache), m_filePath(path) {
    if (!path.isEmpty()) {
        const QFileInfo info(path);
        m_newFileDir = info.absolutePath() + QLatin1Char('/');
        m_fileName = info.completeBaseName();
        LoadFromFile();
    }
}

int TMP3::WorkVersion() const {
    switch (m_options.tagMode) {
    case TagOptions::ID3v1Only:
        return 1;
    case TagOptions::ID3v2Only:
        return 2;
    default:
        return m_options.commonMode || Ver2() || !m_tag ? 2 : 1;
    }
}

void TMP3::ensureSynchronised() {
    if (!m_shouldSyn || m_isSyn || !m_cache || m_changed)
        return;
    m_shouldSyn = false;
    if (LoadFromFile().ok() && m_shouldUpdateCache) {
        m_cache->updateEntry(*this);
        if (doUpdateListItem)
            doUpdateListItem(*this);
    }
    m_shouldSyn = true;
}

// --- identity ---

QString TMP3::NewFileDir() {
    ensureSynchronised();
    return m_newFileDir;
}

QString TMP3::FileName() {
    ensureSynchronised();
    return m_fileName;
}

void TMP3::setFileName(const QString& name) {
    static const QString kForbidden = QStringLiteral("/\\:*?\"<>|");
    QString clean;
    for (QChar c : name)
        if (!kForbidden.contains(c) && c != QChar(0))
            clean += c;
    m_fileName = clean;
}

QDateTime TMP3::DateTime() {
    ensureSynchronised();
    return m_dateTime;
}

QString TMP3::FolderName() {
    QString dir = NewFileDir();
    if (dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir.mid(dir.lastIndexOf(QLatin1Char('/')) + 1);
}

QString TMP3::Extension() const {
    const QString name = m_filePath.mid(m_filePath.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

// --- flags ---

void TMP3::setChanged(bool changed) {
    m_changed = changed;
    if (changed)
        g_pendingChanges = true;
}

void TMP3::setFormat(bool wma, bool ogg, bool wav) {
    m_wma = wma;
    m_ogg = ogg && !wma;
    m_wav = wav && !wma && !ogg;
}

bool TMP3::Tag() {
    ensureSynchronised();
    return m_tag;
}

// --- stream values ---

const TMP3::Stream& TMP3::stream() {
    ensureSynchronised();
    return m_stream;
}

QString TMP3::BitRateStr() {
    const Stream& s = stream();
    return (s.VBR ? QStringLiteral("~") : QStringLiteral(" ")) + QString::number(s.BitRate);
}

QString TMP3::StereoModeStr() {
    if (m_ogg)
        return OggTag().ChannelMode();
    if (m_wma)
        return WmaTag().ChannelMode();
    return QString::fromLatin1(kStereoModeNames[stream().StereoMode & 3]);
}

// --- tag objects ---

TID3v2& TMP3::ID3v2() {
    ensureSynchronised();
    return m_id3v2;
}

TOggVorbis& TMP3::OggTag() {
    ensureSynchronised();
    return m_oggTag;
}

TWMA& TMP3::WmaTag() {
    ensureSynchronised();
    return m_wmaTag;
}

TWav& TMP3::WavTag() {
    ensureSynchronised();
    return m_wavTag;
}

ID3v1Block& TMP3::id3v1() {
    ensureSynchronised();
    return m_id3v1;
}

// --- reading the unified fields ---

QString TMP3::get(Field field) {
    ensureSynchronised();
    if (field == Field::Genre)
        return QString::number(Genre());
    if (field == Field::Track)
        return QString::number(Track());
    if (m_ogg)
        return cutAtNul(mainMapping(field) || field == Field::GenreStr ? mainFieldOgg(field)
                                                                       : extendedField(field));
    if (m_wma)
        return cutAtNul(mainMapping(field) || field == Field::GenreStr || field == Field::Mood
                            ? mainFieldWma(field)
                            : extendedField(field));
    switch (field) {
    case Field::Mood:
        return musicMatchField("MusicMatch_Mood");
    case Field::Situation:
        return musicMatchField("MusicMatch_Situation");
    case Field::Tempo:
        return musicMatchField("MusicMatch_Tempo");
    default:
        break;
    }
    if (mainMapping(field) || field == Field::GenreStr)
        return cutAtNul(mainFieldMpeg(field));
    return cutAtNul(extendedField(field));
}

QString TMP3::mainFieldOgg(Field field) {
    if (field == Field::GenreStr)
        return m_oggTag.field(QStringLiteral("Genre"));
    const QString value = m_oggTag.field(QLatin1String(mainMapping(field)->oggProperty));
    if (field == Field::Artist && isBlank(value))
        return m_oggTag.field(QStringLiteral("Band"));
    return value;
}

QString TMP3::mainFieldWma(Field field) {
    if (field == Field::Mood)
        return m_wmaTag.property(QStringLiteral("Mood"));
    if (field == Field::GenreStr) {
        const int id = m_wmaTag.GenreId();
        return id == GenreNames::kNone ? m_wmaTag.property(QStringLiteral("Genre"))
                                       : GenreNames::NameOf(id);
    }
    const QString value = m_wmaTag.property(QLatin1String(mainMapping(field)->wmaProperty));
    if (field == Field::Artist && isBlank(value))
        return m_wmaTag.property(QStringLiteral("Author"));
    return value;
}

QString TMP3::mainFieldV1(Field field) {
    if (field == Field::GenreStr)
        return m_tag ? GenreNames::NameOf(m_id3v1.genre()) : QString();
    return m_id3v1.read(ID3v1Block::Field(mainMapping(field)->v1Field));
}

QString TMP3::mainFieldV2(Field field) {
    switch (field) {
    case Field::GenreStr: {
        TID3Frame* tcon = m_id3v2.FindFrame("TCON");
        return tcon ? GenreTextOf(*tcon) : QString();
    }
    case Field::Comment:
        return id3v2Comment();
    case Field::Artist: {
        const QString artist = frameText("TPE1");
        return artist.isEmpty() ? frameText("TPE2") : artist;
    }
    default:
        return frameText(mainMapping(field)->frameId);
    }
}

QString TMP3::mainFieldMpeg(Field field) {
    if (m_options.commonMode) {
        const QString v2 = mainFieldV2(field);
        return isBlank(v2) ? mainFieldV1(field) : v2;
    }
    return WorkVersion() == 1 ? mainFieldV1(field) : mainFieldV2(field);
}

QString TMP3::extendedField(Field field) {
    const ExtendedFieldMapping* mapping = extendedMapping(field);
    if (!mapping)
        return {};
    if (m_ogg)
        return *mapping->oggProperty ? m_oggTag.field(QLatin1String(mapping->oggProperty))
                                     : QString();
    if (m_wma)
        return *mapping->wmaProperty ? m_wmaTag.property(QLatin1String(mapping->wmaProperty))
                                     : QString();
    if (WorkVersion() != 2)
        return {};
    if (field == Field::Lyrics || field == Field::Contact) {
        TID3Frame* frame = m_id3v2.FindUserFrame(mapping->frameId, QString());
        return frame ? GetFrameText(*frame) : QString();
    }
    return frameText(mapping->frameId);
}

QString TMP3::frameText(const char* id) {
    TID3Frame* frame = m_id3v2.FindFrame(id);
    return frame ? GetFrameText(*frame) : QString();
}

QString TMP3::musicMatchField(const char* description) {
    if (m_ogg || m_wma || WorkVersion() != 2 || !Ver2())
        return {};
    TID3Frame* frame = m_id3v2.FindComment(QLatin1String(description), QStringLiteral("eng"));
    return frame ? commentBody(GetFrameText(*frame)) : QString();
}

/// The comment Varlo shows and edits: COMM "eng"/"ID3v1", or when the file has none, the
/// comment with an empty description that other programs write.
TID3Frame* TMP3::commentFrame() {
    if (TID3Frame* ours = m_id3v2.FindComment(QStringLiteral("ID3v1"), QStringLiteral("eng")))
        return ours;
    for (int i = 0; i < m_id3v2.frameCount(); ++i) {
        TID3Frame& frame = m_id3v2.frame(i);
        if (frame.id.compare("COMM", Qt::CaseInsensitive) == 0 &&
            SplitTextForm(GetFrameText(frame)).value(1).isEmpty())
            return &frame;
    }
    return nullptr;
}

QString TMP3::id3v2Comment() {
    TID3Frame* frame = commentFrame();
    return frame ? commentBody(GetFrameText(*frame)) : QString();
}

int TMP3::Genre() {
    ensureSynchronised();
    if (m_ogg)
        return GenreNames::IndexOf(m_oggTag.field(QStringLiteral("Genre")));
    if (m_wma) {
        const int id = m_wmaTag.GenreId();
        return id != GenreNames::kNone
                   ? id
                   : GenreNames::IndexOf(m_wmaTag.property(QStringLiteral("Genre")));
    }
    if (WorkVersion() == 1)
        return m_id3v1.genre();
    TID3Frame* tcon = Ver2() ? m_id3v2.FindFrame("TCON") : nullptr;
    return tcon ? GenreIndexOf(*tcon) : GenreNames::kNone;
}

int TMP3::Track() {
    ensureSynchronised();
    if (m_ogg)
        return m_oggTag.Track();
    if (m_wma)
        return m_wmaTag.Track();
    if (m_options.commonMode) {
        const int v2 = leadingNumber(frameText("TRCK"));
        return v2 != 0 ? v2 : m_id3v1.track();
    }
    return WorkVersion() == 1 ? m_id3v1.track() : leadingNumber(frameText("TRCK"));
}

QString TMP3::FallbackText(Field field) {
    ensureSynchronised();
    if (field == Field::Track) {
        if (m_ogg || m_wma)
            return QString::number(Track());
        const int v1 = m_id3v1.track();
        const int v2 = leadingNumber(frameText("TRCK"));
        const bool v1First = WorkVersion() == 1;
        const int first = v1First ? v1 : v2;
        return QString::number(first != 0 ? first : (v1First ? v2 : v1));
    }
    if (m_ogg || m_wma || (!mainMapping(field) && field != Field::GenreStr))
        return get(field);
    const bool v1First = WorkVersion() == 1;
    const QString first = v1First ? mainFieldV1(field) : mainFieldV2(field);
    if (!isBlank(first))
        return first;
    return v1First ? mainFieldV2(field) : mainFieldV1(field);
}

QString TMP3::CommentForDisplay() {
    ensureSynchronised();
    if (m_ogg || m_wma)
        return get(Field::Comment);
    if (WorkVersion() == 1)
        return mainFieldV1(Field::Comment);
    const QString comment = id3v2Comment();
    if (!comment.isEmpty())
        return comment;
    for (int i = 0; i < m_id3v2.frameCount(); ++i) {
        TID3Frame& frame = m_id3v2.frame(i);
        if (frame.id.compare("COMM", Qt::CaseInsensitive) != 0)
            continue;
        const QString form = GetFrameText(frame);
        if (!SplitTextForm(form).value(1).startsWith(QStringLiteral("musicmatch_"),
                                                     Qt::CaseInsensitive))
            return commentBody(form);
    }
    return {};
}

QString TMP3::CommentForDisplayWithV1() {
    const QString comment = CommentForDisplay();
    if (!m_ogg && !m_wma && WorkVersion() == 2 && isBlank(comment))
        return mainFieldV1(Field::Comment);
    return comment;
}

} // namespace tags
