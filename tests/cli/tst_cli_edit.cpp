// varlo-cli set, frames and cache-text, run as a script would.
#include "testsupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QJsonObject fieldsOf(const QString& path) {
    const CliRun run = runCli({"show", "--json", path});
    return QJsonDocument::fromJson(run.out.toUtf8()).array().at(0).toObject()["fields"].toObject();
}

QString copy(const QTemporaryDir& dir, const QString& fixture) {
    const QString target = dir.filePath(QFileInfo(fixture).fileName());
    QFile::copy(QStringLiteral(VARLO_TEST_DATA "/") + fixture, target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

} // namespace

class TestCliEdit : public QObject {
    Q_OBJECT
private slots:
    void setSavesEveryFormat_data() {
        QTest::addColumn<QString>("fixture");
        QTest::newRow("mp3") << "mpeg/tagged-v1v2.mp3";
        QTest::newRow("ogg") << "ogg/tagged.ogg";
        QTest::newRow("wma") << "wma/tone.wma";
    }
    void setSavesEveryFormat() {
        QFETCH(QString, fixture);
        QTemporaryDir dir;
        const QString path = copy(dir, fixture);
        const CliRun run =
            runCli({"set", "-f", "Title=Новая песня", "-f", "track=9", "-f", "Genre=17", path});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        const QJsonObject fields = fieldsOf(path);
        QCOMPARE(fields["Title"].toString(), QStringLiteral("Новая песня"));
        QCOMPARE(fields["Track"].toInt(), 9);
        QCOMPARE(fields["GenreStr"].toString(), QStringLiteral("Rock"));
    }

    void setReportsFilesNotSavedAndSavesTheRest() {
        QTemporaryDir dir;
        const QString good = copy(dir, "mpeg/tagged-v1v2.mp3");
        const CliRun run = runCli({"set", "-f", "Album=X", dir.filePath("missing.mp3"), good});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(QStringLiteral("missing.mp3")));
        QCOMPARE(fieldsOf(good)["Album"].toString(), QStringLiteral("X"));
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no field") << QStringList{"set", "x.mp3"};
        QTest::newRow("unknown field") << QStringList{"set", "-f", "Colour=red", "x.mp3"};
        QTest::newRow("read-only field") << QStringList{"set", "-f", "Tempo=1", "x.mp3"};
        QTest::newRow("no file") << QStringList{"set", "-f", "Title=x"};
        QTest::newRow("frames without file") << QStringList{"frames"};
        QTest::newRow("cache-text two files") << QStringList{"cache-text", "a", "b"};
    }
    void usageErrors() {
        QFETCH(QStringList, args);
        QCOMPARE(runCli(args).exitCode, 2);
    }

    void framesListsOneFramePerLine() {
        const CliRun run =
            runCli({"frames", QStringLiteral(VARLO_TEST_DATA "/mpeg/tagged-v1v2.mp3")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains(QStringLiteral("TIT2\tTitle v2\n")));
        QVERIFY(run.out.contains(QStringLiteral("COMM\t")));
    }

    void cacheTextIsOneVersionedLine() {
        const CliRun run =
            runCli({"cache-text", QStringLiteral(VARLO_TEST_DATA "/mpeg/tagged-v1v2.mp3")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith(QStringLiteral("V2:~:TAG:~:")));
        QCOMPARE(run.out.count(QLatin1Char('\n')), 1);
    }
};

QTEST_GUILESS_MAIN(TestCliEdit)
#include "tst_cli_edit.moc"
