#include "settings/recentfolders.h"

#include <QTest>

using namespace settings;

class TstRecentFolders : public QObject {
    Q_OBJECT
private slots:
    void add_data();
    void add();
    void takeMovesToTop();
    void menuCaption_data();
    void menuCaption();
};

void TstRecentFolders::add_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("added");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("newest first") << QStringList{"/a"} << "/b" << QStringList{"/b", "/a"};
    QTest::newRow("equal entry moves up")
        << QStringList{"/a", "/b"} << "/b" << QStringList{"/b", "/a"};
    QTest::newRow("case counts") << QStringList{"/Music"} << "/music"
                                 << QStringList{"/music", "/Music"};
    QTest::newRow("trailing slash stripped") << QStringList{"/a"} << "/a//" << QStringList{"/a"};
    QTest::newRow("root kept") << QStringList{"/a"} << "/" << QStringList{"/", "/a"};
    QTest::newRow("empty ignored") << QStringList{"/a"} << "" << QStringList{"/a"};
    QStringList full, shifted{"/new"};
    for (int i = 0; i < TRecentFolders::kMaxEntries; ++i)
        full << QStringLiteral("/%1").arg(i);
    shifted += full.mid(0, TRecentFolders::kMaxEntries - 1);
    QTest::newRow("oldest dropped at ten") << full << "/new" << shifted;
}

void TstRecentFolders::add() {
    QFETCH(QStringList, before);
    QFETCH(QString, added);
    QFETCH(QStringList, after);
    TRecentFolders recent;
    recent.setPaths(before);
    QCOMPARE(recent.paths(), before);
    recent.add(added);
    QCOMPARE(recent.paths(), after);
}

void TstRecentFolders::takeMovesToTop() {
    TRecentFolders recent;
    recent.setPaths({"/a", "/b", "/c"});
    QVERIFY(recent.take(QStringLiteral("/c/")));
    QCOMPARE(recent.paths(), (QStringList{"/c", "/a", "/b"}));
    QVERIFY(!recent.take(QStringLiteral("/d")));
    QCOMPARE(recent.paths(), (QStringList{"/c", "/a", "/b"}));
}

void TstRecentFolders::menuCaption_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("caption");
    QTest::newRow("plain") << 0 << "/music"
                           << "&0 /music";
    QTest::newRow("ampersands doubled") << 9 << "/Tom & Jerry/&&"
                                        << "&9 /Tom && Jerry/&&&&";
}

void TstRecentFolders::menuCaption() {
    QFETCH(int, position);
    QFETCH(QString, path);
    QFETCH(QString, caption);
    QCOMPARE(TRecentFolders::menuCaption(position, path), caption);
}

QTEST_GUILESS_MAIN(TstRecentFolders)
#include "tst_recentfolders.moc"
