#include "library/cachedlisting.h"
#include "library/cachemanager.h"
#include "library/folderwalk.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using library::FileHandle;
using library::TCacheManager;
using library::TCacheSynchronizer;
using library::TTagCacheDB;

class TstCacheManager : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void cachedFilesComeFirstAndNewOnesFromTheSynchroniser();
    void buildCacheStoresEveryFile();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QThread m_managerThread;
    QThread m_syncThread;
    TCacheManager* m_manager = nullptr;
    TCacheSynchronizer* m_sync = nullptr;
};

namespace {

void writeTaggedFile(const QString& path, const QByteArray& title) {
    QByteArray tag(128, '\0');
    tag.replace(0, 3, "TAG");
    tag.replace(3, title.size(), title);
    tag[127] = char(255);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(tag);
}

} // namespace

void TstCacheManager::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_dir->path()).mkpath("music"));
    const QString database = m_dir->filePath("cache.db");
    m_manager = new TCacheManager(database, {});
    m_sync = new TCacheSynchronizer(database, {});
    m_manager->setSynchronizer(m_sync);
    m_manager->moveToThread(&m_managerThread);
    m_sync->moveToThread(&m_syncThread);
    connect(&m_managerThread, &QThread::finished, m_manager, &QObject::deleteLater);
    connect(&m_syncThread, &QThread::finished, m_sync, &QObject::deleteLater);
    m_managerThread.start();
    m_syncThread.start();
}

void TstCacheManager::cleanup() {
    m_sync->cancel();
    m_manager->cancel();
    m_managerThread.quit();
    m_syncThread.quit();
    m_managerThread.wait();
    m_syncThread.wait();
    m_dir.reset();
}

void TstCacheManager::cachedFilesComeFirstAndNewOnesFromTheSynchroniser() {
    const QString music = m_dir->filePath("music");
    const QString kept = music + "/a.mp3", gone = music + "/b.mp3", added = music + "/c.mp3";
    writeTaggedFile(kept, "Kept");
    writeTaggedFile(gone, "Gone");
    {
        TTagCacheDB db(m_dir->filePath("cache.db"));
        QList<library::CacheRecord> records;
        for (const QString& path : {kept, gone}) {
            tags::TMP3 file(path);
            records << library::recordOf(file, tags::TagOptions::Mixed);
        }
        QVERIFY(db.store(records));
    }
    QVERIFY(QFile::remove(gone));
    writeTaggedFile(added, "Added");

    QList<FileHandle> found, read;
    connect(m_manager, &TCacheManager::fileFound, this, [&](int, FileHandle f) { found << f; });
    connect(m_sync, &TCacheSynchronizer::fileRead, this, [&](int, FileHandle f) { read << f; });
    QSignalSpy syncDone(m_sync, &TCacheSynchronizer::finished);
    m_manager->requestFolder(music, true, library::audioExtensions());
    QVERIFY(syncDone.wait(10000));
    QCoreApplication::processEvents();

    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first()->FilePath(), kept);
    QVERIFY(!found.first()->IsSyn());
    QCOMPARE(read.size(), 1);
    QCOMPARE(read.first()->FilePath(), added);
    QCOMPARE(read.first()->get(tags::Field::Title), QStringLiteral("Added"));

    // Reading a field makes the cached object read its file and send its record back.
    QCOMPARE(found.first()->get(tags::Field::Title), QStringLiteral("Kept"));
    QVERIFY(found.first()->IsSyn());

    TTagCacheDB db(m_dir->filePath("cache.db"));
    QTRY_VERIFY(db.load(added).has_value());
    QVERIFY(!db.load(gone));
    QVERIFY(db.load(kept));
}

void TstCacheManager::buildCacheStoresEveryFile() {
    const QString music = m_dir->filePath("music");
    for (int i = 0; i < 30; ++i)
        writeTaggedFile(music + QStringLiteral("/%1.mp3").arg(i), "T");
    QList<FileHandle> read;
    connect(m_sync, &TCacheSynchronizer::fileRead, this, [&](int, FileHandle f) { read << f; });
    QSignalSpy syncDone(m_sync, &TCacheSynchronizer::finished);
    const int job = m_sync->beginJob();
    QMetaObject::invokeMethod(
        m_sync, [&, job] { m_sync->buildCache(job, music, true, library::audioExtensions()); });
    QVERIFY(syncDone.wait(10000));
    QVERIFY(read.isEmpty());
    QCOMPARE(TTagCacheDB(m_dir->filePath("cache.db")).recordCount(), 30);
}

QTEST_GUILESS_MAIN(TstCacheManager)
#include "tst_cachemanager.moc"
