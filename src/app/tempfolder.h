#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace app {

/// The program's private temporary folder, readable only by the user (mode 0700), made at
/// start below the system temporary folder with the subfolders that preview, playing and
/// beat counting write into, and removed with everything in it when the object goes.
/// Only one exists at a time; tempFolder() finds it.
class TTempFolder {
public:
    /// The subfolders made at start: "ExportPreview", "PrintPreview", "Play", "BPMPlay".
    static const QStringList& subfolders();

    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    /// False when the folder could not be made; path() is empty then.
    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return isValid() ? m_dir.path() : QString(); }

private:
    QTemporaryDir m_dir;
};

/// The running program's temporary folder; empty when there is none (not made, or failed).
QString tempFolder();

} // namespace app
