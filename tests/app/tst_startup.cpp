#include "app/firststartform.h"
#include "app/mainwindow.h"
#include "app/playerhandoff.h"
#include "app/singleinstance.h"
#include "app/startup.h"
#include "app/startupdecisions.h"
#include "app/startwizard.h"
#include "app/tempfolder.h"
#include "library/tagcachedb.h"
#include "settings/multilanguage.h"
#include "settings/registrysave.h"
#include "settings/settings.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <memory>
#include <thread>

Q_DECLARE_METATYPE(app::HandOff)

namespace {

/// A folder with an audio file, a playlist in capitals and a subfolder.
struct StartFolder {
    QTemporaryDir dir;
    StartFolder() {
        QDir(dir.path()).mkdir(QStringLiteral("sub"));
        QDir(dir.path()).mkdir(QStringLiteral("Music"));
        for (const char* name : {"song.mp3", "X.M3U"}) {
            QFile file(path(QLatin1String(name)));
            file.open(QIODevice::WriteOnly);
        }
    }
    QString path(const QString& name) const { return dir.filePath(name); }
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private:
    StartFolder m_folder;

    /// Row values are names inside the start folder; "" stays empty, "/" stays as it is.
    QString inFolder(const QString& name) const {
        return name.isEmpty() || name.startsWith(QLatin1Char('/')) ? name : m_folder.path(name);
    }

private slots:
    void handOffDecision_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<app::HandOff>("expected");
        QTest::newRow("no argument") << QStringList() << app::HandOff::Nothing;
        QTest::newRow("folder") << QStringList{m_folder.path(QStringLiteral("sub"))}
                                << app::HandOff::Nothing;
        QTest::newRow("missing file")
            << QStringList{m_folder.path(QStringLiteral("gone.mp3"))} << app::HandOff::Nothing;
        QTest::newRow("playlist in capitals")
            << QStringList{m_folder.path(QStringLiteral("X.M3U"))} << app::HandOff::OpenPlaylist;
        QTest::newRow("audio file, only the first argument counts")
            << QStringList{m_folder.path(QStringLiteral("song.mp3")),
                           m_folder.path(QStringLiteral("X.M3U"))}
            << app::HandOff::PlayFile;
    }
    void handOffDecision() {
        QFETCH(QStringList, arguments);
        QFETCH(app::HandOff, expected);
        QCOMPARE(app::decideHandOff(arguments), expected);
    }

