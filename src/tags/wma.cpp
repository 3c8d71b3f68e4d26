#include "wma.h"

#include "asf.h"
#include "fileio.h"
#include "readonlyfile.h"

#include <QFile>
#include <QFileInfo>

#include <climits>

namespace tags {

namespace {

using asf::ValueType;

/// One attribute slot: its attribute, the type a new attribute gets, the identifier the
/// editors use, and the property name it is offered under (if any). Byte-array slots
/// (pictures, cues) are shown empty and never written.
struct SlotInfo {
    int index;
    const char* attribute;
    ValueType type;
    const char* identifier;
    bool readOnly;
    const char* property;
};

constexpr ValueType S = ValueType::Unicode;
constexpr ValueType B = ValueType::Bytes;

// clang-format off
constexpr SlotInfo kSlots[TWMA::kSlotCount] = {
    {0, "", S, "", true, nullptr},
    {1, "Bitrate", ValueType::DWord, "g_wszWMBitrate", true, nullptr},
    {2, "Duration", ValueType::QWord, "g_wszWMDuration", true, nullptr},
    {3, "FileSize", ValueType::QWord, "g_wszWMFileSize", true, nullptr},
    {4, "IsVBR", ValueType::Bool, "g_wszWMIsVBR", true, nullptr},
    {5, "Title", S, "g_wszWMTitle", false, "Title"},
    {6, "WM/AlbumArtist", S, "g_wszWMAlbumArtist", false, "Artist"},
    {7, "WM/AlbumTitle", S, "g_wszWMAlbumTitle", false, "Album"},
    {8, "WM/Year", S, "g_wszWMYear", false, "Year"},
    {9, "WM/GenreID", S, "g_wszWMGenreID", false, nullptr},
    {10, "WM/TrackNumber", S, "g_wszWMTrackNumber", false, nullptr},
    {11, "Description", S, "g_wszWMDescription", false, "Comment"},
    {12, "WM/Language", S, "g_wszWMLanguage", false, "Language"},
    {13, "WM/BeatsPerMinute", S, "g_wszWMBeatsPerMinute", false, "BeatsPerMinute"},
    {14, "WM/Composer", S, "g_wszWMComposer", false, "Composer"},
    {15, "WM/Publisher", S, "g_wszWMPublisher", false, "Publisher"},
    {16, "WM/Genre", S, "g_wszWMGenre", false, "Genre"},
    {17, "Author", S, "g_wszWMAuthor", false, "Author"},
    {18, "WM/Picture", B, "g_wszWMPicture", false, nullptr},
    {19, "Copyright", S, "g_wszWMCopyright", false, "Copyright"},
    {20, "CopyrightURL", S, "g_wszWMCopyrightURL", false, "CopyrightURL"},
    {21, "WM/AudioFileURL", S, "g_wszWMAudioFileURL", false, "AudioFileURL"},
    {22, "WM/AudioSourceURL", S, "g_wszWMAudioSourceURL", false, "AudioSourceURL"},
    {23, "WM/AuthorURL", S, "g_wszWMAuthorURL", false, "AuthorURL"},
    {24, "WM/Conductor", S, "g_wszWMConductor", false, "Conductor"},
    {25, "WM/ContentGroupDescription", S, "g_wszWMContentGroupDescription", false, "ContentGroupDescription"},
    {26, "WM/EncodedBy", S, "g_wszWMEncodedBy", false, "EncodedBy"},
    {27, "WM/EncodingSettings", S, "g_wszWMEncodingSettings", false, "EncodingSettings"},
    {28, "WM/EncodingTime", ValueType::QWord, "g_wszWMEncodingTime", false, "EncodingTime"},
    {29, "WM/InitialKey", S, "g_wszWMInitialKey", false, "InitialKey"},
    {30, "WM/ISRC", S, "g_wszWMISRC", false, "ISRC"},
    {31, "WM/Lyrics", S, "g_wszWMLyrics", false, "Lyrics"},
    {32, "WM/ModifiedBy", S, "g_wszWMModifiedBy", false, "ModifiedBy"},
    {33, "WM/Mood", S, "g_wszWMMood", false, "Mood"},
    {34, "WM/OriginalAlbumTitle", S, "g_wszWMOriginalAlbumTitle", false, "OriginalAlbumTitle"},
    {35, "WM/OriginalArtist", S, "g_wszWMOriginalArtist", false, "OriginalArtist"},
    {36, "WM/OriginalFilename", S, "g_wszWMOriginalFilename", false, "OriginalFilename"},
    {37, "WM/OriginalLyricist", S, "g_wszWMOriginalLyricist", false, "OriginalLyricist"},
    {38, "WM/OriginalReleaseYear", S, "g_wszWMOriginalReleaseYear", false, "OriginalReleaseYear"},
    {39, "WM/PartOfSet", S, "g_wszWMPartOfSet", false, "PartOfSet"},
    {40, "WM/PlaylistDelay", S, "g_wszWMPLaylistDelay", false, "PlaylistDelay"},
    {41, "WM/RadioStationName", S, "g_wszWMRadioStationName", false, "RadioStationName"},
    {42, "WM/RadioStationOwner", S, "g_wszWMRadioStationOwner", false, "RadioStationOwner"},
    {43, "WM/SubTitle", S, "g_wszWMSubTitle", false, "SubTitle"},
    {44, "WM/Writer", S, "g_wszWMWriter", false, "Writer"},
    {45, "PCDJ FX Cue 0", B, "g_wsz_WMPCDJFxCue0", false, nullptr},
    {46, "PCDJ FX Cue 1", B, "g_wsz_WMPCDJFxCue1", false, nullptr},
    {47, "PCDJ FX Cue 2", B, "g_wsz_WMPCDJFxCue2", false, nullptr},
    {48, "PCDJ FX Cue 3", B, "g_wsz_WMPCDJFxCue3", false, nullptr},
    {49, "PCDJ FX Cue 4", B, "g_wsz_WMPCDJFxCue4", false, nullptr},
    {50, "PCDJ FX Cue 5", B, "g_wsz_WMPCDJFxCue5", false, nullptr},
    {51, "PCDJ FX Cue 6", B, "g_wsz_WMPCDJFxCue6", false, nullptr},
    {52, "PCDJ FX Cue 7", B, "g_wsz_WMPCDJFxCue7", false, nullptr},
    {53, "PCDJ FX Cue 8", B, "g_wsz_WMPCDJFxCue8", false, nullptr},
    {54, "PCDJ FX Cue 9", B, "g_wsz_WMPCDJFxCue9", false, nullptr},
    {55, "PCDJ FX Cue 10", B, "g_wsz_WMPCDJFxCue10", false, nullptr},
    {56, "PCDJ FX Cue 11", B, "g_wsz_WMPCDJFxCue11", false, nullptr},
    {57, "PCDJ FX Cue 12", B, "g_wsz_WMPCDJFxCue12", false, nullptr},
    {58, "PCDJ FX Cue 13", B, "g_wsz_WMPCDJFxCue13", false, nullptr},
    {59, "PCDJ FX Cue 14", B, "g_wsz_WMPCDJFxCue14", false, nullptr},
    {60, "PCDJ FX Cue 15", B, "g_wsz_WMPCDJFxCue15", false, nullptr},
    {61, "PCDJ FX Cue 16", B, "g_wsz_WMPCDJFxCue16", false, nullptr},
    {62, "PCDJ FX Cue 17", B, "g_wsz_WMPCDJFxCue17", false, nullptr},
    {63, "PCDJ FX Cue 18", B, "g_wsz_WMPCDJFxCue18", false, nullptr},
    {64, "PCDJ FX Cue 19", B, "g_wsz_WMPCDJFxCue19", false, nullptr},
    {65, "PCDJ FX Cue 20", B, "g_wsz_WMPCDJFxCue20", false, nullptr},
    {66, "PCDJ FX Cue 21", B, "g_wsz_WMPCDJFxCue21", false, nullptr},
    {67, "PCDJ FX Cue 22", B, "g_wsz_WMPCDJFxCue22", false, nullptr},
    {68, "PCDJ FX Cue 23", B, "g_wsz_WMPCDJFxCue23", false, nullptr},
    {69, "PCDJ FX Cue 24", B, "g_wsz_WMPCDJFxCue24", false, nullptr},
    {70, "PCDJ FX Cue 25", B, "g_wsz_WMPCDJFxCue25", false, nullptr},
    {71, "PCDJ GAIN", ValueType::DWord, "g_wszWMPCDJGain", false, nullptr},
    {72, "PCDJ RATING", ValueType::DWord, "g_wszWMPCDJRating", false, nullptr},
    {73, "PCDJ CD CODE", ValueType::DWord, "g_wszWMPCDJCdCode", false, nullptr},
};
// clang-format on

constexpr bool slotsInOrder() {
    for (int i = 0; i < TWMA::kSlotCount; ++i)
        if (kSlots[i].index != i)
            return false;
    return true;
}
static_assert(slotsInOrder(), "the slot table is indexed by position");

enum Slot { kBitrate = 1, kDuration, kFileSize, kIsVbr, kGenreId = 9, kTrack = 10, kGenre = 16 };
enum PcdjSlot { kPcdjGain = 71, kPcdjRating, kPcdjCdCode };

constexpr qint64 kMaxHeaderSize = 256 * 1024 * 1024; // far above any real tag, pictures included
constexpr quint64 kHundredNanosecondsPerMillisecond = 10'000;
constexpr quint64 kHundredNanosecondsPerSecond = 10'000'000;

bool isWritable(int index) {
    return !kSlots[index].readOnly && kSlots[index].type != ValueType::Bytes;
}

QString cutAtNul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

/// "WM/GenreID" holding a genre name rather than a number.
bool isGenreName(const QString& text) {
    bool number = false;
    text.toInt(&number);
    return !text.isEmpty() && !number;
}

Status readError(const QString& path, const Status& why) {
    return Status::error(why.code(),
                         QStringLiteral("Cannot read \"%1\": %2").arg(path, why.message()));
}

/// Reads and parses the header object of the file at `path`.
Status loadHeader(const QString& path, asf::Header& header, qint64& fileSize) {
    ReadOnlyFile file(path);
    if (!file.openForReading() && !QFileInfo::exists(path))
        return Status::error(ErrorCode::NotFound,
                             QStringLiteral("File not found: \"%1\"").arg(path));
    if (!file.isOpen())
        return Status::error(
            ErrorCode::OpenFailed,
            QStringLiteral("Cannot open \"%1\": %2").arg(path, file.errorString()));
    fileSize = file.size();
    const std::optional<quint64> size = asf::headerObjectSize(readAt(file, 0, 30));
    if (!size)
        return Status::error(ErrorCode::InvalidData,
                             QStringLiteral("Not a WMA file: \"%1\"").arg(path));
    if (*size > quint64(qMin(fileSize, kMaxHeaderSize)))
        return Status::error(ErrorCode::InvalidData,
                             QStringLiteral("Cannot read \"%1\": the ASF header claims %2 bytes, "
                                            "more than the file holds")
                                 .arg(path)
                                 .arg(*size));
    const QByteArray bytes = readAt(file, 0, qint64(*size));
    if (bytes.size() != qint64(*size))
        return Status::error(
            ErrorCode::ReadFailed,
            QStringLiteral("Cannot read \"%1\": %2").arg(path, file.errorString()));
    const Status parsed = header.parse(bytes);
    return parsed ? parsed : readError(path, parsed);
}

} // namespace

Status TWMA::ReadWmaFile(const QString& path) {
    asf::Header header;
    qint64 fileSize = 0;
    if (Status status = loadHeader(path, header, fileSize); !status)
        return status;
    assignFrom(header, fileSize);
    return Status::success();
}

Status TWMA::WriteWmaFile(const QString& path) {
    asf::Header header;
    qint64 fileSize = 0;
    if (Status status = loadHeader(path, header, fileSize); !status)
        return status;
    if (!applyTo(header))
        return Status::error(ErrorCode::Unsupported,
                             QStringLiteral("Cannot write \"%1\": the ASF header has no room for "
                                            "more attributes")
                                 .arg(path));
    if (!header.isModified())
        return Status::success();
    return replaceRange(path, 0, header.size(), header.serialise(fileSize));
}

void TWMA::assignFrom(const asf::Header& header, qint64 fileSize) {
    const asf::StreamProperties& stream = header.properties();
    TWMA fresh;
    fresh.m_channels = stream.channels;
    fresh.m_sampleRate = int(qMin<quint32>(stream.sampleRate, INT_MAX));
    const quint64 bitrate =
        stream.averageBytesPerSecond ? 8ull * stream.averageBytesPerSecond : stream.maxBitrate;
    const quint64 preroll = stream.preroll < stream.playDuration / kHundredNanosecondsPerMillisecond
                                ? stream.preroll * kHundredNanosecondsPerMillisecond
                                : stream.playDuration;
    fresh.m_slots[kBitrate] = QString::number(bitrate);
    fresh.m_slots[kDuration] = QString::number(stream.playDuration - preroll);
    fresh.m_slots[kFileSize] = QString::number(fileSize);
    for (int i = kIsVbr; i < kSlotCount; ++i)
        if (const asf::Attribute* record = header.find(QLatin1String(kSlots[i].attribute)))
            fresh.m_slots[i] = record->text();
    *this = fresh;
}

bool TWMA::applyTo(asf::Header& header) const {
    for (int i = kFirstTagSlot; i < kSlotCount; ++i) {
        if (!isWritable(i))
            continue;
        const QString name = QLatin1String(kSlots[i].attribute);
        const asf::Attribute* record = header.find(name);
        if ((record ? record->text() : QString()) == m_slots[i])
            continue;
        if (!header.setText(name, m_slots[i], kSlots[i].type))
            return false;
    }
    return true;
}

int TWMA::propertySlot(const QString& name) {
    for (const SlotInfo& info : kSlots)
        if (info.property && name == QLatin1String(info.property))
            return info.index;
    return -1;
}

QString TWMA::property(const QString& name) const {
    const int index = propertySlot(name);
    if (index < 0)
        return {};
    const QString text = cutAtNul(m_slots[index]);
    // A genre name stored in "WM/GenreID" stands for the genre when "WM/Genre" is blank.
    const QString genreId = m_slots[kGenreId].trimmed();
    if (index == kGenre && text.trimmed().isEmpty() && isGenreName(genreId))
        return cutAtNul(genreId);
    return text;
}

void TWMA::setProperty(const QString& name, const QString& value) {
    setSlot(propertySlot(name), value);
}

bool TWMA::hasProperty(const QString& name) {
    return propertySlot(name) >= 0;
}

QString TWMA::slot(int index) const {
    return index >= 0 && index < kSlotCount ? m_slots[index] : QString();
}

void TWMA::setSlot(int index, const QString& text) {
    if (index >= 0 && index < kSlotCount && isWritable(index))
        m_slots[index] = text;
}

QString TWMA::attributeName(int index) {
    return index >= 0 && index < kSlotCount ? QString::fromLatin1(kSlots[index].attribute)
                                            : QString();
}

QString TWMA::GetByIdentifier(const QString& identifier) const {
    for (const SlotInfo& info : kSlots)
        if (info.index > 0 && identifier == QLatin1String(info.identifier))
            return m_slots[info.index];
    return {};
}

void TWMA::SetByIdentifier(const QString& identifier, const QString& text) {
    for (const SlotInfo& info : kSlots)
        if (info.index > 0 && identifier == QLatin1String(info.identifier))
            setSlot(info.index, text);
}

void TWMA::Clear() {
    for (int i = kFirstTagSlot; i < kSlotCount; ++i)
        m_slots[i].clear();
}

bool TWMA::IsEmpty() const {
    for (int i = kFirstTagSlot; i < kSlotCount; ++i)
        if (!cutAtNul(m_slots[i]).trimmed().isEmpty())
            return false;
    return true;
}

int TWMA::Track() const {
    const QString text = m_slots[kTrack].trimmed();
    qsizetype digits = 0;
    while (digits < text.size() && text.at(digits).isDigit() && text.at(digits) < QChar(0x80))
        ++digits;
    return text.left(digits).toInt(); // 0 for no digits or too many
}

void TWMA::setTrack(int track) {
    m_slots[kTrack] = track > 0 ? QString::number(track) : QString();
}

int TWMA::GenreId() const {
    bool number = false;
    const int id = m_slots[kGenreId].trimmed().toInt(&number);
    return number && id >= 0 && id <= 255 ? id : 255;
}

void TWMA::setGenreId(int id) {
    m_slots[kGenreId] = id >= 0 && id < 255 ? QString::number(id) : QString();
}

quint32 TWMA::PCDJGain() const {
    return quint32(slotNumber(kPcdjGain));
}

void TWMA::setPCDJGain(quint32 value) {
    m_slots[kPcdjGain] = QString::number(value);
}

quint32 TWMA::PCDJRating() const {
    return quint32(slotNumber(kPcdjRating));
}

void TWMA::setPCDJRating(quint32 value) {
    m_slots[kPcdjRating] = QString::number(value);
}

quint32 TWMA::PCDJCdCode() const {
    return quint32(slotNumber(kPcdjCdCode));
}

void TWMA::setPCDJCdCode(quint32 value) {
    m_slots[kPcdjCdCode] = QString::number(value);
}

int TWMA::BitRate() const {
    return int(qMin<quint64>(slotNumber(kBitrate) / 1000, INT_MAX));
}

qint64 TWMA::Duration() const {
    return qint64(slotNumber(kDuration) / kHundredNanosecondsPerSecond);
}

QString TWMA::ChannelMode() const {
    switch (m_channels) {
    case 1:
        return QStringLiteral("Mono");
    case 2:
        return QStringLiteral("Stereo");
    default:
        return QStringLiteral("Unknown");
    }
}

qint64 TWMA::FileSize() const {
    return qint64(qMin<quint64>(slotNumber(kFileSize), LLONG_MAX));
}

bool TWMA::isVbr() const {
    return slotNumber(kIsVbr) != 0;
}

quint64 TWMA::slotNumber(int index) const {
    return m_slots[index].trimmed().toULongLong(); // 0 when not a number
}

} // namespace tags
