#pragma once

#include "basescanner.h"

#include <QThread>

#include <atomic>
#include <functional>

namespace library {

/// Lists folders and playlist files straight from disk, reading every file on its own
/// worker thread (at the lowest priority).
///
/// Folder order: the files of a folder come before those of its subfolders, grouped by
/// extension in the order of the extension list; subfolders are visited depth first, the
/// last one enumerated first. Folders and files are enumerated sorted by name, so the order
/// is the same on every run. Names beginning with "." are skipped, and a folder reached
/// twice (through a symbolic link) is scanned once, so a link loop ends.
///
/// Each scan has a number; stop() and start() change it, the worker gives up as soon as it
/// sees the change, and whatever it still sends for an older number is dropped on the
/// owner's thread.
class TFolderScanner : public TBaseScanner {
    Q_OBJECT
public:
    explicit TFolderScanner(QObject* parent = nullptr);
    ~TFolderScanner() override;

    /// The options each audio object is built with; used from the next start().
    void setTagOptions(const tags::TagOptions& options) { m_options = options; }

    void start(const QString& path, bool recursive, const QStringList& extensions,
               bool playlistMode) override;
    void stop() override;

private:
    struct Job {
        int scan = 0;
        QString path;
        bool recursive = true;
        bool playlistMode = false;
        QStringList extensions;
        tags::TagOptions options;
    };

    // Worker thread.
    void run(const Job& job);
    void scanFolders(const Job& job);
    void scanPlaylist(const Job& job);
    void readFile(const Job& job, const QString& path);
    bool stopped(const Job& job) const { return m_scan.load() != job.scan; }
    /// Runs `deliver` on the owner's thread unless scan `scan` has ended by then.
    void post(int scan, std::function<void()> deliver);

    QThread m_thread;
    QObject* m_worker = nullptr; ///< lives on m_thread; jobs are queued to it
    std::atomic<int> m_scan{0};
    QStringList m_extensions;
    tags::TagOptions m_options;
};

/// The number of folders from `root` down to `maxDepth` levels below it (the root is level
/// 0; -1 means no limit), walked like a scan: names beginning with "." are skipped and a
/// folder reached twice counts once. 0 when `root` is not a folder.
int countFolders(const QString& root, int maxDepth);

} // namespace library
