#include "library/folderscanner.h"
#include "library/folderwalk.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using library::FileHandle;
using library::TFolderScanner;

class TstFolderScanner : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void scanOrder_data();
    void scanOrder();
    void symlinkLoopEnds();
    void restartDeliversNoStaleFile();
    void stopBeforeFirstFileFinishes();
    void unreadableFileIsReportedOnceAndScanGoesOn();
    void playlistRows();
    void countFolders_data();
    void countFolders();

private:
    /// Copies a fixture ("mpeg/tagged-v1.mp3") to `relative` below the temporary folder.
    QString place(const QString& fixture, const QString& relative);
    /// Starts a scan and waits for its end; the paths delivered, in order.
    QStringList scan(const QString& path, bool recursive = true,
                     const QStringList& extensions = library::audioExtensions(),
                     bool playlistMode = false);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TFolderScanner> m_scanner;
    QList<FileHandle> m_files; ///< what the current scan delivered
};

namespace {

const QString kMp3 = QStringLiteral("mpeg/tagged-v1.mp3");
const QString kOgg = QStringLiteral("ogg/tagged.ogg");

QStringList pathsOf(const QList<FileHandle>& files) {
    QStringList paths;
    for (const FileHandle& file : files)
        paths << file->FilePath();
    return paths;
}

} // namespace

void TstFolderScanner::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_scanner = std::make_unique<TFolderScanner>();
    m_files.clear();
    connect(m_scanner.get(), &TFolderScanner::cleared, this, [this] { m_files.clear(); });
    connect(m_scanner.get(), &TFolderScanner::filesFound, this,
            [this](const QList<FileHandle>& files) { m_files << files; });
}

void TstFolderScanner::cleanup() {
    m_scanner.reset();
    m_dir.reset();
}

QString TstFolderScanner::place(const QString& fixture, const QString& relative) {
    const QString target = m_dir->filePath(relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    if (!QFile::copy(QStringLiteral(VARLO_TEST_DATA "/") + fixture, target))
        qWarning("cannot copy %s", qPrintable(fixture));
    return target;
}

QStringList TstFolderScanner::scan(const QString& path, bool recursive,
                                   const QStringList& extensions, bool playlistMode) {
    QSignalSpy finished(m_scanner.get(), &TFolderScanner::finished);
    m_scanner->start(path, recursive, extensions, playlistMode);
    if (!finished.wait(20000))
        qWarning("scan did not finish");
    return pathsOf(m_files);
}

void TstFolderScanner::scanOrder_data() {
    QTest::addColumn<bool>("recursive");
    QTest::addColumn<QStringList>("extensions");
    QTest::addColumn<QStringList>("expected");
    const QStringList defaults = library::audioExtensions();
    // Files of a folder by extension, then subfolders, the last by name first.
    QTest::newRow("default extensions")
        << true << defaults << QStringList{"a.mp3", "c.MP3", "b.ogg", "y/1.mp3", "x/1.mp3"};
    QTest::newRow("extension list order")
        << true << QStringList{"OGG", "mp3"}
        << QStringList{"b.ogg", "a.mp3", "c.MP3", "y/1.mp3", "x/1.mp3"};
    QTest::newRow("not recursive") << false << defaults << QStringList{"a.mp3", "c.MP3", "b.ogg"};
}

void TstFolderScanner::scanOrder() {
    QFETCH(bool, recursive);
    QFETCH(QStringList, extensions);
    QFETCH(QStringList, expected);
    for (const char* name : {"a.mp3", "c.MP3", "x/1.mp3", "y/1.mp3", ".hidden/1.mp3"})
        place(kMp3, QStringLiteral("music/") + QLatin1String(name));
    place(kOgg, QStringLiteral("music/b.ogg"));
    place(kMp3, QStringLiteral("music/._b.mp3"));
    place(kMp3, QStringLiteral("music/d.txt"));

    const QString music = m_dir->filePath(QStringLiteral("music"));
    expected.replaceInStrings(QRegularExpression(QStringLiteral("^")), music + QLatin1Char('/'));
    QCOMPARE(scan(music, recursive, extensions), expected);
    QVERIFY(!m_scanner->isRunning());
}

void TstFolderScanner::symlinkLoopEnds() {
    const QString song = place(kMp3, QStringLiteral("music/sub/a.mp3"));
    const QString music = m_dir->filePath(QStringLiteral("music"));
    QVERIFY(QFile::link(music, music + QStringLiteral("/sub/loop")));
    QCOMPARE(scan(music), QStringList{song});
}

void TstFolderScanner::restartDeliversNoStaleFile() {
    const QString first = place(kMp3, QStringLiteral("many/0.mp3"));
    for (int i = 1; i < 300; ++i)
        QVERIFY(QFile::copy(first, m_dir->filePath(QStringLiteral("many/%1.mp3").arg(i))));
    const QStringList other{place(kMp3, QStringLiteral("other/a.mp3")),
                            place(kOgg, QStringLiteral("other/b.ogg"))};

    QSignalSpy finished(m_scanner.get(), &TFolderScanner::finished);
    QSignalSpy found(m_scanner.get(), &TFolderScanner::filesFound);
    m_scanner->start(m_dir->filePath(QStringLiteral("many")), true, {}, false);
    QVERIFY(found.wait(10000));
    QVERIFY(m_files.size() < 300);
    m_scanner->start(m_dir->filePath(QStringLiteral("other")), true, {}, false);
    QCOMPARE(finished.size(), 1); // the stopped scan ended inside start()
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, 10000);
    QTest::qWait(200); // anything still queued for the first scan would show now
    QCOMPARE(pathsOf(m_files), other);
    QCOMPARE(finished.size(), 2);
}

