#include "library/tagcachedb.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using library::CacheRecord;
using library::TTagCacheDB;

class TstTagCacheDB : public QObject {
    Q_OBJECT

private slots:
    void listFolder_data();
    void listFolder();
    void damagedFileIsMovedAsideAndRebuilt_data();
    void damagedFileIsMovedAsideAndRebuilt();
    void storeReplacesAndRemoves();
    void cleanKeepsRecordsOfMissingFolders();
};

namespace {

QList<CacheRecord> recordsAt(const QStringList& paths) {
    QList<CacheRecord> records;
    for (const QString& path : paths)
        records << CacheRecord{path, QStringLiteral("text of ") + path, {}};
    return records;
}

QStringList pathsOf(const QList<CacheRecord>& records) {
    QStringList paths;
    for (const CacheRecord& record : records)
        paths << record.path;
    return paths;
}

} // namespace

void TstTagCacheDB::listFolder_data() {
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("recursive");
    QTest::addColumn<QStringList>("extensions");
    QTest::addColumn<QStringList>("expected");

    const QStringList tree = {"/m/a.mp3", "/m/sub/b.mp3", "/m/sub/deep/c.ogg", "/m2/d.mp3",
                              "/m.mp3",   "/m 2/e.mp3",   "/m0/f.mp3"};
    QTest::newRow("recursive stays inside the folder")
        << tree << "/m" << true << QStringList()
        << QStringList{"/m/a.mp3", "/m/sub/b.mp3", "/m/sub/deep/c.ogg"};
    QTest::newRow("one level only")
        << tree << "/m/" << false << QStringList() << QStringList{"/m/a.mp3"};
    QTest::newRow("root, recursive") << QStringList{"/a.mp3", "/x/b.mp3"} << "/" << true
                                     << QStringList() << QStringList{"/a.mp3", "/x/b.mp3"};
    QTest::newRow("root, one level") << QStringList{"/a.mp3", "/x/b.mp3"} << "/" << false
                                     << QStringList() << QStringList{"/a.mp3"};
    QTest::newRow("paths differing in case are two files")
        << QStringList{"/m/Song.mp3", "/m/song.mp3", "/M/song.mp3"} << "/m" << false
        << QStringList() << QStringList{"/m/Song.mp3", "/m/song.mp3"};
    QTest::newRow("percent is no wildcard")
        << QStringList{"/m/a%b/x.mp3", "/m/axxb/y.mp3", "/m/ab/z.mp3"} << "/m/a%b" << true
        << QStringList() << QStringList{"/m/a%b/x.mp3"};
    QTest::newRow("underscore is no wildcard")
        << QStringList{"/m/a_b/x.mp3", "/m/axb/y.mp3"} << "/m/a_b" << false << QStringList()
        << QStringList{"/m/a_b/x.mp3"};
    QTest::newRow("extensions ignore case")
        << QStringList{"/m/a.MP3", "/m/b.Ogg", "/m/c.wma"} << "/m" << false
        << QStringList{"mp3", "OGG"} << QStringList{"/m/a.MP3", "/m/b.Ogg"};
    QTest::newRow("apostrophe and quotes in names")
        << QStringList{"/m/it's \"x\" `y`.mp3"} << "/m" << false << QStringList()
        << QStringList{"/m/it's \"x\" `y`.mp3"};
}

void TstTagCacheDB::listFolder() {
    QFETCH(QStringList, stored);
    QFETCH(QString, folder);
    QFETCH(bool, recursive);
    QFETCH(QStringList, extensions);
    QFETCH(QStringList, expected);

    TTagCacheDB db(QStringLiteral(":memory:"));
    QVERIFY(db.isOpen());
    QVERIFY(db.store(recordsAt(stored)));
    const QList<CacheRecord> listed = db.listFolder(folder, recursive, extensions);
    QCOMPARE(pathsOf(listed), expected);
    for (const CacheRecord& record : listed)
        QCOMPARE(record.text, QStringLiteral("text of ") + record.path);
}

void TstTagCacheDB::damagedFileIsMovedAsideAndRebuilt_data() {
    QTest::addColumn<bool>("otherVersion");
    QTest::newRow("not a database") << false;
    QTest::newRow("database of another version") << true;
}

void TstTagCacheDB::damagedFileIsMovedAsideAndRebuilt() {
    QFETCH(bool, otherVersion);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cache.db"));
    if (otherVersion) {
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QSqlQuery query(other);
            QVERIFY(query.exec("CREATE TABLE files (path TEXT)"));
            QVERIFY(query.exec("PRAGMA user_version = 99"));
            other.close();
        }
        QSqlDatabase::removeDatabase("other");
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'x'));
    }
    const qint64 oldSize = QFileInfo(path).size();

    TTagCacheDB db(path);
    QVERIFY2(db.isOpen(), qPrintable(db.message()));
    QVERIFY(!db.message().isEmpty());
    QCOMPARE(db.recordCount(), 0);
    QVERIFY(db.store(recordsAt({"/m/a.mp3"})));
    QCOMPARE(db.recordCount(), 1);
    const QStringList aside =
        QDir(dir.path()).entryList({QStringLiteral("cache.db.old-*")}, QDir::Files);
    QCOMPARE(aside.size(), 1);
    QCOMPARE(QFileInfo(dir.filePath(aside.first())).size(), oldSize);
}

void TstTagCacheDB::storeReplacesAndRemoves() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/cache.db"));
    {
        TTagCacheDB db(path);
        QVERIFY(db.store(recordsAt({"/m/a.mp3", "/m/b.mp3"})));
        CacheRecord changed{"/m/a.mp3", "new text", {}};
        changed.stamp.size = 1234;
        changed.stamp.changedNs = 1'700'000'000'123'456'789;
        changed.stamp.inode = 0xFFFF'FFFF'FFFFull;
        QVERIFY(db.store({changed}));
        QVERIFY(db.remove({"/m/b.mp3"}));
    }
    TTagCacheDB reopened(path);
    QVERIFY(reopened.message().isEmpty());
    QCOMPARE(reopened.recordCount(), 1);
    const auto record = reopened.load(QStringLiteral("/m/a.mp3"));
    QVERIFY(record);
    QCOMPARE(record->text, QStringLiteral("new text"));
    QCOMPARE(record->stamp.size, 1234);
    QCOMPARE(record->stamp.changedNs, 1'700'000'000'123'456'789);
    QCOMPARE(record->stamp.inode, 0xFFFF'FFFF'FFFFull);
    QVERIFY(!reopened.load(QStringLiteral("/m/b.mp3")));
    QVERIFY(reopened.compact());
}

void TstTagCacheDB::cleanKeepsRecordsOfMissingFolders() {
    QTemporaryDir dir;
    QFile present(dir.filePath(QStringLiteral("present.mp3")));
    QVERIFY(present.open(QIODevice::WriteOnly));
    TTagCacheDB db(QStringLiteral(":memory:"));
    const QString unmounted = QStringLiteral("/nonexistent-varlo-disk/a.mp3");
    QVERIFY(db.store(recordsAt({present.fileName(), dir.filePath("gone.mp3"), unmounted})));
    QCOMPARE(db.clean(), 1);
    QVERIFY(db.load(present.fileName()));
    QVERIFY(db.load(unmounted));
    QVERIFY(!db.load(dir.filePath("gone.mp3")));
}

QTEST_GUILESS_MAIN(TstTagCacheDB)
#include "tst_tagcachedb.moc"
