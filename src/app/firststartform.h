#pragma once

#include "tags/tagoptions.h"

#include <QDialog>
#include <QStringList>

#include <functional>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace settings {
class TMultiLanguage;
}

namespace app {

class TCacheCommands;

/// Where the tag cache of the first start is built and what goes into it.
struct CacheBuildSetup {
    QString databasePath;
    tags::TagOptions options;
    QStringList extensions;     ///< checked file types, e.g. "MP3", "OGG"
    QStringList initialFolders; ///< offered at first: the user's Music folder
};

/// The dialog of the first start: whether to use the tag cache and synchronise it in the
/// background, and "Build cache", which fills the cache from the listed folders on a worker
/// thread while the dialog shows progress and stays usable; Cancel stops a running build.
/// Folders on network or kernel pseudo file systems are skipped.
class TFirstStartForm : public QDialog {
    Q_OBJECT
public:
    /// Asks the user for a folder to add; empty when the user cancels.
    using FolderChooser = std::function<QString(QWidget* parent)>;

    TFirstStartForm(const CacheBuildSetup& setup, const settings::TMultiLanguage& language,
                    QWidget* parent = nullptr);
    ~TFirstStartForm() override;

    bool useCache() const;
    bool backgroundSynching() const;
    QStringList folders() const;
    bool isBuilding() const;

    void setFolderChooser(FolderChooser chooser) { m_chooseFolder = std::move(chooser); }

public slots:
    void buildCache();
    /// Stops a running build after the file being read; the dialog stays open.
    void stopBuild();
    /// Cancel while building stops the build; otherwise the dialog closes.
    void reject() override;

signals:
    /// The build has ended, finished or stopped.
    void buildEnded();

private:
    QWidget* buildFolderList();
    void addFolder();
    void removeFolder();
    void onProgress(const QString& folder, int done, int total);
    void endBuild(bool stopped);
    void setStatus(const QString& text);

    CacheBuildSetup m_setup;
    const settings::TMultiLanguage& m_language;
    FolderChooser m_chooseFolder;
    QCheckBox* m_useCache = nullptr;
    QCheckBox* m_synchronise = nullptr;
    QListWidget* m_folders = nullptr;
    QPushButton* m_build = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QDialogButtonBox* m_buttons = nullptr;

    TCacheCommands* m_cache = nullptr;
};

} // namespace app
