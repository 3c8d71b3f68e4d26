#include "app/cachecommands.h"
#include "library/tagcachedb.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestCacheCommands : public QObject {
    Q_OBJECT
private slots:
    void buildsThenCleansOutVanishedFiles() {
        QTemporaryDir dir;
        const QString sample = QStringLiteral(VARLO_TEST_DATA "/mpeg/cbr32-44k-stereo.mp3");
        QVERIFY(QDir().mkpath(dir.filePath("music")));
        QVERIFY(QFile::copy(sample, dir.filePath("music/a.mp3")));
        QVERIFY(QFile::copy(sample, dir.filePath("music/b.mp3")));
        const QString database = dir.filePath("cache.db");
        {
            app::TCacheCommands commands(database, {});
            QSignalSpy finished(&commands, &app::TCacheCommands::finished);
            QVERIFY(!commands.build({dir.filePath("missing")}, {"MP3"}));
            QVERIFY(commands.build({dir.filePath("music")}, {"MP3"}));
            QVERIFY(finished.wait(10000));
            QVERIFY(!commands.isBusy());
            QCOMPARE(library::TTagCacheDB(database).recordCount(), 2);

            QVERIFY(QFile::remove(dir.filePath("music/a.mp3")));
            commands.clean();
            QVERIFY(finished.wait(10000));
            QVERIFY(!finished.last().at(0).toBool());
            QVERIFY(finished.last().at(1).toString().startsWith("1 "));
        }
        QCOMPARE(library::TTagCacheDB(database).recordCount(), 1);
    }
};

QTEST_MAIN(TestCacheCommands)
#include "tst_cachecommands.moc"