    void startPath_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("autoOpenMru");
        QTest::addColumn<QStringList>("recent");
        QTest::addColumn<QString>("music");
        QTest::addColumn<QString>("expected");
        const QStringList recent = {QStringLiteral("gone"), QStringLiteral("song.mp3"),
                                    QStringLiteral("sub")};
        QTest::newRow("command-line folder wins")
            << "sub" << true << QStringList{"Music"} << "Music"
            << "sub";
        QTest::newRow("command-line file is no start folder")
            << "song.mp3" << true << QStringList{"Music"} << "Music"
            << "Music";
        QTest::newRow("first recent entry on disk, a file counts")
            << "" << true << recent << "Music"
            << "song.mp3";
        QTest::newRow("no recent entry on disk opens nothing")
            << "" << true << QStringList{"gone", "gone2"} << "Music"
            << "";
        QTest::newRow("no recent entries: Music folder") << "" << true << QStringList() << "Music"
                                                         << "Music";
        QTest::newRow("no recent entries, no Music folder: home")
            << "" << true << QStringList() << "NoMusic"
            << "/home-of-test";
        QTest::newRow("AutoOpenMRU off opens nothing") << "" << false << recent << "Music"
                                                       << "";
    }
    void startPath() {
        QFETCH(QString, argument);
        QFETCH(bool, autoOpenMru);
        QFETCH(QStringList, recent);
        QFETCH(QString, music);
        QFETCH(QString, expected);
        for (QString& entry : recent)
            entry = inFolder(entry);
        QCOMPARE(app::chooseStartPath(inFolder(argument), autoOpenMru, recent, inFolder(music),
                                      QStringLiteral("/home-of-test")),
                 inFolder(expected));
    }

    void cacheRoots_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("ordinary folder") << m_folder.path(QStringLiteral("sub")) << true;
        QTest::newRow("missing folder") << m_folder.path(QStringLiteral("gone")) << false;
        QTest::newRow("root holds /proc") << "/" << false;
        QTest::newRow("proc") << "/proc" << false;
        QTest::newRow("inside sys") << "/sys/kernel" << false;
        QTest::newRow("dev") << "/dev" << false;
        QTest::newRow("run") << "/run" << false;
    }
    void cacheRoots() {
        QFETCH(QString, folder);
        QFETCH(bool, allowed);
        QCOMPARE(app::mayBuildCacheIn(folder), allowed);
    }

    void secondStartHandsOverLongPathAndFirstCanBeRetaken() {
        QTemporaryDir runtime;
        const QString lock = runtime.filePath(QStringLiteral("Varlo.lock"));
        const QString server = runtime.filePath(QStringLiteral("s"));
        auto first = std::make_unique<app::TSingleInstance>(lock, server);
        QVERIFY(first->becomeFirst());
        QSignalSpy received(first.get(), &app::TSingleInstance::pathReceived);

        app::TSingleInstance second(lock, server);
        QVERIFY(!second.becomeFirst());
        const QString longPath = QStringLiteral("/music/") + QString(4990, QChar(0x00e9));
        QVERIFY(app::TSingleInstance::handOver(longPath, server));
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received.first().first().toString(), longPath);

        first.reset();
        app::TSingleInstance next(lock, server);
        QVERIFY(next.becomeFirst());
    }

    void staleLockOfDeadProcessIsTakenOver() {
        QTemporaryDir runtime;
        const QString lock = runtime.filePath(QStringLiteral("Varlo.lock"));
        QProcess gone;
        gone.start(QStringLiteral("true"));
        QVERIFY(gone.waitForStarted());
        const qint64 deadPid = gone.processId();
        QVERIFY(gone.waitForFinished());
        QFile file(lock);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::number(deadPid) + "\nVarlo\n" +
                   QSysInfo::machineHostName().toUtf8() + "\n");
        file.close();
        app::TSingleInstance instance(lock, runtime.filePath(QStringLiteral("s")));
        QVERIFY(instance.becomeFirst());
    }

    void waitingStartBecomesFirstWhenTheHolderGoes() {
        QTemporaryDir runtime;
        const QString lock = runtime.filePath(QStringLiteral("Varlo.lock"));
        QLockFile holder(lock);
        QVERIFY(holder.tryLock(0));
        // The holder never answers on the socket, like a first instance that is closing.
        std::thread release([&holder] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            holder.unlock();
        });
        app::TSingleInstance instance(lock, runtime.filePath(QStringLiteral("s")));
        const bool first = instance.becomeFirst();
        release.join();
        QVERIFY(first);
    }

    void handedOverFilesReachListAndPlayer() {
        app::TFormMain window;
        window.setReady();
        app::receiveHandOff(window, m_folder.path(QStringLiteral("sub")));
        QVERIFY(window.currentFolder().isEmpty());
        QVERIFY(!window.player().hasCurrent());
        app::receiveHandOff(window, m_folder.path(QStringLiteral("X.M3U")));
        QCOMPARE(window.currentFolder(), m_folder.path(QStringLiteral("X.M3U")));
        app::receiveHandOff(window, m_folder.path(QStringLiteral("song.mp3")));
        QVERIFY(window.player().hasCurrent());
    }

    void tempFolderIsPrivateAndRemoved() {
        QString path;
        {
            app::TTempFolder folder;
            QVERIFY(folder.isValid());
            path = app::tempFolder();
            QCOMPARE(path, folder.path());
            const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup |
                                              QFile::ExeGroup | QFile::ReadOther |
                                              QFile::WriteOther | QFile::ExeOther;
            QCOMPARE(QFileInfo(path).permissions() & others, QFile::Permissions());
            for (const QString& name : app::TTempFolder::subfolders())
                QVERIFY(QFileInfo(QDir(path).filePath(name)).isDir());
        }
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(app::tempFolder().isEmpty());
    }

    void firstStartBuildsCacheButSkipsSystemFolders() {
        QTemporaryDir work;
        const QString music = work.filePath(QStringLiteral("Music"));
        QVERIFY(QDir().mkpath(music));
        QVERIFY(QFile::copy(QStringLiteral(VARLO_TEST_DATA "/id3/v24-utf8.mp3"),
                            music + QStringLiteral("/a.mp3")));
        app::CacheBuildSetup setup;
        setup.databasePath = work.filePath(QStringLiteral("cache.db"));
        setup.extensions = {QStringLiteral("MP3")};
        setup.initialFolders = {music, QStringLiteral("/proc")};
        const settings::TMultiLanguage english;
        app::TFirstStartForm form(setup, english);
        QVERIFY(form.useCache() && form.backgroundSynching());
        QSignalSpy ended(&form, &app::TFirstStartForm::buildEnded);
        form.buildCache();
        QTRY_COMPARE(ended.size(), 1);
        library::TTagCacheDB db(setup.databasePath);
        QCOMPARE(db.recordCount(), 1);
    }

    void cancelStopsARunningBuildInsteadOfClosing() {
        QTemporaryDir work;
        app::CacheBuildSetup setup;
        setup.databasePath = work.filePath(QStringLiteral("cache.db"));
        setup.extensions = {QStringLiteral("MP3")};
        setup.initialFolders = {work.path()};
        const settings::TMultiLanguage english;
        app::TFirstStartForm form(setup, english);
        form.show();
        form.buildCache();
        QVERIFY(form.isBuilding());
        form.reject();
        QVERIFY(form.isVisible());
        QTRY_VERIFY(!form.isBuilding());
        form.reject();
        QVERIFY(!form.isVisible());
    }

    void startAssistantStoresDontShowAgainOnClose() {
        QTemporaryDir work;
        settings::TRegistrySave store(work.filePath(QStringLiteral("Varlo.ini")));
        settings::Settings current;
        app::TStartWizard wizard(current, store);
        const auto findDuplicates = wizard.findChildren<QPushButton*>().at(2);
        QCOMPARE(findDuplicates->text(), QStringLiteral("Find duplicates"));
        QVERIFY(!findDuplicates->isEnabled());
        bool ran = false;
        wizard.setCommand(app::TStartWizard::FindDuplicates, [&ran] { ran = true; });
        QVERIFY(findDuplicates->isEnabled());

        wizard.findChild<QCheckBox*>()->setChecked(true);
        findDuplicates->click();
        QVERIFY(ran);
        settings::Settings reread;
        reread.load(store);
        QVERIFY(!reread.showStartAssistant());
    }

    void shutdownStepsRunPastAFailure() {
        int ran = 0;
        QTest::ignoreMessage(QtWarningMsg, "Varlo: shutdown step \"failing\" failed: disk full");
        app::runShutdownStep("failing", [] { throw std::runtime_error("disk full"); });
        app::runShutdownStep("next", [&ran] { ++ran; });
        QCOMPARE(ran, 1);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
