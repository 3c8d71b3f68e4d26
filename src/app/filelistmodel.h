#pragma once

#include "filecolumns.h"
#include "library/cachesync.h"

#include <QAbstractItemModel>
#include <QHash>

#include <functional>

#include <vector>

namespace app {

/// The rows of a file list. Each row owns its audio object (or is an information row
/// without one, such as "No files found"); clearing the list or removing a row frees the
/// object unless something else (an undo entry, a running save) still holds it.
///
/// Drawing and sorting never read files: a row listed from the tag cache shows its cached
/// values until its object has been read.
class TFileListModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit TFileListModel(QObject* parent = nullptr);
    ~TFileListModel() override;

    // --- rows ---
    /// Appends files at the end; the first one removes an information row at the top.
    void appendFiles(const QList<library::FileHandle>& files);
    /// Replaces every row with one information row showing `text`.
    void showInformation(const QString& text);
    bool hasInformationRow() const;
    /// Removes an information row at the top, if any.
    void removeInformationRow();
    void clear();
    /// Removes the given rows (any order).
    void removeRowList(QList<int> rows);

    int fileCount() const;
    library::FileHandle fileAt(int row) const;
    /// The row showing this object; -1 when none.
    int rowOf(const tags::TMP3* file) const;
    QList<library::FileHandle> files() const;
    /// Replaces a row's object with one read afresh (the cache synchroniser's result) when
    /// the row still shows the same file, has not been read yet and has no changes.
    bool offerFreshObject(const library::FileHandle& fresh);
    /// Redraws the row of this object.
    void refreshFile(const tags::TMP3& file);
    void refreshAll();

    // --- view ---
    const RowView& view() const { return m_view; }
    void setView(const RowView& view);
    /// The tag version the icons show: 1, 2 or 3 (mixed).
    void setDisplayedVersion(int version);
    int displayedVersion() const { return m_displayedVersion; }

    // --- sorting ---
    /// Sorts by a column, stably: equal rows keep their order.
    void sortRows(int column, bool descending);
    /// Puts the rows in path order, as the tag cache lists them.
    void sortByPath();

    // --- QAbstractItemModel ---
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    /// A row's file name is about to take an edited name (the rename itself happens at
    /// save): the last moment to keep an undo snapshot.
    void aboutToRename(const library::FileHandle& file);

private:
    struct Row {
        library::FileHandle file;
        QString information;
    };

    /// Stable reorder of the rows; `goesBefore` tells whether one file goes before another.
    void reorder(const std::function<bool(tags::TMP3&, tags::TMP3&)>& goesBefore);
    void adopt(const library::FileHandle& file);
    void release(const library::FileHandle& file);
    void rebuildIndex();

    std::vector<Row> m_rows;
    QHash<const tags::TMP3*, int> m_rowOf;
    RowView m_view;
    int m_displayedVersion = 3;
};

} // namespace app
