#include "folderscanner.h"

#include "folderwalk.h"
#include "playlists/playlistreader.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace library {

namespace {

bool isDotName(const QString& name) {
    return name.startsWith(QLatin1Char('.'));
}

/// The subfolders and files of a folder, each sorted by name, without dot names.
struct FolderEntries {
    QStringList folders;
    QStringList files;
};

/// Reads `folder` once for the kinds in `kinds` (QDir::Dirs, QDir::Files). Sorting the names
/// ourselves is several times faster than QDir's sorted listing, and in a folder of
/// thousands of files the first row has to wait for this listing.
FolderEntries entriesOf(const QString& folder, QDir::Filters kinds) {
    FolderEntries entries;
    QDirIterator it(folder, kinds | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (!isDotName(name))
            (it.fileInfo().isDir() ? entries.folders : entries.files) << name;
    }
    // The same order as QDir::Name: by UTF-16 code unit, case-sensitive.
    std::sort(entries.folders.begin(), entries.folders.end());
    std::sort(entries.files.begin(), entries.files.end());
    return entries;
}

/// Remembers the folders a walk has entered by their real location, so that a folder
/// reached again through a symbolic link is not entered twice.
class VisitedFolders {
public:
    /// True the first time `folder` (an existing folder) is seen.
    bool enter(const QString& folder) {
        const QString real = QFileInfo(folder).canonicalFilePath();
        if (real.isEmpty() || m_seen.contains(real) || !QFileInfo(real).isDir())
            return false;
        m_seen.insert(real);
        return true;
    }

private:
    QSet<QString> m_seen;
};

/// A walk's starting folder as an absolute path without a trailing "/".
QString startFolder(const QString& path) {
    return QDir::cleanPath(QDir(path.trimmed()).absolutePath());
}

QString childPath(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

} // namespace

TFolderScanner::TFolderScanner(QObject* parent)
    : TBaseScanner(parent), m_extensions(audioExtensions()) {
    m_worker = new QObject;
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.setObjectName(QStringLiteral("Folder scanner"));
    m_thread.start(QThread::LowestPriority);
}

TFolderScanner::~TFolderScanner() {
    ++m_scan;
    m_thread.quit();
    m_thread.wait();
}

void TFolderScanner::start(const QString& path, bool recursive, const QStringList& extensions,
                           bool playlistMode) {
    stop();
    if (!extensions.isEmpty())
        m_extensions = extensions;
    const Job job{++m_scan, path, recursive, playlistMode, m_extensions, m_options};
    beginScan();
    QMetaObject::invokeMethod(
        m_worker, [this, job] { run(job); }, Qt::QueuedConnection);
}

void TFolderScanner::stop() {
    if (!isRunning())
        return;
    ++m_scan;
    finishScan();
}

void TFolderScanner::post(int scan, std::function<void()> deliver) {
    QMetaObject::invokeMethod(
        this,
        [this, scan, deliver = std::move(deliver)] {
            if (m_scan.load() == scan)
                deliver();
        },
        Qt::QueuedConnection);
}

void TFolderScanner::run(const Job& job) {
    if (stopped(job))
        return; // a later start or a stop came before this job began
    if (job.playlistMode)
        scanPlaylist(job);
    else
        scanFolders(job);
    post(job.scan, [this] { finishScan(); });
}

void TFolderScanner::scanFolders(const Job& job) {
    QStringList stack{startFolder(job.path)};
    VisitedFolders visited;
    while (!stack.isEmpty() && !stopped(job)) {
        const QString folder = stack.takeLast();
        if (!visited.enter(folder))
            continue;
        post(job.scan, [this, folder] { emit statusText(folder); });
        const FolderEntries entries = entriesOf(folder, QDir::Dirs | QDir::Files);
        if (job.recursive)
            for (const QString& name : entries.folders)
                stack << childPath(folder, name);
        for (const QString& extension : job.extensions)
            for (const QString& name : entries.files) {
                if (stopped(job))
                    return;
                if (QFileInfo(name).suffix().compare(extension, Qt::CaseInsensitive) == 0)
                    readFile(job, childPath(folder, name));
            }
    }
}

void TFolderScanner::scanPlaylist(const Job& job) {
    post(job.scan, [this, path = job.path] { emit statusText(path); });
    const QStringList paths =
        playlists::readPlaylistPaths(job.path, [this, &job] { return stopped(job); });
    for (const QString& path : paths) {
        if (stopped(job))
            return;
        if (QFileInfo(path).isFile()) // listed files that are gone are skipped silently
            readFile(job, path);
    }
    post(job.scan, [this, path = job.path] {
        flushFiles();
        emit playlistRead(path);
    });
}

void TFolderScanner::readFile(const Job& job, const QString& path) {
    auto file = std::make_shared<tags::TMP3>(QString(), job.options);
    file->setFilePath(path);
    file->setNewFileDir(QFileInfo(path).absolutePath() + QLatin1Char('/'));
    const tags::Status status = file->LoadFromFile();
    if (status.ok())
        post(job.scan, [this, file = std::move(file)] { addFile(file); });
    else
        post(job.scan, [this, path, error = status.message()] { addReadError(path, error); });
}

int countFolders(const QString& root, int maxDepth) {
    struct Entry {
        QString folder;
        int depth;
    };
    QList<Entry> stack{{startFolder(root), 0}};
    VisitedFolders visited;
    int count = 0;
    while (!stack.isEmpty()) {
        const Entry entry = stack.takeLast();
        if (!visited.enter(entry.folder))
            continue;
        ++count;
        if (maxDepth >= 0 && entry.depth >= maxDepth)
            continue;
        for (const QString& name : entriesOf(entry.folder, QDir::Dirs).folders)
            stack << Entry{childPath(entry.folder, name), entry.depth + 1};
    }
    return count;
}

} // namespace library
