#include "filecolumns.h"

#include "tags/audiofile.h"

#include <QLocale>

namespace app {

using tags::Field;

namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr int kDefaultWidth = 80;

constexpr FileColumn kColumns[] = {
    {"Filename", ColumnKind::FileName, Field::Title, 200, kLeft},
    {"Directory", ColumnKind::Directory, Field::Title, 85, kLeft},
    {"Artist", ColumnKind::Field, Field::Artist, 100, kLeft},
    {"Title", ColumnKind::Field, Field::Title, 150, kLeft},
    {"Album", ColumnKind::Field, Field::Album, 150, kLeft},
    {"Track", ColumnKind::Track, Field::Track, 40, kCentre},
    {"Genre", ColumnKind::Field, Field::GenreStr, 75, kLeft},
    {"Comment", ColumnKind::Field, Field::Comment, 100, kLeft},
    {"BitRate", ColumnKind::BitRate, Field::Title, kDefaultWidth, kCentre},
    {"Year", ColumnKind::Field, Field::Year, kDefaultWidth, kLeft},
    {"Length", ColumnKind::Length, Field::Title, kDefaultWidth, kLeft},
    {"Size", ColumnKind::Size, Field::Title, kDefaultWidth, kRight},
    {"DateTime", ColumnKind::DateTime, Field::Title, 130, kLeft},
    {"Language", ColumnKind::Field, Field::Language, kDefaultWidth, kLeft},
    {"BPM", ColumnKind::Field, Field::BPM, kDefaultWidth, kLeft},
    {"Extension", ColumnKind::Extension, Field::Title, kDefaultWidth, kLeft},
    {"Composer", ColumnKind::Field, Field::Composer, 0, kLeft},
    {"Conductor", ColumnKind::Field, Field::Conductor, 0, kLeft},
    {"Subtitle", ColumnKind::Field, Field::SubTitle, 0, kLeft},
    {"Content", ColumnKind::Field, Field::Content, 0, kLeft},
    {"Remixed", ColumnKind::Field, Field::RemixedBy, 0, kLeft},
    {"Band", ColumnKind::Field, Field::Band, 0, kLeft},
    {"Original Performer", ColumnKind::Field, Field::OriginalArtist, 0, kLeft},
    {"Original Album", ColumnKind::Field, Field::OriginalAlbum, 0, kLeft},
    {"Key", ColumnKind::Field, Field::InitialKey, 0, kLeft},
    {"Set", ColumnKind::Field, Field::PartOfSet, 0, kLeft},
    {"Delay", ColumnKind::Field, Field::PlaylistDelay, 0, kLeft},
    {"Date", ColumnKind::Field, Field::OriginalYear, 0, kLeft},
    {"Copyright", ColumnKind::Field, Field::Copyright, 0, kLeft},
    {"URL", ColumnKind::Field, Field::Contact, 0, kLeft},
    {"Sample Rate", ColumnKind::SampleRate, Field::Title, kDefaultWidth, kLeft},
};

/// The main fields follow the tag mode; every other field reads the same in both modes.
bool followsTagMode(Field field) {
    switch (field) {
    case Field::Artist:
    case Field::Title:
    case Field::Album:
    case Field::GenreStr:
    case Field::Comment:
    case Field::Year:
        return true;
    default:
        return false;
    }
}

QString fieldText(tags::TMP3& file, Field field, const RowView& view) {
    return view.commonMode && followsTagMode(field) ? file.FallbackText(field) : file.get(field);
}

int trackOf(tags::TMP3& file, const RowView& view) {
    return view.commonMode ? file.FallbackText(Field::Track).toInt() : file.Track();
}

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString lengthText(int seconds) {
    return twoDigits(seconds / 60) + QLatin1Char(':') + twoDigits(seconds % 60);
}

template <typename T> int threeWay(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

std::span<const FileColumn> fileColumns() {
    return kColumns;
}

QString columnText(tags::TMP3& file, int column, const RowView& view) {
    if (column < 0 || column >= int(std::size(kColumns)))
        return {};
    NoReadScope noRead(file);
    const FileColumn& c = kColumns[column];
    switch (c.kind) {
    case ColumnKind::FileName:
        return file.FileName();
    case ColumnKind::Directory:
        return file.FolderName();
    case ColumnKind::Field:
        return fieldText(file, c.field, view);
    case ColumnKind::Track: {
        const int track = trackOf(file, view);
        if (track <= 0)
            return {};
        return view.leadingZero ? twoDigits(track) : QString::number(track);
    }
    case ColumnKind::BitRate:
        return file.BitRateStr();
    case ColumnKind::Length:
        return lengthText(file.stream().TimeLength);
    case ColumnKind::Size:
        return QString::number((file.stream().Size + 1023) / 1024);
    case ColumnKind::DateTime: {
        const QDateTime date = file.DateTime();
        return date.isValid() ? QLocale().toString(date.toLocalTime(), QLocale::ShortFormat)
                              : QString();
    }
    case ColumnKind::Extension:
        return file.Extension().toUpper();
    case ColumnKind::SampleRate:
        return QString::number(file.stream().SampleRate);
    }
    return {};
}

int compareByColumn(tags::TMP3& a, tags::TMP3& b, int column, const RowView& view) {
    if (column < 0 || column >= int(std::size(kColumns)))
        return 0;
    NoReadScope noReadA(a);
    NoReadScope noReadB(b);
    switch (kColumns[column].kind) {
    case ColumnKind::Track:
        return threeWay(trackOf(a, view), trackOf(b, view));
    case ColumnKind::BitRate:
        return threeWay(a.stream().BitRate, b.stream().BitRate);
    case ColumnKind::Length:
        return threeWay(a.stream().TimeLength, b.stream().TimeLength);
    case ColumnKind::Size:
        return threeWay(a.stream().Size, b.stream().Size);
    case ColumnKind::DateTime:
        return threeWay(a.DateTime(), b.DateTime());
    case ColumnKind::SampleRate:
        return threeWay(a.stream().SampleRate, b.stream().SampleRate);
    default:
        return columnText(a, column, view)
            .compare(columnText(b, column, view), Qt::CaseInsensitive);
    }
}

int rowIconIndex(tags::TMP3* file, int displayedVersion) {
    if (!file)
        return kInfoRowIcon;
    NoReadScope noRead(*file);
    int icon = 14;
    if (file->WMA())
        icon = 0;
    else if (file->OGG())
        icon = 2;
    else if (file->WAV())
        return 10; // WAV files carry no tag Varlo writes, so no changed mark either
    else {
        const bool v1 = file->Ver1();
        const bool v2 = file->Ver2();
        switch (displayedVersion) {
        case 1:
            icon = v1 ? 4 : 14;
            break;
        case 2:
            icon = v2 ? 6 : 14;
            break;
        case 3:
            icon = v1 && v2 ? 8 : (v2 ? 6 : (v1 ? 4 : 14));
            break;
        default:
            break;
        }
    }
    return file->Changed() ? icon + 1 : icon;
}

NoReadScope::NoReadScope(tags::TMP3& file) : m_file(file), m_previous(file.ShouldSyn()) {
    file.setShouldSyn(false);
}

NoReadScope::~NoReadScope() {
    m_file.setShouldSyn(m_previous);
}

} // namespace app
