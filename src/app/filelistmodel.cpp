#include "filelistmodel.h"

#include "operations/namebuilder.h"
#include "rowicons.h"
#include "tags/audiofile.h"

#include <algorithm>
#include <numeric>

namespace app {

TFileListModel::TFileListModel(QObject* parent) : QAbstractItemModel(parent) {}

TFileListModel::~TFileListModel() {
    for (const Row& row : m_rows)
        release(row.file);
}

// --- rows ---

void TFileListModel::adopt(const library::FileHandle& file) {
    file->doUpdateListItem = [this](tags::TMP3& changed) { refreshFile(changed); };
}

void TFileListModel::release(const library::FileHandle& file) {
    if (file)
        file->doUpdateListItem = nullptr;
}

void TFileListModel::appendFiles(const QList<library::FileHandle>& files) {
    if (files.isEmpty())
        return;
    removeInformationRow();
    const int first = int(m_rows.size());
    beginInsertRows({}, first, first + int(files.size()) - 1);
    m_rows.reserve(m_rows.size() + files.size());
    for (const library::FileHandle& file : files) {
        adopt(file);
        m_rowOf.insert(file.get(), int(m_rows.size()));
        m_rows.push_back({file, {}});
    }
    endInsertRows();
}

void TFileListModel::showInformation(const QString& text) {
    clear();
    beginInsertRows({}, 0, 0);
    m_rows.push_back({nullptr, text});
    endInsertRows();
}

bool TFileListModel::hasInformationRow() const {
    return !m_rows.empty() && !m_rows.front().file;
}

void TFileListModel::removeInformationRow() {
    if (!hasInformationRow())
        return;
    beginRemoveRows({}, 0, 0);
    m_rows.erase(m_rows.begin());
    endRemoveRows();
    rebuildIndex();
}

void TFileListModel::clear() {
    beginResetModel();
    for (const Row& row : m_rows)
        release(row.file);
    m_rows.clear();
    m_rowOf.clear();
    endResetModel();
}

void TFileListModel::removeRowList(QList<int> rows) {
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows) {
        if (row < 0 || row >= int(m_rows.size()))
            continue;
        beginRemoveRows({}, row, row);
        release(m_rows[row].file);
        m_rows.erase(m_rows.begin() + row);
        endRemoveRows();
    }
    rebuildIndex();
}

int TFileListModel::fileCount() const {
    return int(m_rows.size()) - (hasInformationRow() ? 1 : 0);
}

library::FileHandle TFileListModel::fileAt(int row) const {
    return row >= 0 && row < int(m_rows.size()) ? m_rows[row].file : nullptr;
}

int TFileListModel::rowOf(const tags::TMP3* file) const {
    return m_rowOf.value(file, -1);
}

QList<library::FileHandle> TFileListModel::files() const {
    QList<library::FileHandle> result;
    result.reserve(qsizetype(m_rows.size()));
    for (const Row& row : m_rows)
        if (row.file)
            result.append(row.file);
    return result;
}

bool TFileListModel::offerFreshObject(const library::FileHandle& fresh) {
    for (int row = 0; row < int(m_rows.size()); ++row) {
        library::FileHandle& current = m_rows[row].file;
        if (!current || current->FilePath() != fresh->FilePath())
            continue;
        if (current->IsSyn() || current->Changed())
            return false;
        release(current);
        m_rowOf.remove(current.get());
        current = fresh;
        adopt(current);
        m_rowOf.insert(current.get(), row);
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        return true;
    }
    return false;
}

void TFileListModel::refreshFile(const tags::TMP3& file) {
    const int row = rowOf(&file);
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void TFileListModel::refreshAll() {
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, columnCount() - 1));
}

void TFileListModel::rebuildIndex() {
    m_rowOf.clear();
    for (int row = 0; row < int(m_rows.size()); ++row)
        if (m_rows[row].file)
            m_rowOf.insert(m_rows[row].file.get(), row);
}

// --- view ---

void TFileListModel::setView(const RowView& view) {
    m_view = view;
    refreshAll();
}

void TFileListModel::setDisplayedVersion(int version) {
    m_displayedVersion = version;
    refreshAll();
}

// --- sorting ---

void TFileListModel::sortRows(int column, bool descending) {
    reorder([&](tags::TMP3& a, tags::TMP3& b) {
        const int result = compareByColumn(a, b, column, m_view);
        return descending ? result > 0 : result < 0;
    });
}

void TFileListModel::sortByPath() {
    reorder([](tags::TMP3& a, tags::TMP3& b) { return a.FilePath() < b.FilePath(); });
}

void TFileListModel::reorder(const std::function<bool(tags::TMP3&, tags::TMP3&)>& goesBefore) {
    if (hasInformationRow() || m_rows.size() < 2)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return goesBefore(*m_rows[a].file, *m_rows[b].file); });
    std::vector<int> newRowOf(order.size());
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    for (int position = 0; position < int(order.size()); ++position) {
        newRowOf[order[position]] = position;
        sorted.push_back(std::move(m_rows[order[position]]));
    }
    m_rows = std::move(sorted);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before)
        after.append(index(newRowOf[old.row()], old.column()));
    changePersistentIndexList(before, after);
    rebuildIndex();
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// --- QAbstractItemModel ---

QModelIndex TFileListModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || row >= int(m_rows.size()) || column < 0 ||
        column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex TFileListModel::parent(const QModelIndex&) const {
    return {};
}

int TFileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TFileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(fileColumns().size());
}

QVariant TFileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const Row& row = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        if (!row.file)
            return index.column() == 0 ? row.information : QString();
        return columnText(*row.file, index.column(), m_view);
    case Qt::EditRole:
        return row.file && index.column() == 0 ? columnText(*row.file, 0, m_view) : QVariant();
    case Qt::DecorationRole:
        if (index.column() != 0)
            return {};
        return rowIcon(rowIconIndex(row.file.get(), m_displayedVersion));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(fileColumns()[index.column()].alignment);
    case Qt::ToolTipRole:
        return row.file ? row.file->FilePath() : row.information;
    default:
        return {};
    }
}

QVariant TFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(fileColumns()[section].caption);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(fileColumns()[section].alignment);
    return {};
}

Qt::ItemFlags TFileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled;
    if (m_rows[index.row()].file) {
        flags |= Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
        if (index.column() == 0)
            flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool TFileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() != 0)
        return false;
    const library::FileHandle file = m_rows[index.row()].file;
    if (!file)
        return false;
    const QString name = operations::sanitizeFileName(value.toString());
    const QString oldName = file->FileName();
    if (!operations::isUsableFileName(name) || name == oldName)
        return false;
    emit aboutToRename(file);
    file->setFileName(name);
    file->setChanged(true);
    refreshFile(*file);
    return true;
}

} // namespace app
