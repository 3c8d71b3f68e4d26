#include "templatevars.h"

#include "tags/audiofile.h"

#include <QLocale>

namespace operations {

namespace {

using tags::Field;

/// How a variable that is not a plain tag field gets its value.
enum class Source { TagField, Computed, None };

struct VariableInfo {
    const char* code;
    const char* caption;
    Source source;
    Field field;        ///< for Source::TagField
    bool assignable;    ///< written back by generate and extract
    bool versionChoice; ///< read with the ID3 version fallback in common mode
};

constexpr Field kNoField = Field::Title; // unused where source is not TagField

// One row per TVN value, in enumeration order.
constexpr VariableInfo kVariables[kVariableCount] = {
    {"#Nam", "Filename", Source::Computed, kNoField, false, false},
    {"#Dir", "Directory", Source::Computed, kNoField, false, false},
    {"#Art", "Artist", Source::TagField, Field::Artist, true, true},
    {"#Tit", "Title", Source::TagField, Field::Title, true, true},
    {"#Alb", "Album", Source::TagField, Field::Album, true, true},
    {"#Tra", "Track", Source::Computed, Field::Track, true, true},
    {"#Gen", "Genre", Source::TagField, Field::GenreStr, true, true},
    {"#Com", "Comment", Source::TagField, Field::Comment, true, true},
    {"#Bps", "Bitrate", Source::Computed, kNoField, false, false},
    {"#Yea", "Year", Source::TagField, Field::Year, true, true},
    {"#Len", "Length", Source::Computed, kNoField, false, false},
    {"#Siz", "Size", Source::Computed, kNoField, false, false},
    {"#Fdt", "File date", Source::Computed, kNoField, false, false},
    {"#Lan", "Language", Source::TagField, Field::Language, true, false},
    {"#Bpm", "BPM", Source::TagField, Field::BPM, true, false},
    {"#Ext", "Extension", Source::Computed, kNoField, false, false},
    {"#Cmp", "Composer", Source::TagField, Field::Composer, true, false},
    {"#Con", "Conductor", Source::TagField, Field::Conductor, true, false},
    {"#Sub", "Subtitle", Source::TagField, Field::SubTitle, true, false},
    {"#Cnt", "Content", Source::TagField, Field::Content, true, false},
    {"#Rem", "Remixed by", Source::TagField, Field::RemixedBy, true, false},
    {"#Ban", "Band", Source::TagField, Field::Band, true, false},
    {"#Oar", "Original artist", Source::TagField, Field::OriginalArtist, true, false},
    {"#Oal", "Original album", Source::TagField, Field::OriginalAlbum, true, false},
    {"#Ike", "Initial key", Source::TagField, Field::InitialKey, true, false},
    {"#Pos", "Part of set", Source::TagField, Field::PartOfSet, true, false},
    {"#Pld", "Playlist delay", Source::TagField, Field::PlaylistDelay, true, false},
    {"#Oye", "Original year", Source::TagField, Field::OriginalYear, true, false},
    {"#Cor", "Copyright", Source::TagField, Field::Copyright, true, false},
    {"#Cur", "Copyright URL", Source::TagField, Field::CopyrightURL, true, false},
    {"#Moo", "Mood", Source::TagField, Field::Mood, true, false},
    {"#Sit", "Situation", Source::TagField, Field::Situation, true, false},
    {"#Tem", "Tempo", Source::TagField, Field::Tempo, false, false},
    {"#Pat", "Path", Source::Computed, kNoField, false, false},
    {"#Usr", "User text", Source::Computed, kNoField, false, false},
    {"#Cou", "Counter", Source::Computed, kNoField, false, false},
    {"#Les", "Length in seconds", Source::Computed, kNoField, false, false},
    {"#Nil", "Nothing", Source::None, kNoField, false, false},
    {"#Any", "Anything", Source::None, kNoField, false, false},
    {"#Oly", "Original lyricist", Source::TagField, Field::OriginalLyricist, true, false},
    {"#Pub", "Publisher", Source::TagField, Field::Publisher, true, false},
    {"#Cot", "Contact", Source::TagField, Field::Contact, true, false},
    {"#Isr", "ISRC", Source::TagField, Field::ISRC, true, false},
    {"#Lyr", "Lyrics", Source::TagField, Field::Lyrics, true, false},
    {"#Fur", "Audio file URL", Source::TagField, Field::AudioFileURL, true, false},
    {"#Sur", "Audio source URL", Source::TagField, Field::AudioSourceURL, true, false},
    {"#Aur", "Author URL", Source::TagField, Field::AuthorURL, true, false},
    {"#Enb", "Encoded by", Source::TagField, Field::EncodedBy, true, false},
    {"#Ens", "Encoding settings", Source::TagField, Field::EncodingSettings, true, false},
    {"#Ent", "Encoding time", Source::TagField, Field::EncodingTime, true, false},
    {"#Ofn", "Original filename", Source::TagField, Field::OriginalFilename, true, false},
    {"#Rsn", "Radio station name", Source::TagField, Field::RadioStationName, true, false},
    {"#Rso", "Radio station owner", Source::TagField, Field::RadioStationOwner, true, false},
    {"#Wri", "Writer", Source::TagField, Field::Writer, true, false},
};

const VariableInfo& info(TVN variable) {
    return kVariables[int(variable)];
}

QString folderOf(const QString& path) {
    return path.left(qMax(0, path.lastIndexOf('/')));
}

QString extensionWithDot(tags::TMP3& file) {
    const QString extension = file.Extension();
    return extension.isEmpty() ? QString() : QLatin1Char('.') + extension;
}

QString fileDateText(tags::TMP3& file) {
    const QDateTime date = file.DateTime();
    return QLocale().toString(date.isValid() ? date : QDateTime::currentDateTime(),
                              QLocale::ShortFormat);
}

QString minutesAndSeconds(int seconds) {
    return QStringLiteral("%1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QString variableCode(TVN variable) {
    return QString::fromLatin1(info(variable).code);
}

QString variableCaption(TVN variable) {
    return QString::fromLatin1(info(variable).caption);
}

std::optional<TVN> findVariable(QStringView text) {
    if (text.size() < kCodeLength || text[0] != QLatin1Char('#'))
        return std::nullopt;
    const QStringView code = text.left(kCodeLength);
    for (int i = 0; i < kVariableCount; ++i)
        if (code.compare(QLatin1String(kVariables[i].code), Qt::CaseInsensitive) == 0)
            return TVN(i);
    return std::nullopt;
}

std::optional<tags::Field> variableField(TVN variable) {
    const VariableInfo& row = info(variable);
    if (row.source == Source::TagField || variable == TVN::vTra)
        return row.field;
    return std::nullopt;
}

bool isAssignable(TVN variable) {
    return info(variable).assignable;
}

QString TVarScript::rawValue(TVN variable, tags::TMP3& file) const {
    const VariableInfo& row = info(variable);
    const bool fallback = VersionValues && row.versionChoice;
    switch (variable) {
    case TVN::vNam:
        return file.FileName();
    case TVN::vDir:
        return folderOf(file.FilePath());
    case TVN::vTra: {
        const QString track = fallback ? file.FallbackText(Field::Track) : file.get(Field::Track);
        return file.TrackText(track.toInt());
    }
    case TVN::vBps:
        return file.BitRateStr();
    case TVN::vLen:
        return minutesAndSeconds(file.stream().TimeLength);
    case TVN::vSiz:
        return QString::number((file.stream().Size + 1023) / 1024);
    case TVN::vFdt:
        return fileDateText(file);
    case TVN::vExt:
        return extensionWithDot(file);
    case TVN::vPat:
        return file.FilePath();
    case TVN::vUsr:
        return UserText;
    case TVN::vCou:
        return QString::number(Counter);
    case TVN::vLes:
        return QString::number(file.stream().TimeLength);
    default:
        break;
    }
    if (row.source != Source::TagField)
        return {};
    return fallback ? file.FallbackText(row.field) : file.get(row.field);
}

QString TVarScript::GetValue(TVN variable, tags::TMP3& file) const {
    const QString value = rawValue(variable, file).trimmed();
    if (value.isEmpty() && UnknownIfEmpty)
        return unknownValue(variable);
    return value;
}

void TVarScript::SetValue(QStringView code, const QString& text, tags::TMP3& file) const {
    const std::optional<TVN> variable = findVariable(code);
    if (!variable || !isAssignable(*variable))
        return;
    if (*variable == TVN::vTra) {
        // A text that is not a number leaves the track as it was.
        bool isNumber = false;
        const int track = text.trimmed().toInt(&isNumber);
        if (isNumber)
            file.setTrack(track);
        return;
    }
    file.set(info(*variable).field, text);
}

void TVarScript::SwapValues(QStringView codeA, QStringView codeB, tags::TMP3& file) const {
    const std::optional<TVN> a = findVariable(codeA);
    const std::optional<TVN> b = findVariable(codeB);
    if (!a || !b)
        return;
    const QString valueA = rawValue(*a, file).trimmed();
    const QString valueB = rawValue(*b, file).trimmed();
    SetValue(codeA, valueB, file);
    SetValue(codeB, valueA, file);
}

void walkTemplate(const QString& text, const std::function<void(TVN)>& variable,
                  const std::function<void(QChar)>& literal) {
    for (qsizetype i = 0; i < text.size();) {
        if (const std::optional<TVN> found = findVariable(QStringView(text).mid(i))) {
            variable(*found);
            i += kCodeLength;
        } else {
            literal(text[i++]);
        }
    }
}

void TVarScript::CopyValue(tags::TMP3& source, tags::TMP3& target, QStringView code) const {
    if (const std::optional<TVN> variable = findVariable(code))
        SetValue(code, rawValue(*variable, source), target);
}

void TVarScript::EnableVariables(bool flag, const QString& commaList) {
    if (flag)
        m_enabled.reset();
    else
        m_enabled.set();
    for (const QString& code : commaList.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (const std::optional<TVN> variable = findVariable(code.trimmed()))
            m_enabled.set(size_t(*variable), flag);
}

QList<TVN> TVarScript::ListEnabled() const {
    QList<TVN> enabled;
    for (int i = 0; i < kVariableCount; ++i)
        if (m_enabled.test(size_t(i)))
            enabled.append(TVN(i));
    return enabled;
}

QString TVarScript::EnabledCaptions() const {
    QStringList captions;
    for (TVN variable : ListEnabled())
        captions << variableCaption(variable);
    return captions.join(Separator);
}

QString TVarScript::EnabledCodes() const {
    QString codes;
    for (TVN variable : ListEnabled())
        codes += variableCode(variable);
    return codes;
}

std::optional<TVN> TVarScript::NextEnabled() {
    if (m_enabled.none())
        return std::nullopt;
    do
        m_cursor = (m_cursor + 1) % kVariableCount;
    while (!m_enabled.test(size_t(m_cursor)));
    return TVN(m_cursor);
}

QString TVarScript::RecordLine(tags::TMP3& file) const {
    // Built field by field, so a value that holds a code is never expanded again.
    QString line;
    for (TVN variable : ListEnabled())
        line += GetValue(variable, file) + Separator;
    if (CollapseSeparators && !Separator.isEmpty()) {
        const QString twice = Separator + Separator;
        for (qsizetype at = line.lastIndexOf(twice); at >= 0; at = line.lastIndexOf(twice, at))
            line.remove(at + Separator.size(), Separator.size());
    }
    // The whole trailing separator goes, not just its last character.
    if (line.endsWith(Separator))
        line.chop(Separator.size());
    return line;
}

QString TVarScript::ReplaceByCaptions(const QString& text) const {
    QString result;
    walkTemplate(
        text, [&](TVN v) { result += variableCaption(v); }, [&](QChar c) { result += c; });
    return result;
}

QString TVarScript::ReplaceByValues(const QString& text, tags::TMP3& file, bool* hadEmpty,
                                    const std::function<QString(const QString&)>& filter) const {
    QString result;
    bool empty = false;
    walkTemplate(
        text,
        [&](TVN v) {
            const QString value = GetValue(v, file);
            if (rawValue(v, file).trimmed().isEmpty())
                empty = true;
            result += filter ? filter(value) : value;
        },
        [&](QChar c) { result += c; });
    if (hadEmpty)
        *hadEmpty = empty;
    return result;
}

} // namespace operations
