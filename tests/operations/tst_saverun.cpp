// The save run on copies of the fixtures: conflicts, moves, Stop, companions, playlists.
#include "testsupport.h"

#include "operations/leavecheck.h"
#include "operations/saverun.h"
#include "operations/trash.h"
#include "tags/audiofile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using library::FileHandle;
using operations::DuplicateAnswer;
using operations::DuplicatePolicy;

Q_DECLARE_METATYPE(operations::DuplicatePolicy)
Q_DECLARE_METATYPE(operations::DuplicateAnswer::Choice)
Q_DECLARE_METATYPE(operations::Answer)
Q_DECLARE_METATYPE(operations::LeaveDecision)

namespace {

const QString kTagged = QStringLiteral(VARLO_TEST_DATA "/mpeg/tagged-v1v2.mp3");
const QString kOther = QStringLiteral(VARLO_TEST_DATA "/mpeg/tagged-v1.mp3");

QString copyTo(const QString& fixture, const QString& target) {
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::copy(fixture, target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

QByteArray contentHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5).toHex();
}

/// MD5 of the audio stream alone: the tags may change, the audio never.
QString audioMd5(const QString& path) {
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-v", "quiet", "-i", path, "-map", "0:a", "-c", "copy", "-f", "md5", "-"});
    ffmpeg.waitForFinished(30000);
    return QString::fromLatin1(ffmpeg.readAllStandardOutput()).trimmed();
}

FileHandle load(const QString& path) {
    return std::make_shared<tags::TMP3>(path);
}

/// A loaded file that wants the name `name` (and the folder `folder`, when given).
FileHandle wanting(const QString& path, const QString& name, const QString& folder = {}) {
    FileHandle file = load(path);
    file->setFileName(name);
    if (!folder.isEmpty())
        file->setNewFileDir(folder + '/');
    file->setChanged(true);
    return file;
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

/// Answers conflicts from a script and stops when told to.
struct ScriptedHost : operations::SaveRunHost {
    int stopAt = -1;
    QList<DuplicateAnswer> answers;
    int questions = 0;
    QList<std::pair<FileHandle, FileHandle>> merged;

    bool progress(int done, int, const QString&) override { return done != stopAt; }
    DuplicateAnswer askDuplicateName(const operations::DuplicateQuestion&) override {
        ++questions;
        return answers.isEmpty() ? DuplicateAnswer{} : answers.takeFirst();
    }
    void rowMerged(const FileHandle& removed, const FileHandle& survivor) override {
        merged << std::pair{removed, survivor};
    }
};

operations::SaveReport saveAll(QList<FileHandle>& files, ScriptedHost& host,
                               operations::SaveOptions options = {}) {
    return operations::TSaveRun(files, options, host).run();
}

/// Makes a folder refuse new entries even for root (chattr +i); undone when it goes out of
/// scope so the temporary folder can be removed.
struct LockedFolder {
    QString path;
    bool locked = false;
    explicit LockedFolder(const QString& folder) : path(folder) {
        if (folder.isEmpty())
            return;
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        if (::geteuid() == 0)
            locked = QProcess::execute(QStringLiteral("chattr"), {"+i", folder}) == 0;
        else
            locked = true;
    }
    ~LockedFolder() {
        if (path.isEmpty())
            return;
        if (::geteuid() == 0)
            QProcess::execute(QStringLiteral("chattr"), {"-i", path});
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

} // namespace

class TestSaveRun : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // The trash of this test lives below ~/.qttest, not in the user's own trash.
        QStandardPaths::setTestModeEnabled(true);
    }

    void duplicatePolicy_data() {
        QTest::addColumn<DuplicatePolicy>("policy");
        QTest::addColumn<DuplicateAnswer::Choice>("answer");
        QTest::addColumn<QString>("typedName");
        QTest::addColumn<bool>("numberOneTaken");
        QTest::addColumn<QString>("savedAs"); // empty: not saved
        QTest::addColumn<QStringList>("folder");

        const QStringList skipped{"X.mp3", "a.mp3"};
        QTest::newRow("skip") << DuplicatePolicy::Skip << DuplicateAnswer::Skip << "" << false << ""
                              << skipped;
        QTest::newRow("rename (1)") << DuplicatePolicy::Rename << DuplicateAnswer::Skip << ""
                                    << false << "X (1).mp3" << QStringList{"X (1).mp3", "X.mp3"};
        QTest::newRow("rename (2)")
            << DuplicatePolicy::Rename << DuplicateAnswer::Skip << "" << true << "X (2).mp3"
            << QStringList{"X (1).mp3", "X (2).mp3", "X.mp3"};
        QTest::newRow("replace") << DuplicatePolicy::Replace << DuplicateAnswer::Skip << "" << false
                                 << "X.mp3" << QStringList{"X.mp3"};
        QTest::newRow("ask skip") << DuplicatePolicy::Ask << DuplicateAnswer::Skip << "" << false
                                  << "" << skipped;
        QTest::newRow("ask rename typed")
            << DuplicatePolicy::Ask << DuplicateAnswer::Rename << "Y.mp3" << false << "Y.mp3"
            << QStringList{"X.mp3", "Y.mp3"};
        QTest::newRow("ask replace") << DuplicatePolicy::Ask << DuplicateAnswer::Replace << ""
                                     << false << "X.mp3" << QStringList{"X.mp3"};
    }
    void duplicatePolicy() {
        QFETCH(DuplicatePolicy, policy);
        QFETCH(DuplicateAnswer::Choice, answer);
        QFETCH(QString, typedName);
        QFETCH(bool, numberOneTaken);
        QFETCH(QString, savedAs);
        QFETCH(QStringList, folder);
        QTemporaryDir dir;
        const QString existing = copyTo(kOther, dir.filePath("X.mp3"));
        const QByteArray existingHash = contentHash(existing);
        if (numberOneTaken)
            copyTo(kOther, dir.filePath("X (1).mp3"));
        QList<FileHandle> files{wanting(copyTo(kTagged, dir.filePath("a.mp3")), "X")};
        const QString audio = audioMd5(files[0]->FilePath());
        ScriptedHost host;
        host.answers << DuplicateAnswer{answer, typedName, false};

        operations::SaveOptions options;
        options.duplicates = policy;
        const operations::SaveReport report = saveAll(files, host, options);

        QCOMPARE(host.questions, policy == DuplicatePolicy::Ask ? 1 : 0);
        QCOMPARE(filesIn(dir.path()), folder);
        if (savedAs.isEmpty()) {
            QCOMPARE(report.failed.size(), 1);
            QCOMPARE(report.failed[0].path, dir.filePath("a.mp3"));
            QVERIFY(files[0]->Changed()); // still waits, with the wanted name
            QCOMPARE(files[0]->FileName(), QStringLiteral("X"));
            QCOMPARE(contentHash(existing), existingHash);
            return;
        }
        QVERIFY(report.failed.isEmpty());
        QVERIFY(report.setAside.isEmpty());
        QCOMPARE(files[0]->FilePath(), dir.filePath(savedAs));
        QVERIFY(!files[0]->Changed());
        QCOMPARE(audioMd5(dir.filePath(savedAs)), audio);
        QCOMPARE(load(dir.filePath(savedAs))->get(tags::Field::Title), QString("Title v2"));
    }

    void caseOnlyRenameNeverDestroys_data() {
        QTest::addColumn<DuplicatePolicy>("policy");
        QTest::addColumn<QStringList>("folder");
        QTest::newRow("skip") << DuplicatePolicy::Skip << QStringList{"A.mp3", "a.mp3"};
        QTest::newRow("rename") << DuplicatePolicy::Rename << QStringList{"A (1).mp3", "A.mp3"};
    }
    void caseOnlyRenameNeverDestroys() {
        QFETCH(DuplicatePolicy, policy);
        QFETCH(QStringList, folder);
        QTemporaryDir dir;
        const QByteArray upper = contentHash(copyTo(kOther, dir.filePath("A.mp3")));
        const QByteArray lower = contentHash(copyTo(kTagged, dir.filePath("a.mp3")));
        QList<FileHandle> files{wanting(dir.filePath("a.mp3"), "A")};
        ScriptedHost host;
        operations::SaveOptions options;
        options.duplicates = policy;
        saveAll(files, host, options);
        QCOMPARE(filesIn(dir.path()), folder);
        QCOMPARE(contentHash(dir.filePath("A.mp3")), upper);
        QCOMPARE(contentHash(files[0]->FilePath()), lower);
    }

    void replaceMergesTheRows() {
        QTemporaryDir dir;
        QList<FileHandle> files{load(copyTo(kOther, dir.filePath("X.mp3"))),
                                load(copyTo(kTagged, dir.filePath("b.mp3"))),
                                wanting(copyTo(kTagged, dir.filePath("a.mp3")), "X")};
        const FileHandle replaced = files[0];
        const FileHandle saved = files[2];
        ScriptedHost host;
        operations::SaveOptions options;
        options.duplicates = DuplicatePolicy::Replace;
        const operations::SaveReport report = saveAll(files, host, options);
        QCOMPARE(report.saved, 1);
        QCOMPARE(files, (QList<FileHandle>{saved, files[1]}));
        QCOMPARE(host.merged.size(), 1);
        QCOMPARE(host.merged[0].first, replaced);
        QCOMPARE(host.merged[0].second, saved);
        QCOMPARE(filesIn(dir.path()), QStringList({"X.mp3", "b.mp3"}));
    }

    void moves_data() {
        QTest::addColumn<QString>("subfolder");
        QTest::addColumn<QString>("name");
        QTest::newRow("rename in place") << ""
                                         << "Artist - Title";
        QTest::newRow("restructure") << "Artist v2/Album v2"
                                     << "a";
    }
    void moves() {
        QFETCH(QString, subfolder);
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString source = copyTo(kTagged, dir.filePath("a.mp3"));
        const QString audio = audioMd5(source);
        const QString folder = subfolder.isEmpty() ? dir.path() : dir.filePath(subfolder);
        QList<FileHandle> files{wanting(source, name, folder)};
        files[0]->set(tags::Field::Album, QStringLiteral("Neues Album"));
        ScriptedHost host;
        const operations::SaveReport report = saveAll(files, host);
        const QString target = folder + '/' + name + ".mp3";
        QCOMPARE(report.saved, 1);
        QCOMPARE(report.renamed.size(), 1);
        QCOMPARE(report.renamed[0].oldPath, source);
        QCOMPARE(report.renamed[0].newPath, target);
        QCOMPARE(report.foldersChanged, !subfolder.isEmpty());
        QVERIFY(!QFile::exists(source));
        QCOMPARE(audioMd5(target), audio);
        const FileHandle reread = load(target);
        QCOMPARE(reread->get(tags::Field::Album), QString("Neues Album"));
        QCOMPARE(reread->get(tags::Field::Title), QString("Title v2"));
    }

    void unwritableTargetIsListedAndTheRestSaved_data() {
        QTest::addColumn<bool>("lockedFolder");
        QTest::newRow("read-only folder") << true;
        QTest::newRow("folder path blocked by a file") << false;
    }
    void unwritableTargetIsListedAndTheRestSaved() {
        QFETCH(bool, lockedFolder);
        QTemporaryDir dir;
        const QString blocked = dir.filePath("blocked");
        if (lockedFolder)
            QDir().mkpath(blocked);
        else
            copyTo(kOther, blocked); // a file where a folder would have to be created
        const QString target = lockedFolder ? blocked : blocked + "/sub";
        QList<FileHandle> files{wanting(copyTo(kTagged, dir.filePath("1.mp3")), "one"),
                                wanting(copyTo(kTagged, dir.filePath("2.mp3")), "two", target),
                                wanting(copyTo(kTagged, dir.filePath("3.mp3")), "three")};
        const LockedFolder lock(lockedFolder ? blocked : QString());
        if (lockedFolder && !lock.locked)
            QSKIP("this file system cannot lock a folder");
        ScriptedHost host;
        const operations::SaveReport report = saveAll(files, host);
        QCOMPARE(report.saved, 2);
        QCOMPARE(report.failed.size(), 1);
        QCOMPARE(report.failed[0].path, dir.filePath("2.mp3"));
        QVERIFY(!report.failed[0].message.isEmpty());
        QVERIFY(files[1]->Changed());
        QCOMPARE(files[1]->NewFileDir(), target + '/');
        QCOMPARE(filesIn(dir.path()).filter(".mp3"),
                 QStringList({"2.mp3", "one.mp3", "three.mp3"}));
        QVERIFY(tags::pendingChanges());
    }

    void stopHalfWay() {
        QTemporaryDir dir;
        QList<FileHandle> files;
        for (int i = 0; i < 4; ++i) {
            files << load(copyTo(kTagged, dir.filePath(QString("%1.mp3").arg(i))));
            files.last()->set(tags::Field::Title, QStringLiteral("new"));
            files.last()->setChanged(true);
        }
        ScriptedHost host;
        host.stopAt = 2;
        const operations::SaveReport report = saveAll(files, host);
        QVERIFY(report.stopped);
        QCOMPARE(report.saved, 2);
        for (int i = 0; i < 4; ++i) {
            const bool saved = i < 2;
            QCOMPARE(files[i]->Changed(), !saved);
            QCOMPARE(load(files[i]->FilePath())->get(tags::Field::Title),
                     saved ? QString("new") : QString("Title v2"));
        }
        QVERIFY(operations::hasUnsavedChanges(files));
        QVERIFY(!operations::mayLeaveAfterSave(report));
    }

    void companionFollows() {
        QTemporaryDir dir;
        QFile cdg(dir.filePath("a.cdg"));
        QVERIFY(cdg.open(QIODevice::WriteOnly));
        cdg.write("graphics");
        cdg.close();
        QList<FileHandle> files{
            wanting(copyTo(kTagged, dir.filePath("a.mp3")), "b", dir.filePath("karaoke"))};
        ScriptedHost host;
        QCOMPARE(saveAll(files, host).saved, 1);
        QCOMPARE(filesIn(dir.filePath("karaoke")), QStringList({"b.cdg", "b.mp3"}));
        QVERIFY(filesIn(dir.path()).isEmpty());
    }

    void emptyNameIsSavedAsNoName() {
        QTemporaryDir dir;
        QList<FileHandle> files{wanting(copyTo(kTagged, dir.filePath("a.mp3")), "")};
        ScriptedHost host;
        QCOMPARE(saveAll(files, host).saved, 1);
        QCOMPARE(filesIn(dir.path()), QStringList({"NoName.mp3"}));
    }

    void playlistWriteBack_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("expected");
        QTest::newRow("m3u") << "list.m3u"
                             << ""
                             << "#EXTM3U\r\n#EXTINF:$SECONDS,Title v2\r\nsub/b.mp3\r\n"
                                "#EXTINF:$SECONDS,Title v2\r\n$ELSEWHERE\r\n";
        QTest::newRow("pls")
            << "list.pls"
            << "[playlist]\nplaylistname=Mine\nFile1=x\n"
            << "[playlist]\r\nPlaylistName=Mine\r\nFile1=$BELOW\r\nTitle1=Title v2\r\n"
               "Length1=$SECONDS\r\nFile2=$ELSEWHERE\r\nTitle2=Title v2\r\nLength2=$SECONDS\r\n"
               "NumberOfEntries=2\r\nVersion=2\r\n";
    }
    void playlistWriteBack() {
        QFETCH(QString, name);
        QFETCH(QString, before);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QTemporaryDir elsewhere;
        const QString playlist = dir.filePath(name);
        QFile file(playlist);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before.toUtf8());
        file.close();
        QList<FileHandle> files{wanting(copyTo(kTagged, dir.filePath("sub/a.mp3")), "b"),
                                load(copyTo(kTagged, elsewhere.filePath("c.mp3")))};
        const QString seconds = QString::number(files[0]->stream().TimeLength);
        ScriptedHost host;
        operations::SaveOptions options;
        options.playlistPath = playlist;
        QVERIFY(saveAll(files, host, options).failed.isEmpty());
        QVERIFY(file.open(QIODevice::ReadOnly));
        expected.replace("$BELOW", dir.filePath("sub/b.mp3"))
            .replace("$ELSEWHERE", elsewhere.filePath("c.mp3"))
            .replace("$SECONDS", seconds);
        QCOMPARE(QString::fromUtf8(file.readAll()), expected);
    }

    void playlistFailureLeavesTheOldOne() {
        QTemporaryDir dir;
        const QString folder = dir.filePath("lists");
        QDir().mkpath(folder);
        const QString playlist = folder + "/list.m3u";
        QFile file(playlist);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#EXTM3U\r\nold.mp3\r\n");
        file.close();
        QList<FileHandle> files{load(copyTo(kTagged, dir.filePath("a.mp3")))};
        const LockedFolder lock(folder);
        if (!lock.locked)
            QSKIP("this file system cannot lock a folder");
        ScriptedHost host;
        operations::SaveOptions options;
        options.playlistPath = playlist;
        const operations::SaveReport report = saveAll(files, host, options);
        QCOMPARE(report.failed.size(), 1);
        QCOMPARE(report.failed[0].path, playlist);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("#EXTM3U\r\nold.mp3\r\n"));
    }

    void leaveDecision_data() {
        QTest::addColumn<bool>("hasChanges");
        QTest::addColumn<operations::Answer>("answer");
        QTest::addColumn<operations::LeaveDecision>("decision");
        using A = operations::Answer;
        using D = operations::LeaveDecision;
        QTest::newRow("nothing to save") << false << A::Cancel << D::Leave;
        QTest::newRow("yes") << true << A::Yes << D::SaveFirst;
        QTest::newRow("no") << true << A::No << D::DiscardAll;
        QTest::newRow("cancel") << true << A::Cancel << D::Stay;
    }
    void leaveDecision() {
        QFETCH(bool, hasChanges);
        QFETCH(operations::Answer, answer);
        QFETCH(operations::LeaveDecision, decision);
        QCOMPARE(operations::decideLeave(hasChanges, answer), decision);
    }

    void trashReportsWhatItCouldNotMove() {
        QTemporaryDir dir;
        const QString present = copyTo(kTagged, dir.filePath("a.mp3"));
        const QString missing = dir.filePath("missing.mp3");
        QCOMPARE(operations::moveToTrash({present, missing}), QStringList{missing});
        QVERIFY(!QFile::exists(present));
        QVERIFY(filesIn(QDir::currentPath()).filter("a.mp3").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSaveRun)
#include "tst_saverun.moc"
