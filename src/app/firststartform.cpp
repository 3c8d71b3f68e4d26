#include "firststartform.h"

#include "cachecommands.h"
#include "settings/multilanguage.h"
#include "settings/optionnames.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

TFirstStartForm::TFirstStartForm(const CacheBuildSetup& setup,
                                 const settings::TMultiLanguage& language, QWidget* parent)
    : QDialog(parent), m_setup(setup), m_language(language), m_chooseFolder([](QWidget* owner) {
          return QFileDialog::getExistingDirectory(owner, QStringLiteral("Add folder"));
      }) {
    setObjectName(QStringLiteral("FirstStartForm"));
    setWindowTitle(QStringLiteral("Welcome to Varlo"));
    auto* layout = new QVBoxLayout(this);

    m_useCache = new QCheckBox(QStringLiteral("&Use internal Tornel Cache"), this);
    m_useCache->setObjectName(QLatin1String(settings::names::chkCache));
    m_useCache->setChecked(true);
    m_synchronise = new QCheckBox(QStringLiteral("&Enable background synchronizing"), this);
    m_synchronise->setObjectName(QLatin1String(settings::names::chkBackgroundSynching));
    m_synchronise->setChecked(true);
    layout->addWidget(m_useCache);
    layout->addWidget(m_synchronise);

    layout->addWidget(new QLabel(QStringLiteral("Folders to read into the cache:"), this));
    layout->addWidget(buildFolderList());

    m_build = new QPushButton(QStringLiteral("Build cache"), this);
    connect(m_build, &QPushButton::clicked, this, &TFirstStartForm::buildCache);
    layout->addWidget(m_build, 0, Qt::AlignLeft);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    layout->addWidget(m_progress);
    m_status = new QLabel(this);
    m_status->setMinimumWidth(360);
    layout->addWidget(m_status);

    m_cache = new TCacheCommands(setup.databasePath, setup.options, this);
    connect(m_cache, &TCacheCommands::progress, this, &TFirstStartForm::onProgress);
    connect(m_cache, &TCacheCommands::finished, this, [this](bool stopped) { endBuild(stopped); });

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &TFirstStartForm::reject);
    layout->addWidget(m_buttons);
}

TFirstStartForm::~TFirstStartForm() = default;

bool TFirstStartForm::isBuilding() const {
    return m_cache->isBusy();
}

QWidget* TFirstStartForm::buildFolderList() {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    m_folders = new QListWidget(box);
    m_folders->setObjectName(QStringLiteral("lstFolders"));
    m_folders->addItems(m_setup.initialFolders);
    row->addWidget(m_folders);
    auto* buttons = new QVBoxLayout;
    auto* add = new QPushButton(QStringLiteral("&Add..."), box);
    auto* remove = new QPushButton(QStringLiteral("&Remove"), box);
    connect(add, &QPushButton::clicked, this, &TFirstStartForm::addFolder);
    connect(remove, &QPushButton::clicked, this, &TFirstStartForm::removeFolder);
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    row->addLayout(buttons);
    return box;
}

bool TFirstStartForm::useCache() const {
    return m_useCache->isChecked();
}

bool TFirstStartForm::backgroundSynching() const {
    return m_synchronise->isChecked();
}

QStringList TFirstStartForm::folders() const {
    QStringList paths;
    for (int row = 0; row < m_folders->count(); ++row)
        paths << m_folders->item(row)->text();
    return paths;
}

void TFirstStartForm::addFolder() {
    const QString folder = m_chooseFolder(this);
    if (!folder.isEmpty() && !folders().contains(folder))
        m_folders->addItem(folder);
}

void TFirstStartForm::removeFolder() {
    delete m_folders->currentItem();
}

void TFirstStartForm::buildCache() {
    if (isBuilding())
        return;
    if (!m_cache->build(folders(), m_setup.extensions)) {
        setStatus(QStringLiteral("No folder to read: network and system folders are skipped."));
        return;
    }
    m_build->setEnabled(false);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
}

void TFirstStartForm::onProgress(const QString& folder, int done, int total) {
    setStatus(m_language.Lookup(QStringLiteral("ScanningDrive")).arg(folder));
    m_progress->setRange(0, total); // busy until the worker has counted the folder's files
    m_progress->setValue(done);
}

void TFirstStartForm::stopBuild() {
    m_cache->cancel();
}

void TFirstStartForm::reject() {
    if (isBuilding()) {
        stopBuild();
        return;
    }
    QDialog::reject();
}

void TFirstStartForm::endBuild(bool stopped) {
    m_progress->setRange(0, 1);
    m_progress->setValue(stopped ? 0 : 1);
    setStatus(stopped ? m_language.Lookup(QStringLiteral("Stopped"))
                      : QStringLiteral("The cache is ready."));
    m_build->setEnabled(true);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(true);
    emit buildEnded();
}

void TFirstStartForm::setStatus(const QString& text) {
    m_status->setToolTip(text);
    m_status->setText(m_status->fontMetrics().elidedText(text, Qt::ElideMiddle, m_status->width()));
}

} // namespace app
