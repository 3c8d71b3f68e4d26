#include "cachecommands.h"

#include "library/cachesync.h"
#include "library/tagcachedb.h"
#include "startupdecisions.h"

#include <memory>

namespace app {

TCacheCommands::TCacheCommands(const QString& databasePath, const tags::TagOptions& options,
                               QObject* parent)
    : QObject(parent), m_databasePath(databasePath),
      m_worker(new library::TCacheSynchronizer(databasePath, options)) {
    m_worker->moveToThread(&m_thread);
    // The worker's database connection belongs to its thread, so it is freed there.
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &library::TCacheSynchronizer::progress, this,
            [this](int done, int total) { emit progress(m_folder, done, total); });
    connect(m_worker, &library::TCacheSynchronizer::finished, this, [this](int job) {
        if (job == m_job)
            buildNext();
    });
    m_thread.start(QThread::LowPriority);
}

TCacheCommands::~TCacheCommands() {
    cancel();
    if (m_cleaner)
        m_cleaner->wait();
    m_thread.quit();
    m_thread.wait();
}

void TCacheCommands::begin() {
    m_busy = true;
    m_cancelled = false;
}

void TCacheCommands::end(const QString& summary) {
    m_busy = false;
    emit finished(m_cancelled, summary);
}

bool TCacheCommands::build(const QStringList& folders, const QStringList& extensions) {
    if (m_busy)
        return false;
    m_queue.clear();
    for (const QString& folder : folders)
        if (mayBuildCacheIn(folder))
            m_queue << folder;
    if (m_queue.isEmpty())
        return false;
    m_extensions = extensions;
    begin();
    buildNext();
    return true;
}

void TCacheCommands::buildNext() {
    if (m_cancelled || m_queue.isEmpty()) {
        end(QStringLiteral("The cache is ready."));
        return;
    }
    const QString folder = m_queue.takeFirst();
    m_folder = folder;
    emit progress(folder, 0, 0);
    m_job = m_worker->beginJob();
    QMetaObject::invokeMethod(
        m_worker,
        [worker = m_worker, job = m_job, folder, extensions = m_extensions] {
            worker->buildCache(job, folder, true, extensions);
        },
        Qt::QueuedConnection);
}

void TCacheCommands::clean() {
    if (m_busy)
        return;
    begin();
    emit progress(QString(), 0, 0);
    auto removed = std::make_shared<int>(0);
    m_cleaner = QThread::create([removed, path = m_databasePath] {
        library::TTagCacheDB database(path);
        *removed = database.clean();
        database.compact();
    });
    connect(m_cleaner, &QThread::finished, this, [this, removed] {
        m_cleaner->deleteLater();
        m_cleaner = nullptr;
        end(QStringLiteral("%1 records of vanished files removed.").arg(*removed));
    });
    m_cleaner->start(QThread::LowPriority);
}

void TCacheCommands::cancel() {
    m_cancelled = true;
    m_worker->cancel();
}

} // namespace app
