#include "settings/browsewith.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace settings;

class TstBrowseWith : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void checkedWritesAndUncheckedRemoves();
    void execArgument_data();
    void execArgument();

private:
    QTemporaryDir m_dataHome;
};

void TstBrowseWith::initTestCase() {
    QVERIFY(m_dataHome.isValid());
    qputenv("XDG_DATA_HOME", m_dataHome.path().toUtf8());
}

void TstBrowseWith::checkedWritesAndUncheckedRemoves() {
    const QString path = TBrowseWithEntry::entryPath();
    QCOMPARE(path, m_dataHome.filePath(QStringLiteral("applications/varlo-browse.desktop")));
    QString error;
    QVERIFY(TBrowseWithEntry::apply(true, QStringLiteral("/opt/varlo/varlo"),
                                    QStringLiteral("Browse with Varlo"), &error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.startsWith(QLatin1String("[Desktop Entry]\n")));
    QVERIFY(text.contains(QLatin1String("\nMimeType=inode/directory;\n")));
    QVERIFY(text.contains(QLatin1String("\nExec=\"/opt/varlo/varlo\" %f\n")));
    QVERIFY(text.contains(QLatin1String("\nName=Browse with Varlo\n")));
    file.close();

    QVERIFY(TBrowseWithEntry::apply(false, QString(), QString(), &error));
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(TBrowseWithEntry::apply(false, QString(), QString(), &error)); // already gone
}

void TstBrowseWith::execArgument_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("argument");
    QTest::newRow("space") << "/my apps/varlo"
                           << "\"/my apps/varlo\"";
    QTest::newRow("percent") << "/100%/varlo"
                             << "\"/100%%/varlo\"";
    QTest::newRow("reserved") << "/a\"b$c`d\\e"
                              << "\"/a\\\"b\\$c\\`d\\\\e\"";
}

void TstBrowseWith::execArgument() {
    QFETCH(QString, path);
    QFETCH(QString, argument);
    QCOMPARE(TBrowseWithEntry::execArgument(path), argument);
}

QTEST_GUILESS_MAIN(TstBrowseWith)
#include "tst_browsewith.moc"
