#include "startup.h"

#include "firststartform.h"
#include "library/tagcachedb.h"
#include "mainwindow.h"
#include "playerhandoff.h"
#include "settings/multilanguage.h"
#include "settings/optionnames.h"
#include "settings/registrysave.h"
#include "settings/settings.h"
#include "singleinstance.h"
#include "splashscreen.h"
#include "startupdecisions.h"
#include "startwizard.h"
#include "tempfolder.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include <exception>
#include <utility>

namespace app {

namespace {

const QString kRegistryDataExist = QStringLiteral("B:RegistryDataExist");
/// Recent folders are stored as "MRU00" (most recent) to "MRU09".
constexpr int kRecentFolderCount = 10;

QString musicFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
}

/// A relative argument is resolved here: the running instance that may receive it works in
/// another folder.
QString absoluteArgument(const QStringList& arguments) {
    if (arguments.isEmpty() || arguments.first().isEmpty())
        return {};
    return QDir::cleanPath(QFileInfo(arguments.first()).absoluteFilePath());
}

} // namespace

void runShutdownStep(const char* name, const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception& error) {
        qWarning("Varlo: shutdown step \"%s\" failed: %s", name, error.what());
    } catch (...) {
        qWarning("Varlo: shutdown step \"%s\" failed", name);
    }
}

void receiveHandOff(TFormMain& window, const QString& path) {
    switch (decideHandOff({path})) {
    case HandOff::OpenPlaylist:
        window.openPath(path);
        break;
    case HandOff::PlayFile:
        handFileToPlayer(window.player(), path);
        break;
    case HandOff::Nothing:
        return;
    }
    // The user just asked for this file, so the window they get it in comes to the front.
    window.raise();
    window.activateWindow();
}

TStartup::TStartup(const QStringList& arguments)
    : m_argument(absoluteArgument(arguments)), m_instance(std::make_unique<TSingleInstance>()) {}

TStartup::~TStartup() = default;

int TStartup::run() {
    if (!m_instance->becomeFirst())
        return handOverToFirstInstance();
    // Until the main window shows, closing a dialog must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    m_tempFolder = std::make_unique<TTempFolder>();
    loadSettings();
    showSplash();
    m_window = std::make_unique<TFormMain>();
    connect(m_instance.get(), &TSingleInstance::pathReceived, this, &TStartup::onPathReceived);
    if (isFirstStart())
        runFirstStart();
    showMainWindow();
    QApplication::setQuitOnLastWindowClosed(true);
    QTimer::singleShot(0, this, &TStartup::onFirstIdle);
    const int exitCode = QApplication::exec();
    shutDown();
    return exitCode;
}

QStringList TStartup::absoluteArguments() const {
    return m_argument.isEmpty() ? QStringList() : QStringList{m_argument};
}

int TStartup::handOverToFirstInstance() {
    if (decideHandOff(absoluteArguments()) == HandOff::Nothing)
        return 0;
    if (TSingleInstance::handOver(m_argument, m_instance->serverName()))
        return 0;
    qWarning("Varlo is already running but did not take %s", qPrintable(m_argument));
    return 1;
}

void TStartup::loadSettings() {
    m_store = std::make_unique<settings::TRegistrySave>();
    m_settings = std::make_unique<settings::Settings>();
    m_settings->load(*m_store);
    m_language =
        std::make_unique<settings::TMultiLanguage>(settings::TMultiLanguage::defaultLangFile());
    m_language->setLanguage(m_language->chooseLanguage(m_settings->language()));
}

void TStartup::showSplash() {
    if (!m_settings->showSplashScreen())
        return;
    m_splash = std::make_unique<TSplashScreen>();
    m_splash->showFading();
    // Paint it now: building the main window keeps the event loop away for a while.
    QApplication::processEvents();
}

bool TStartup::isFirstStart() const {
    QVariant exists = false;
    m_store->ReadValue(kRegistryDataExist, exists);
    return !exists.toBool();
}

void TStartup::runFirstStart() {
    // The splash stays on top and would hide the dialog.
    if (m_splash)
        m_splash->hide();
    CacheBuildSetup setup;
    setup.databasePath = library::TTagCacheDB::defaultPath();
    setup.options = m_settings->tagOptions();
    setup.extensions = m_settings->extensions();
    if (QFileInfo(musicFolder()).isDir())
        setup.initialFolders << musicFolder();
    TFirstStartForm form(setup, *m_language);
    form.exec();
    m_settings->setValue(QLatin1String(settings::names::chkCache), form.useCache());
    m_settings->setValue(QLatin1String(settings::names::chkBackgroundSynching),
                         form.backgroundSynching());
    m_settings->save(*m_store);
    // Written now rather than at the first exit, so a run that crashes does not bring the
    // first-start questions back.
    m_store->WriteValue(kRegistryDataExist, true);
    m_store->sync();
    m_window->reloadOptions();
}

void TStartup::showMainWindow() {
    m_window->show();
    if (!m_splash || !m_splash->isVisible()) {
        m_splash.reset();
        showStartAssistant();
        return;
    }
    connect(m_splash.get(), &TSplashScreen::closed, this, &TStartup::showStartAssistant);
    m_splash->closeFading();
}

void TStartup::showStartAssistant() {
    if (!m_settings->showStartAssistant())
        return;
    auto* wizard = new TStartWizard(*m_settings, *m_store, m_window.get());
    wizard->setAttribute(Qt::WA_DeleteOnClose);
    TFormMain* window = m_window.get();
    wizard->setCommand(TStartWizard::BrowseFolders, [window] { window->showPage(0); });
    wizard->setCommand(TStartWizard::SearchFiles, [window] { window->showPage(1); });
    wizard->show();
}

void TStartup::onFirstIdle() {
    m_window->setReady();
    const HandOff handOff = decideHandOff(absoluteArguments());
    const QString startPath =
        handOff == HandOff::OpenPlaylist
            ? m_argument
            : chooseStartPath(m_argument, m_settings->autoOpenMRU(), recentFolders(), musicFolder(),
                              QDir::homePath());
    if (!startPath.isEmpty())
        m_window->openPath(startPath);
    if (handOff == HandOff::PlayFile)
        handFileToPlayer(m_window->player(), m_argument);
    for (const QString& path : std::exchange(m_earlyHandOffs, {}))
        receiveHandOff(*m_window, path);
}

void TStartup::onPathReceived(const QString& path) {
    if (m_window->isReady())
        receiveHandOff(*m_window, path);
    else
        m_earlyHandOffs << path;
}

QStringList TStartup::recentFolders() const {
    QStringList folders;
    for (int entry = 0; entry < kRecentFolderCount; ++entry) {
        QVariant folder;
        if (m_store->ReadValue(QStringLiteral("S:MRU%1").arg(entry, 2, 10, QLatin1Char('0')),
                               folder))
            folders << folder.toString();
    }
    return folders;
}

void TStartup::shutDown() {
    runShutdownStep("hand-offs", [this] {
        disconnect(m_instance.get(), nullptr, this, nullptr);
        m_instance->stopListening();
    });
    runShutdownStep("main window", [this] { m_window.reset(); });
    runShutdownStep("splash", [this] { m_splash.reset(); });
    runShutdownStep("settings", [this] { m_store->sync(); });
    runShutdownStep("temporary folder", [this] { m_tempFolder.reset(); });
}

} // namespace app
