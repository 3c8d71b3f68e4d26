#include "mainwindow.h"

#include "filelistmodel.h"
#include "library/cachescanner.h"
#include "library/folderscanner.h"
#include "playerhandoff.h"
#include "prompter.h"
#include "settings/ui/translatewidgets.h"
#include "settings/ui/windowstate.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace app {

namespace {

/// Stands in until the built-in player exists: remembers the list it was handed.
class PendingPlayerList : public PlayerHandOff {
public:
    void appendAsCurrent(const QString& path) override {
        m_files.append(path);
        m_current = m_files.size() - 1;
    }
    bool hasCurrent() const override { return m_current >= 0; }
    void play(const QString&) override {}

private:
    QStringList m_files;
    qsizetype m_current = -1;
};

} // namespace

TFormMain::TFormMain(QWidget* parent, std::unique_ptr<TPrompter> prompter)
    : QMainWindow(parent),
      m_prompter(prompter ? std::move(prompter) : std::make_unique<TMessageBoxPrompter>(this)),
      m_player(std::make_unique<PendingPlayerList>()) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Varlo"));
    m_settings.load(m_store);
    m_state.load(m_store);
    m_language = settings::TMultiLanguage(settings::TMultiLanguage::defaultLangFile());
    m_language.setLanguage(m_language.chooseLanguage(m_settings.language()));

    m_folderFiles = new TFileListModel(this);
    m_searchFiles = new TFileListModel(this);
    m_pages = new QStackedWidget;
    m_folderList = createFileList(m_folderFiles, QStringLiteral("LFolder"));
    m_searchList = createFileList(m_searchFiles, QStringLiteral("LSearch"));
    m_pages->addWidget(m_folderList);
    m_pages->addWidget(m_searchList);
    createFolderTree();

    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    m_pageTabs = new QTabBar;
    m_pageTabs->setObjectName(QStringLiteral("PageTabs"));
    m_pageTabs->addTab(QStringLiteral("Folder"));
    m_pageTabs->addTab(QStringLiteral("Search"));
    m_pageTabs->setExpanding(false);
    leftLayout->addWidget(m_pageTabs);
    leftLayout->addWidget(m_folderTree);
    connect(m_pageTabs, &QTabBar::currentChanged, this, [this](int page) {
        m_pages->setCurrentIndex(page);
        onSelectionChanged();
    });

    auto* splitter = new QSplitter;
    splitter->setObjectName(QStringLiteral("MainSplitter"));
    splitter->addWidget(left);
    splitter->addWidget(m_pages);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 900});
    setCentralWidget(splitter);

    createSummaryDock();
    createStatusBar();
    createScanners();
    createMenus();

    m_selectionTimer.setSingleShot(true);
    m_selectionTimer.setInterval(100);
    connect(&m_selectionTimer, &QTimer::timeout, this, &TFormMain::showSummary);

    m_commonMode = m_state.commonMode();
    m_displayedVersion = m_commonMode ? 3 : qBound(1, m_state.workMode(), 3);
    m_versionBeforeCommon = qBound(1, m_state.latestWorkMode(), 3);
    applyViewToRows();
    restoreState();
    settings::translateWidget(this, m_language);
    updateCounts();
}

TFormMain::~TFormMain() {
    // Scanners first: no batch may arrive while the lists are torn down.
    if (m_folderScanner)
        m_folderScanner->stop();
    if (m_cacheScanner)
        m_cacheScanner->stop();
}

void TFormMain::setReady() {
    m_ready = true;
    updateCounts();
}

void TFormMain::reloadOptions() {
    m_store.sync();
    m_settings.load(m_store);
    chooseActiveScanner();
    applyViewToRows();
}

void TFormMain::showPage(int page) {
    m_folderTree->parentWidget()->show();
    m_pageTabs->setCurrentIndex(page);
}

void TFormMain::createFolderTree() {
    m_folderModel = new QFileSystemModel(this);
    m_folderModel->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
    m_folderModel->setNameFilters({QStringLiteral("*.m3u"), QStringLiteral("*.M3U"),
                                   QStringLiteral("*.pls"), QStringLiteral("*.PLS"),
                                   QStringLiteral("*.fls"), QStringLiteral("*.FLS")});
    m_folderModel->setNameFilterDisables(false);
    m_folderModel->setReadOnly(false);
    m_folderModel->setRootPath(QDir::rootPath());

    m_folderTree = new QTreeView;
    m_folderTree->setObjectName(QStringLiteral("FolderTree"));
    m_folderTree->setModel(m_folderModel);
    for (int column = 1; column < m_folderModel->columnCount(); ++column)
        m_folderTree->hideColumn(column);
    m_folderTree->setHeaderHidden(true);
    m_folderTree->setEditTriggers(QAbstractItemView::EditKeyPressed);
    const QModelIndex home = m_folderModel->index(QDir::homePath());
    m_folderTree->setCurrentIndex(home);
    m_folderTree->scrollTo(home);

    connect(m_folderTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (m_settings.autoLoadSelected() && current.isValid())
                    openPath(m_folderModel->filePath(current));
            });
    connect(m_folderTree, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        const QString path = m_folderModel->filePath(index);
        if (path == m_currentFolder)
            m_currentFolder.clear(); // a double click opens the folder again
        openPath(path);
    });
    connect(m_folderModel, &QFileSystemModel::fileRenamed, this, &TFormMain::onTreeFolderRenamed);
}

