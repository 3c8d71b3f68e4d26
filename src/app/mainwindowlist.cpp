// The file lists' behaviour: selection and its summary, sorting, tag modes and status panels.
#include "commandset.h"
#include "commandwidgets.h"
#include "filelistmodel.h"
#include "mainwindow.h"
#include "tags/audiofile.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QTreeView>

namespace app {

QList<library::FileHandle> TFormMain::selectedFiles() const {
    QTreeView& view = currentListView();
    QModelIndexList rows = view.selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QList<library::FileHandle> files;
    files.reserve(rows.size());
    for (const QModelIndex& row : rows)
        if (library::FileHandle file = currentFiles().fileAt(row.row()))
            files.append(file);
    return files;
}

void TFormMain::onSelectionChanged() {
    m_selectionTimer.stop();
    const QList<library::FileHandle> files = selectedFiles();
    if (m_commands && files.size() == 1) {
        numberByTrackButton(files.first());
        m_commands->renameBar()->showName(files.first()->FileName());
    } else if (m_commands) {
        m_commands->renameBar()->clearName();
    }
    if (files.size() > 1)
        m_selectionTimer.start(); // several rows: summarised once the selection settles
    else
        showSummary();
    updateCounts();
    m_enablingTimer.start();
}

/// While the sticky track button is down, each file selected on its own gets the next number.
void TFormMain::numberByTrackButton(const library::FileHandle& file) {
    TTrackButton& button = *m_commands->trackButton();
    if (!button.isChecked())
        return;
    const int track = button.takeNextTrack();
    operations::runPerFile(m_undo, QStringLiteral("TrackNumMode"), {file}, [track](tags::TMP3& f) {
        f.setTrack(track);
        return tags::Status::success();
    });
}

void TFormMain::showSummary() {
    m_summary = summarise(selectedFiles(), m_folderFiles->view(),
                          [this](const QString& key) { return text(key); });
    for (int item = 0; item < kSummaryItemCount; ++item)
        m_summaryValues[item]->setText(
            m_summary.files == 0 ? QString() : summaryText(m_summary, SummaryItem(item)));
}

void TFormMain::updateCounts() {
    const int selected = int(currentListView().selectionModel()->selectedRows().size());
    m_countsPanel->setText(QStringLiteral("%1 : %2")
                               .arg(selected, 4, 10, QLatin1Char('0'))
                               .arg(currentFiles().fileCount(), 4, 10, QLatin1Char('0')));
}

void TFormMain::showStatus(const QString& status) {
    m_statusPanel->setText(QLatin1Char(' ') + status);
    updateCounts();
}

// --- view ---

void TFormMain::setCommonMode(bool common) {
    if (common == m_commonMode)
        return;
    m_commonMode = common;
    if (common) {
        m_versionBeforeCommon = m_displayedVersion;
        m_displayedVersion = 3;
    } else {
        m_displayedVersion = m_versionBeforeCommon;
    }
    applyViewToRows();
}

void TFormMain::setDisplayedVersion(int version) {
    version = qBound(1, version, 3);
    if (version == m_displayedVersion)
        return;
    m_displayedVersion = version;
    if (!m_commonMode)
        m_versionBeforeCommon = version;
    applyViewToRows();
}

/// Every row takes the new tag mode: its object's options and its texts and icon.
void TFormMain::applyViewToRows() {
    const tags::TagOptions options = currentTagOptions();
    const RowView view{m_commonMode, m_settings.leadingZero()};
    for (TFileListModel* model : {m_folderFiles, m_searchFiles}) {
        for (const library::FileHandle& file : model->files())
            file->setOptions(options);
        model->setDisplayedVersion(m_displayedVersion);
        model->setView(view);
    }
    if (currentListView().selectionModel())
        showSummary();
}

// --- sorting ---

void TFormMain::sortByColumnClick(int column) {
    if (column == m_sortColumn)
        m_sortDescending = !m_sortDescending;
    else
        m_sortColumn = column; // a new column keeps the direction of the last one
    for (QTreeView* view : {m_folderList, m_searchList}) {
        view->header()->setSortIndicatorShown(true);
        view->header()->setSortIndicator(column, m_sortDescending ? Qt::DescendingOrder
                                                                  : Qt::AscendingOrder);
    }
    currentFiles().sortRows(m_sortColumn, m_sortDescending);
    if (m_playlistMode && &currentFiles() == m_folderFiles)
        m_playlistModified = true;
}

void TFormMain::applySortAfterScan() {
    if (m_sortColumn >= 0 && m_settings.alwaysSorting()) {
        m_folderFiles->sortRows(m_sortColumn, m_sortDescending);
        m_searchFiles->sortRows(m_sortColumn, m_sortDescending);
        return;
    }
    m_sortColumn = -1;
    for (QTreeView* view : {m_folderList, m_searchList})
        view->header()->setSortIndicatorShown(false);
}

} // namespace app
