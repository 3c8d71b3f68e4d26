#include "selectionsummary.h"

#include "tags/audiofile.h"

namespace app {

using tags::Field;

namespace {

struct SummaryRule {
    SummaryItem item;
    const char* caption;
    std::function<QVariant(tags::TMP3&, const RowView&)> value;
    const char* mixedKey; ///< language text for a mixed text item; nullptr for numbers
    QVariant mixedNumber;
};

QVariant shown(tags::TMP3& file, Field field, const RowView& view) {
    return view.commonMode ? file.FallbackText(field) : file.get(field);
}

const std::vector<SummaryRule>& rules() {
    static const std::vector<SummaryRule> table = {
        {SummaryItem::Artist,
         "Artist",
         [](tags::TMP3& f, const RowView& v) { return shown(f, Field::Artist, v); },
         "MultiArtists",
         {}},
        {SummaryItem::Title,
         "Title",
         [](tags::TMP3& f, const RowView& v) { return shown(f, Field::Title, v); },
         "MultiTitles",
         {}},
        {SummaryItem::Album,
         "Album",
         [](tags::TMP3& f, const RowView& v) { return shown(f, Field::Album, v); },
         "MultiAlbums",
         {}},
        {SummaryItem::Track, "Track",
         [](tags::TMP3& f, const RowView& v) {
             return v.commonMode ? f.FallbackText(Field::Track).toInt() : f.Track();
         },
         nullptr, 255},
        {SummaryItem::Year,
         "Year",
         [](tags::TMP3& f, const RowView& v) { return shown(f, Field::Year, v); },
         "MultiYears",
         {}},
        {SummaryItem::Genre,
         "Genre",
         [](tags::TMP3& f, const RowView& v) { return shown(f, Field::GenreStr, v); },
         "MultiGenres",
         {}},
        {SummaryItem::Comment,
         "Comment",
         [](tags::TMP3& f, const RowView& v) { return shown(f, Field::Comment, v); },
         "MultiComments",
         {}},
        {SummaryItem::TimeLength, "Length",
         [](tags::TMP3& f, const RowView&) { return f.stream().TimeLength; }, nullptr, -2},
        {SummaryItem::Size, "Size", [](tags::TMP3& f, const RowView&) { return f.stream().Size; },
         nullptr, -2},
        {SummaryItem::BitRate, "Bitrate",
         [](tags::TMP3& f, const RowView&) { return f.BitRateStr(); }, nullptr, -2},
        {SummaryItem::VBR, "VBR", [](tags::TMP3& f, const RowView&) { return f.stream().VBR; },
         nullptr, false},
        {SummaryItem::SampleRate, "Sample rate",
         [](tags::TMP3& f, const RowView&) { return f.stream().SampleRate; }, nullptr, -2},
        {SummaryItem::StereoMode, "Mode",
         [](tags::TMP3& f, const RowView&) { return f.StereoModeStr(); }, nullptr, 255},
        {SummaryItem::FilePath,
         "File",
         [](tags::TMP3& f, const RowView&) { return f.FilePath(); },
         "MultiFiles",
         {}},
    };
    return table;
}

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

SelectionSummary summarise(const QList<library::FileHandle>& files, const RowView& view,
                           const TextLookup& text) {
    SelectionSummary summary;
    int mixedCount = 0;
    for (const library::FileHandle& file : files) {
        if (!file)
            continue;
        NoReadScope noRead(*file);
        const bool first = summary.files++ == 0;
        for (const SummaryRule& rule : rules()) {
            const size_t at = size_t(rule.item);
            if (summary.mixed[at])
                continue;
            const QVariant value = rule.value(*file, view);
            if (first) {
                summary.values[at] = value;
            } else if (value != summary.values[at]) {
                summary.values[at] =
                    rule.mixedKey ? QVariant(text(QLatin1String(rule.mixedKey))) : rule.mixedNumber;
                summary.mixed[at] = true;
                ++mixedCount;
            }
        }
        if (mixedCount == kSummaryItemCount)
            break;
    }
    return summary;
}

QString summaryCaption(SummaryItem item) {
    return QString::fromLatin1(rules()[size_t(item)].caption);
}

QString summaryText(const SelectionSummary& summary, SummaryItem item) {
    const QVariant value = summary.value(item);
    const bool mixed = summary.isMixed(item);
    switch (item) {
    case SummaryItem::Track:
        return mixed || value.toInt() <= 0 ? QString() : QString::number(value.toInt());
    case SummaryItem::TimeLength: {
        const int seconds = value.toInt();
        return mixed ? QString() : twoDigits(seconds / 60) + ':' + twoDigits(seconds % 60);
    }
    case SummaryItem::Size:
        return mixed ? QString() : QStringLiteral("%1 KB").arg((value.toLongLong() + 1023) / 1024);
    case SummaryItem::BitRate:
    case SummaryItem::StereoMode:
        return mixed ? QString() : value.toString();
    case SummaryItem::VBR:
        return !mixed && value.toBool() ? QStringLiteral("VBR") : QString();
    case SummaryItem::SampleRate:
        return mixed ? QString() : QStringLiteral("%1 Hz").arg(value.toInt());
    default:
        return value.toString();
    }
}

} // namespace app