QTreeView* TFormMain::createFileList(TFileListModel* model, const QString& objectName) {
    auto* view = new QTreeView;
    view->setObjectName(objectName);
    view->setModel(model);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAlternatingRowColors(true);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::EditKeyPressed);
    view->setAllColumnsShowFocus(true);
    QHeaderView* header = view->header();
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    const auto columns = fileColumns();
    for (int column = 0; column < int(columns.size()); ++column) {
        if (columns[column].defaultWidth == 0)
            view->hideColumn(column);
        else
            header->resizeSection(column, columns[column].defaultWidth);
    }
    settings::applyColumnLayoutText(header, m_state.columnLayout(objectName));
    connect(header, &QHeaderView::sectionClicked, this, &TFormMain::sortByColumnClick);
    connect(view, &QTreeView::activated, this, &TFormMain::onRowActivated);
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFormMain::onSelectionChanged);
    connect(model, &QAbstractItemModel::rowsInserted, this, &TFormMain::updateCounts);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &TFormMain::updateCounts);
    connect(model, &QAbstractItemModel::modelReset, this, &TFormMain::updateCounts);
    return view;
}

void TFormMain::createSummaryDock() {
    auto* dock = new QDockWidget(QStringLiteral("File summary"), this);
    dock->setObjectName(QStringLiteral("FileSummaryDock"));
    auto* panel = new QWidget;
    m_summaryForm = new QFormLayout(panel);
    m_summaryForm->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (int item = 0; item < kSummaryItemCount; ++item) {
        auto* value = new QLabel;
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setWordWrap(true);
        value->setMinimumWidth(120);
        m_summaryValues.append(value);
        m_summaryForm->addRow(summaryCaption(SummaryItem(item)) + QLatin1Char(':'), value);
    }
    dock->setWidget(panel);
    addDockWidget(Qt::RightDockWidgetArea, dock);
}

void TFormMain::createStatusBar() {
    m_gauge = new QProgressBar;
    m_gauge->setObjectName(QStringLiteral("Gauge"));
    m_gauge->setMaximumWidth(120);
    m_gauge->setTextVisible(false);
    m_gauge->setRange(0, 100);
    m_gauge->setValue(0);
    m_countsPanel = new QLabel;
    m_undoPanel = new QLabel;
    m_statusPanel = new QLabel;
    statusBar()->addWidget(m_gauge);
    statusBar()->addWidget(m_countsPanel);
    statusBar()->addWidget(m_undoPanel);
    statusBar()->addWidget(m_statusPanel, 1);
    statusBar()->setVisible(m_state.statusBarVisible());
}

void TFormMain::createScanners() {
    m_folderScanner = std::make_unique<library::TFolderScanner>();
    connectScanner(m_folderScanner.get());
    chooseActiveScanner();
    connect(&m_settings, &settings::Settings::valueChanged, this, [this](const QString& name) {
        if (name == QLatin1String(settings::names::chkCache) ||
            name == QLatin1String(settings::names::chkBackgroundSynching))
            chooseActiveScanner();
    });
}

void TFormMain::restoreState() {
    const QRect available = QGuiApplication::primaryScreen()
                                ? QGuiApplication::primaryScreen()->availableGeometry()
                                : QRect(0, 0, 1280, 800);
    resize(available.width() * 4 / 5, available.height() * 4 / 5);
    move(available.center() - rect().center());
    settings::restoreWindowState(m_store, *this);
    const int sort = m_state.sortColumn();
    if (m_settings.alwaysSorting() && sort >= 0 && sort < int(fileColumns().size())) {
        m_sortColumn = sort;
        m_sortDescending = m_state.sortDescending();
        m_folderList->header()->setSortIndicatorShown(true);
        m_folderList->header()->setSortIndicator(sort, m_sortDescending ? Qt::DescendingOrder
                                                                        : Qt::AscendingOrder);
    }
}

void TFormMain::saveState() {
    m_state.setValue(QLatin1String(settings::windownames::CommonMode), m_commonMode);
    m_state.setValue(QLatin1String(settings::windownames::WorkMode),
                     m_commonMode ? m_versionBeforeCommon : m_displayedVersion);
    m_state.setValue(QLatin1String(settings::windownames::LatestWorkMode), m_versionBeforeCommon);
    m_state.setValue(QLatin1String(settings::windownames::SortColumn), m_sortColumn);
    m_state.setValue(QLatin1String(settings::windownames::SortDescending), m_sortDescending);
    m_state.setValue(QLatin1String(settings::windownames::StatusBar), statusBar()->isVisible());
    for (QTreeView* list : {m_folderList, m_searchList})
        m_state.setColumnLayout(list->objectName(), settings::columnLayoutText(list->header()));
    settings::saveWindowState(m_store, *this);
    m_state.save(m_store);
    m_store.sync();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    stopScan();
    if (!mayLeaveCurrentList()) {
        event->ignore();
        return;
    }
    rememberCurrentFolder();
    saveState();
    event->accept();
}

TFileListModel& TFormMain::currentFiles() const {
    return m_pages->currentIndex() == 1 ? *m_searchFiles : *m_folderFiles;
}

QTreeView& TFormMain::currentListView() const {
    return m_pages->currentIndex() == 1 ? *m_searchList : *m_folderList;
}

QString TFormMain::statusPanelText(int panel) const {
    switch (panel) {
    case 1:
        return m_countsPanel->text();
    case 2:
        return m_undoPanel->text();
    case 3:
        return m_statusPanel->text();
    default:
        return {};
    }
}

} // namespace app
