#include "library/cachescanner.h"
#include "library/folderwalk.h"
#include "library/tagcachedb.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using library::FileHandle;
using library::TCacheScanner;

class TstCacheScanner : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void secondListingComesFromCache();
    void deletedFileDisappears();
    void fileChangedOnDiskComesAsUpdate();
    void withoutBackgroundSyncNewFilesStayAway();
    void playlistGoesThroughCache();
    void stopFreezesRowsButTheCacheFills();
    void restartDeliversNoStaleFile();

private:
    QString music(const QString& name = {}) const;
    /// Starts a scan and waits for its end; the files delivered, in order.
    QList<FileHandle> scan(const QString& path, bool playlistMode = false);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TCacheScanner> m_scanner;
    QList<FileHandle> m_files;
};

namespace {

/// A file holding `padding` zero bytes and an ID3v1 tag with `title`.
void writeTaggedFile(const QString& path, const QByteArray& title, int padding = 0) {
    QByteArray tag(128, '\0');
    tag.replace(0, 3, "TAG");
    tag.replace(3, title.size(), title);
    tag[127] = char(255);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(padding, '\0') + tag);
}

} // namespace

void TstCacheScanner::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("music")));
    m_scanner = std::make_unique<TCacheScanner>(m_dir->filePath(QStringLiteral("cache.db")),
                                                tags::TagOptions());
    m_files.clear();
    connect(m_scanner.get(), &TCacheScanner::cleared, this, [this] { m_files.clear(); });
    connect(m_scanner.get(), &TCacheScanner::filesFound, this,
            [this](const QList<FileHandle>& files) { m_files << files; });
}

void TstCacheScanner::cleanup() {
    m_files.clear();
    m_scanner.reset();
    m_dir.reset();
}

QString TstCacheScanner::music(const QString& name) const {
    return m_dir->filePath(QStringLiteral("music")) + (name.isEmpty() ? "" : "/" + name);
}

QList<FileHandle> TstCacheScanner::scan(const QString& path, bool playlistMode) {
    QSignalSpy finished(m_scanner.get(), &TCacheScanner::finished);
    m_scanner->start(path, true, library::audioExtensions(), playlistMode);
    if (!finished.wait(20000))
        qWarning("scan did not finish");
    return m_files;
}

void TstCacheScanner::secondListingComesFromCache() {
    writeTaggedFile(music("a.mp3"), "A");
    writeTaggedFile(music("b.mp3"), "B");
    const QList<FileHandle> first = scan(music());
    QCOMPARE(first.size(), 2);
    for (const FileHandle& file : first) {
        QVERIFY(file->IsSyn()); // read by the synchroniser
        QCOMPARE(file->NewFileDir(), music() + QLatin1Char('/'));
    }

    const QList<FileHandle> second = scan(music());
    QCOMPARE(second.size(), 2);
    QCOMPARE(second.first()->FilePath(), music("a.mp3"));
    QVERIFY(!second.first()->IsSyn());
    QVERIFY(!second.last()->IsSyn());
}

void TstCacheScanner::deletedFileDisappears() {
    writeTaggedFile(music("a.mp3"), "A");
    writeTaggedFile(music("b.mp3"), "B");
    scan(music());
    QVERIFY(QFile::remove(music("b.mp3")));

    QSignalSpy removed(m_scanner.get(), &TCacheScanner::fileRemoved);
    const QList<FileHandle> files = scan(music());
    QCOMPARE(files.size(), 1);
    QCOMPARE(files.first()->FilePath(), music("a.mp3"));
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed.first().first().toString(), music("b.mp3"));
    QVERIFY(!library::TTagCacheDB(m_dir->filePath(QStringLiteral("cache.db")))
                 .load(music("b.mp3"))
                 .has_value());
}

void TstCacheScanner::fileChangedOnDiskComesAsUpdate() {
    writeTaggedFile(music("a.mp3"), "Old");
    scan(music());
    writeTaggedFile(music("a.mp3"), "New", 100); // another size: changed within the second

    QList<FileHandle> updates;
    connect(m_scanner.get(), &TCacheScanner::fileUpdated, this,
            [&](const FileHandle& file) { updates << file; });
    const QList<FileHandle> files = scan(music());
    QCOMPARE(files.size(), 1);
    QVERIFY(!files.first()->IsSyn());
    QCOMPARE(updates.size(), 1);
    QCOMPARE(updates.first()->FilePath(), music("a.mp3"));
    QCOMPARE(updates.first()->get(tags::Field::Title), QStringLiteral("New"));
}

void TstCacheScanner::withoutBackgroundSyncNewFilesStayAway() {
    writeTaggedFile(music("a.mp3"), "A");
    scan(music());
    writeTaggedFile(music("b.mp3"), "B");
    m_scanner->setBackgroundSync(false);
    const QList<FileHandle> files = scan(music());
    QCOMPARE(files.size(), 1);
    QCOMPARE(files.first()->FilePath(), music("a.mp3"));
}

void TstCacheScanner::playlistGoesThroughCache() {
    writeTaggedFile(music("cached.mp3"), "C");
    scan(music());
    writeTaggedFile(music("new.mp3"), "N");
    const QString playlist = music("list.m3u");
    QFile file(playlist);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#EXTM3U\nnew.mp3\ngone.mp3\ncached.mp3\n");
    file.close();

    QSignalSpy read(m_scanner.get(), &TCacheScanner::playlistRead);
    const QList<FileHandle> files = scan(playlist, true);
    QCOMPARE(files.size(), 2);
    QCOMPARE(files.first()->FilePath(), music("new.mp3"));
    QVERIFY(files.first()->IsSyn());
    QCOMPARE(files.last()->FilePath(), music("cached.mp3"));
    QVERIFY(!files.last()->IsSyn());
    QCOMPARE(read.size(), 1);
    QVERIFY(library::TTagCacheDB(m_dir->filePath(QStringLiteral("cache.db")))
                .load(music("new.mp3"))
                .has_value());
}

void TstCacheScanner::stopFreezesRowsButTheCacheFills() {
    for (int i = 0; i < 300; ++i)
        writeTaggedFile(music(QStringLiteral("%1.mp3").arg(i)), "T");
    QSignalSpy found(m_scanner.get(), &TCacheScanner::filesFound);
    m_scanner->start(music(), true, {}, false);
    QVERIFY(found.wait(10000));
    m_scanner->stop();
    const qsizetype rows = m_files.size();
    QVERIFY(rows < 300);

    library::TTagCacheDB db(m_dir->filePath(QStringLiteral("cache.db")));
    QTRY_COMPARE_WITH_TIMEOUT(db.recordCount(), 300, 20000);
    QCOMPARE(m_files.size(), rows);
}

void TstCacheScanner::restartDeliversNoStaleFile() {
    for (int i = 0; i < 300; ++i)
        writeTaggedFile(music(QStringLiteral("%1.mp3").arg(i)), "T");
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("other")));
    const QString other = m_dir->filePath(QStringLiteral("other/a.mp3"));
    writeTaggedFile(other, "A");

    QSignalSpy found(m_scanner.get(), &TCacheScanner::filesFound);
    m_scanner->start(music(), true, {}, false);
    QVERIFY(found.wait(10000));
    const QList<FileHandle> files = scan(QFileInfo(other).absolutePath());
    QTest::qWait(300); // anything still queued for the first scan would show now
    QCOMPARE(files.size(), 1);
    QCOMPARE(m_files.size(), 1);
    QCOMPARE(m_files.first()->FilePath(), other);
}

QTEST_GUILESS_MAIN(TstCacheScanner)
#include "tst_cachescanner.moc"
