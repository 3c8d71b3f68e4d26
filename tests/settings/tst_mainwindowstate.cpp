#include "settings/mainwindowstate.h"
#include "settings/registrysave.h"

#include <QTemporaryDir>
#include <QTest>

using namespace settings;
namespace wn = settings::windownames;

class TstMainWindowState : public QObject {
    Q_OBJECT
private slots:
    void defaults();
    void roundTrip();
    void storedValuesRead_data();
    void storedValuesRead();
    void shorterRecentListStaysShort();

private:
    QString storePath() const { return m_dir.filePath(QStringLiteral("Varlo.conf")); }
    QTemporaryDir m_dir;
};

void TstMainWindowState::defaults() {
    const TMainWindowState state;
    QVERIFY(state.firstStart());
    QCOMPARE(state.workMode(), 3);
    QCOMPARE(state.latestWorkMode(), 3);
    QVERIFY(!state.commonMode());
    QVERIFY(state.statusBarVisible());
    QCOMPARE(state.sortColumn(), -1);
    QCOMPARE(state.value(QLatin1String(wn::ListViewCustomColor)).toInt(),
             220 | 228 << 8 | 227 << 16);
    QCOMPARE(state.value(QLatin1String(wn::PlayerMode)).toInt(), -1);
    QVERIFY(!state.value(QLatin1String(wn::Rename)).isValid()); // the menu keeps its choice
    QVERIFY(!state.lastUsedFolder(wn::LastUsedFolderImport).isEmpty());
    QVERIFY(state.lastUsedFolder(wn::LastUsedFolderTemplate).endsWith(QLatin1String("/Template")));
    QVERIFY(state.recentFolders().paths().isEmpty());
}

void TstMainWindowState::roundTrip() {
    TMainWindowState state;
    QVERIFY(state.setValue(QLatin1String(wn::WorkMode), 1));
    QVERIFY(state.setValue(QLatin1String(wn::LatestWorkMode), 2));
    QVERIFY(state.setValue(QLatin1String(wn::CommonMode), true));
    QVERIFY(state.setValue(QLatin1String(wn::StatusBar), false));
    QVERIFY(state.setValue(QLatin1String(wn::LastUsedTheme), QStringLiteral("Dark")));
    QVERIFY(state.setValue(QLatin1String(wn::PlayerShuffling), true));
    QVERIFY(state.setValue(QLatin1String(wn::FavouritesTitleView), 2));
    QVERIFY(state.setValue(QLatin1String(wn::SortColumn), 5));
    QVERIFY(state.setValue(QLatin1String(wn::SortDescending), true));
    QVERIFY(state.setValue(QLatin1String(wn::Rename), -1));
    QVERIFY(state.setValue(QLatin1String(wn::LastUsedFolderExport), QStringLiteral("/x & y")));
    QVERIFY(!state.setValue(QStringLiteral("NoSuchValue"), 1));
    state.recentFolders().setPaths({"/music/new", "/music/old"});
    state.setColumnLayout(QLatin1String(wn::LFolder), QStringLiteral("0,200;2,80;1,0;"));
    {
        TRegistrySave store(storePath());
        QVERIFY(state.save(store));
        QVERIFY(store.sync());
    }
    TMainWindowState restored;
    restored.load(TRegistrySave(storePath()));
    QVERIFY(!restored.firstStart());
    QVERIFY(restored.setValue(QLatin1String(wn::RegistryDataExist), false)); // only difference
    QCOMPARE(restored, state);
}

void TstMainWindowState::storedValuesRead_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("latest mode follows work mode")
        << "WorkMode" << QVariant(2) << "LatestWorkMode" << QVariant(2);
    QTest::newRow("work mode limited") << "WorkMode" << QVariant(9) << "WorkMode" << QVariant(3);
    QTest::newRow("unreadable number")
        << "WorkMode" << QVariant("abc") << "WorkMode" << QVariant(3);
    QTest::newRow("unreadable flag")
        << "StatusBar" << QVariant("yes") << "StatusBar" << QVariant(true);
    QTest::newRow("set genre limited")
        << "SetGenre" << QVariant(300) << "SetGenre" << QVariant(255);
    QTest::newRow("stored template index")
        << "generateTag" << QVariant(4) << "generateTag" << QVariant(4);
    QTest::newRow("absent template index") << "Other" << QVariant(4) << "Swap" << QVariant();
}

void TstMainWindowState::storedValuesRead() {
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(QString, name);
    QFETCH(QVariant, expected);
    QTemporaryDir dir;
    TRegistrySave store(dir.filePath(QStringLiteral("Varlo.conf")));
    store.backend().setValue(QStringLiteral("Settings/") + key, stored);
    TMainWindowState state;
    state.load(store);
    QCOMPARE(state.value(name), expected);
}

void TstMainWindowState::shorterRecentListStaysShort() {
    QTemporaryDir dir;
    TRegistrySave store(dir.filePath(QStringLiteral("Varlo.conf")));
    store.backend().setValue(QStringLiteral("Settings/MRU00"), QStringLiteral("/a"));
    store.backend().setValue(QStringLiteral("Settings/MRU02"), QStringLiteral("/c/"));
    store.backend().setValue(QStringLiteral("Settings/MRU03"), QStringLiteral("/a"));
    TMainWindowState state;
    state.load(store);
    QCOMPARE(state.recentFolders().paths(), (QStringList{"/a", "/c"})); // a gap is skipped
    QVERIFY(state.recentFolders().remove(QStringLiteral("/c")));
    QVERIFY(state.save(store));
    state.load(store);
    QCOMPARE(state.recentFolders().paths(), QStringList{"/a"});
}

QTEST_GUILESS_MAIN(TstMainWindowState)
#include "tst_mainwindowstate.moc"
