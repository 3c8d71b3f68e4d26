// varlo-cli rename, restructure, generate and extract on copies of the fixtures.
#include "testsupport.h"

#include <QDir>
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

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString copy(const QTemporaryDir& dir, const QString& fixture, const QString& name) {
    const QString target = dir.filePath(name);
    QFile::copy(QStringLiteral(VARLO_TEST_DATA "/mpeg/") + fixture, target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

} // namespace

class TestCliTemplates : public QObject {
    Q_OBJECT
private slots:
    void renameDryRunPrintsAndKeepsFiles() {
        QTemporaryDir dir;
        const QString a = copy(dir, "tagged-v1v2.mp3", "a.mp3");
        const QString b = copy(dir, "tagged-v1.mp3", "b.mp3");
        const QString untagged = copy(dir, "cbr32-44k-stereo.mp3", "c.mp3");
        const CliRun run =
            runCli({"rename", "--dry-run", "--template", "#Art - #Tit", a, b, untagged});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QString("%1 -> %2\n%3 -> %4\n")
                              .arg(a, dir.filePath("Artist v2 - Title v2.mp3"), b,
                                   dir.filePath("Artist v1 - Only v1.mp3")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"a.mp3", "b.mp3", "c.mp3"}));
    }

    void renameMovesAndKeepsTagsAndAudio() {
        QTemporaryDir dir;
        const QString a = copy(dir, "tagged-v1v2.mp3", "a.mp3");
        const QByteArray before = bytesOf(a);
        const QJsonObject fields = fieldsOf(a);
        const CliRun run = runCli({"rename", "--template", "#Art - #Tit", a});
        QCOMPARE(run.exitCode, 0);
        const QString renamed = dir.filePath("Artist v2 - Title v2.mp3");
        QVERIFY(!QFile::exists(a));
        QCOMPARE(bytesOf(renamed), before);
        QCOMPARE(fieldsOf(renamed), fields);
    }

    void renameNeverReplacesAFile() {
        QTemporaryDir dir;
        const QString a = copy(dir, "tagged-v1v2.mp3", "a.mp3");
        const QString existing = copy(dir, "tagged-v1.mp3", "Artist v2 - Title v2.mp3");
        const QByteArray existingBytes = bytesOf(existing);
        const CliRun run = runCli({"rename", "--template", "#Art - #Tit", a});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(a));
        QVERIFY(QFile::exists(a));
        QCOMPARE(bytesOf(existing), existingBytes);
    }

    void restructureMovesBelowRoot() {
        QTemporaryDir dir;
        const QString a = copy(dir, "tagged-v1v2.mp3", "a.mp3");
        const QString root = dir.filePath("lib");
        const CliRun run =
            runCli({"restructure", "--root", root, "--template", ".\\#art\\#alb", a});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(QFile::exists(root + "/Artist v2/Album v2/a.mp3"));
    }

    void generateAndExtractSetFields_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<QString>("newName");
        QTest::newRow("generate") << "generate"
                                  << "#tra. #art - #tit"
                                  << "07. new artist - a song";
        QTest::newRow("extract") << "extract"
                                 << "#tra. #art - #any"
                                 << "a song";
    }
    void generateAndExtractSetFields() {
        QFETCH(QString, command);
        QFETCH(QString, templateText);
        QTemporaryDir dir;
        const QString a = copy(dir, "tagged-v1v2.mp3", "07. new artist - a song.mp3");
        const CliRun run = runCli({command, "--template", templateText, a});
        QCOMPARE(run.exitCode, 0);
        QFETCH(QString, newName);
        const QString result = dir.filePath(newName + ".mp3");
        QVERIFY2(QFile::exists(result), qPrintable(run.out + run.err));
        const QJsonObject fields = fieldsOf(result);
        QCOMPARE(fields["Artist"].toString(), QString("New Artist"));
        QCOMPARE(fields["Track"].toInt(), 7);
        // The tag is capitalised afterwards, untouched fields included.
        QCOMPARE(fields["Album"].toString(), QString("Album V2"));
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no template") << QStringList{"rename", "x.mp3"};
        QTest::newRow("no files") << QStringList{"extract", "--template", "#art"};
        QTest::newRow("unknown option")
            << QStringList{"generate", "--bogus", "--template", "#art", "x"};
    }
    void usageErrors() {
        QFETCH(QStringList, args);
        QCOMPARE(runCli(args).exitCode, 2);
    }

    void windowsBaseFailsPerFile() {
        QTemporaryDir dir;
        const QString a = copy(dir, "tagged-v1v2.mp3", "a.mp3");
        const CliRun run = runCli({"restructure", "--template", "C:\\Music\\#art", a});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("Windows"));
        QVERIFY(QFile::exists(a));
    }
};

QTEST_GUILESS_MAIN(TestCliTemplates)
#include "tst_cli_templates.moc"
