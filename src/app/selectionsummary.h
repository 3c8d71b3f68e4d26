#pragma once

#include "filecolumns.h"
#include "library/cachesync.h"

#include <QVariant>

#include <array>
#include <functional>

namespace app {

/// The values the summary shows for several selected files at once.
enum class SummaryItem {
    Artist,
    Title,
    Album,
    Track,
    Year,
    Genre,
    Comment,
    TimeLength,
    Size,
    BitRate,
    VBR,
    SampleRate,
    StereoMode,
    FilePath
};
constexpr int kSummaryItemCount = int(SummaryItem::FilePath) + 1;

/// What several selected files have in common: a value all of them share, or the item's
/// "mixed" value (a language text such as "MultiTitles", or -2 for numbers).
struct SelectionSummary {
    std::array<QVariant, kSummaryItemCount> values;
    std::array<bool, kSummaryItemCount> mixed{};
    int files = 0;

    QVariant value(SummaryItem item) const { return values[size_t(item)]; }
    bool isMixed(SummaryItem item) const { return mixed[size_t(item)]; }
};

/// Looks a language text up by its key.
using TextLookup = std::function<QString(const QString& key)>;

/// Walks the files in order, field by field, and stops early once every item is mixed.
/// Never reads a file.
SelectionSummary summarise(const QList<library::FileHandle>& files, const RowView& view,
                           const TextLookup& text);

/// The item's caption and its value as the summary panel shows it.
QString summaryCaption(SummaryItem item);
QString summaryText(const SelectionSummary& summary, SummaryItem item);

} // namespace app
