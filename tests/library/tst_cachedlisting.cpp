#include "library/cachedlisting.h"
#include "library/folderwalk.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>

using library::ListingCounts;
using library::TTagCacheDB;

class TstCachedListing : public QObject {
    Q_OBJECT

private slots:
    void secondListingComesFromTheCache_data();
    void secondListingComesFromTheCache();
    void cliListsTheSameWithAndWithoutCache();
};

namespace {

/// An MPEG file holding only an ID3v1 tag: enough for a reader to find a title.
void writeTaggedFile(const QString& path, const QByteArray& title) {
    QByteArray tag(128, '\0');
    tag.replace(0, 3, "TAG");
    tag.replace(3, title.size(), title);
    tag.replace(33, 6, "Artist");
    tag[127] = char(255);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(tag);
}

/// Puts the modification time back exactly as it was, as tag editors that keep dates do.
void restoreModificationTime(const QString& path, const tags::FileStamp& before) {
    timespec times[2];
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = before.modifiedNs / 1'000'000'000;
    times[1].tv_nsec = before.modifiedNs % 1'000'000'000;
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

enum class Change { None, Delete, Add, RewriteKeepingDate, NewFileCase };

struct Listing {
    ListingCounts counts;
    QStringList titles;
};

} // namespace

Q_DECLARE_METATYPE(Change)

void TstCachedListing::secondListingComesFromTheCache_data() {
    QTest::addColumn<Change>("change");
    QTest::addColumn<int>("reads");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<int>("records");

    QTest::newRow("unchanged files are not opened")
        << Change::None << 0 << QStringList{"One", "Two", "Three"} << 3;
    QTest::newRow("a deleted file disappears with its record")
        << Change::Delete << 0 << QStringList{"One", "Three"} << 2;
    QTest::newRow("a new file is read")
        << Change::Add << 1 << QStringList{"One", "Two", "Three", "Four"} << 4;
    QTest::newRow("a rewritten file with its date restored is read again")
        << Change::RewriteKeepingDate << 1 << QStringList{"One", "Owt", "Three"} << 3;
    QTest::newRow("a file differing only in case is another file")
        << Change::NewFileCase << 1 << QStringList{"One", "Two", "Three", "Big"} << 4;
}

void TstCachedListing::secondListingComesFromTheCache() {
    QFETCH(Change, change);
    QFETCH(int, reads);
    QFETCH(QStringList, titles);
    QFETCH(int, records);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("sub"));
    const QString one = dir.filePath("a.mp3"), two = dir.filePath("b.mp3"),
                  three = dir.filePath("sub/c.mp3");
    writeTaggedFile(one, "One");
    writeTaggedFile(two, "Two");
    writeTaggedFile(three, "Three");

    TTagCacheDB db(dir.filePath("cache/cache.db"));
    int readCount = 0;
    const auto realReader = library::fileReader({});
    const library::FileReader countingReader = [&](const QString& path) {
        ++readCount;
        return realReader(path);
    };
    const auto list = [&] {
        Listing listing;
        listing.counts = library::listThroughCache(
            db, dir.path(), true, library::audioExtensions(), countingReader,
            [&](tags::TMP3& file, bool) { listing.titles << file.get(tags::Field::Title); },
            tags::TagOptions::Mixed);
        return listing;
    };
    QCOMPARE(list().counts.read, 3);

    // The kernel stamps times at a coarse tick; a change in the same tick would look untouched.
    QThread::msleep(20);
    if (change == Change::Delete)
        QVERIFY(QFile::remove(two));
    else if (change == Change::Add)
        writeTaggedFile(dir.filePath("sub/d.mp3"), "Four");
    else if (change == Change::NewFileCase)
        writeTaggedFile(dir.filePath("sub/C.mp3"), "Big");
    else if (change == Change::RewriteKeepingDate) {
        const tags::FileStamp before = tags::FileStamp::of(two);
        QFile file(two);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(3));
        file.write("Owt");
        file.close();
        restoreModificationTime(two, before);
        QCOMPARE(tags::FileStamp::of(two).modifiedNs, before.modifiedNs);
        QCOMPARE(tags::FileStamp::of(two).size, before.size);
    }

    readCount = 0;
    const Listing second = list();
    QCOMPARE(readCount, reads);
    QCOMPARE(second.counts.read, reads);
    QStringList sortedTitles = second.titles, expectedTitles = titles;
    sortedTitles.sort();
    expectedTitles.sort();
    QCOMPARE(sortedTitles, expectedTitles);
    QCOMPARE(db.recordCount(), records);
}

void TstCachedListing::cliListsTheSameWithAndWithoutCache() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("music/50% off_"));
    writeTaggedFile(dir.filePath("music/50% off_/a.mp3"), "Tab\there");
    writeTaggedFile(dir.filePath("music/b.MP3"), "Bee");
    const auto run = [&](const QStringList& extra) {
        QProcess cli;
        cli.start(QStringLiteral(VARLO_CLI_PATH),
                  QStringList{"list", "--recursive"} + extra + QStringList{dir.filePath("music")});
        cli.waitForFinished();
        return cli.readAllStandardOutput();
    };
    const QByteArray direct = run({});
    const QStringList cached = {"--cache-db", dir.filePath("cache.db")};
    QCOMPARE(run(cached), direct);
    QCOMPARE(run(cached), direct);
    QCOMPARE(direct, QByteArray(qPrintable(
                         dir.filePath("music/50% off_/a.mp3") + "\tTab here\tArtist\t\t00:00\n" +
                         dir.filePath("music/b.MP3") + "\tBee\tArtist\t\t00:00\n")));
}

QTEST_GUILESS_MAIN(TstCachedListing)
#include "tst_cachedlisting.moc"
