#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

namespace settings {
class Settings;
class TMultiLanguage;
class TRegistrySave;
} // namespace settings

namespace app {

class TFormMain;
class TSingleInstance;
class TSplashScreen;
class TTempFolder;

/// Runs one step of the close sequence: an exception it throws is logged and swallowed, so
/// one failing step never keeps the following ones from running.
void runShutdownStep(const char* name, const std::function<void()>& step);

/// Acts on a path that a later start handed over: a playlist opens in the file list, any
/// other existing file goes to the player (the window comes to the front for either),
/// anything else is ignored.
void receiveHandOff(TFormMain& window, const QString& path);

/// The life of the program: single-instance test (a later start hands its argument to the
/// running one and ends), temporary folder, settings, splash, main window, first-start
/// dialog, start assistant, the first idle moment that opens the start folder, the event
/// loop and the orderly end.
class TStartup : public QObject {
    Q_OBJECT
public:
    /// `arguments` are the command-line arguments without the program name.
    explicit TStartup(const QStringList& arguments);
    ~TStartup() override;

    /// Runs the program to its end and returns the exit code.
    int run();

private:
    /// The first argument alone, absolute; what decideHandOff() looks at.
    QStringList absoluteArguments() const;
    int handOverToFirstInstance();
    void loadSettings();
    void showSplash();
    bool isFirstStart() const;
    void runFirstStart();
    void showMainWindow();
    void showStartAssistant();
    void onFirstIdle();
    void onPathReceived(const QString& path);
    QStringList recentFolders() const;
    void shutDown();

    QString m_argument; ///< the first argument as an absolute path; empty when none
    std::unique_ptr<TSingleInstance> m_instance;
    std::unique_ptr<TTempFolder> m_tempFolder;
    std::unique_ptr<settings::TRegistrySave> m_store;
    std::unique_ptr<settings::Settings> m_settings;
    std::unique_ptr<settings::TMultiLanguage> m_language;
    std::unique_ptr<TSplashScreen> m_splash;
    std::unique_ptr<TFormMain> m_window;
    QStringList m_earlyHandOffs; ///< paths handed over before the window was ready
};

} // namespace app