void TstFolderScanner::stopBeforeFirstFileFinishes() {
    for (int i = 0; i < 20; ++i)
        place(kMp3, QStringLiteral("music/%1.mp3").arg(i));
    QSignalSpy finished(m_scanner.get(), &TFolderScanner::finished);
    QSignalSpy running(m_scanner.get(), &TFolderScanner::runningChanged);
    m_scanner->start(m_dir->filePath(QStringLiteral("music")), true, {}, false);
    m_scanner->stop();
    QCOMPARE(finished.size(), 1);
    QCOMPARE(running.size(), 2);
    QCOMPARE(running.last().first().toBool(), false);
    QVERIFY(!m_scanner->isRunning());
    QTest::qWait(300);
    QVERIFY(m_files.isEmpty());
    QCOMPARE(finished.size(), 1);
}

void TstFolderScanner::unreadableFileIsReportedOnceAndScanGoesOn() {
    const QString a = place(kMp3, QStringLiteral("music/a.mp3"));
    const QString c = place(kOgg, QStringLiteral("music/c.ogg"));
    const QString broken = m_dir->filePath(QStringLiteral("music/broken.ogg"));
    QFile junk(broken);
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4000, 'x'));
    junk.close();

    QSignalSpy errors(m_scanner.get(), &TFolderScanner::readErrors);
    QCOMPARE(scan(m_dir->filePath(QStringLiteral("music"))), (QStringList{a, c}));
    QCOMPARE(errors.size(), 1);
    const QStringList messages = errors.first().first().toStringList();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().startsWith(QStringLiteral("Error reading file %1: ").arg(broken)),
             qPrintable(messages.first()));
}

void TstFolderScanner::playlistRows() {
    const QString a = place(kMp3, QStringLiteral("lists/a.mp3"));
    const QString b = place(kOgg, QStringLiteral("music/b.ogg"));
    const QString c = place(kMp3, QStringLiteral("lists/sub/c.mp3"));
    const QString playlist = m_dir->filePath(QStringLiteral("lists/LIST.M3U"));
    QFile file(playlist);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#EXTM3U\r\nsub\\c.mp3\r\nmissing.mp3\r\n" + b.toUtf8() + "\r\na.mp3\r\n");
    file.close();

    tags::TagOptions options;
    options.tagMode = tags::TagOptions::ID3v1Only;
    m_scanner->setTagOptions(options);
    QSignalSpy read(m_scanner.get(), &TFolderScanner::playlistRead);
    QSignalSpy errors(m_scanner.get(), &TFolderScanner::readErrors);
    QCOMPARE(scan(playlist, true, {}, true), (QStringList{c, b, a}));
    QCOMPARE(read.size(), 1);
    QCOMPARE(read.first().first().toString(), playlist);
    QVERIFY(errors.isEmpty());
    QCOMPARE(m_files.first()->options().tagMode, int(tags::TagOptions::ID3v1Only));
    QCOMPARE(m_files.first()->NewFileDir(), QFileInfo(c).absolutePath() + QLatin1Char('/'));
}

void TstFolderScanner::countFolders_data() {
    QTest::addColumn<QString>("root");
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("expected");
    QTest::newRow("no limit") << "top" << -1 << 5;
    QTest::newRow("start folder only") << "top" << 0 << 1;
    QTest::newRow("one level") << "top" << 1 << 3;
    QTest::newRow("missing folder") << "none" << -1 << 0;
}

void TstFolderScanner::countFolders() {
    QFETCH(QString, root);
    QFETCH(int, depth);
    QFETCH(int, expected);
    for (const char* folder : {"top/a/b/c", "top/d", "top/.e/f"})
        QVERIFY(QDir(m_dir->path()).mkpath(QString::fromLatin1(folder)));
    QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("top")),
                        m_dir->filePath(QStringLiteral("top/d/loop"))));
    QCOMPARE(library::countFolders(m_dir->filePath(root), depth), expected);
}

QTEST_GUILESS_MAIN(TstFolderScanner)
#include "tst_folderscanner.moc"
