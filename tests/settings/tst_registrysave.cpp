#include "settings/registrysave.h"
#include "settings/shortgenrelist.h"

#include <QTemporaryDir>
#include <QTest>

using namespace settings;

class TstRegistrySave : public QObject {
    Q_OBJECT
private slots:
    void typedValuesSurviveARestart();
    void malformedTypedNamesTouchNothing_data();
    void malformedTypedNamesTouchNothing();
    void absentIntIsNotMinusOne();
    void historicPathMapsToGroup();
    void columnLayoutText();
    void columnLayoutRestore_data();
    void columnLayoutRestore();
    void memoAndCheckListTexts();
    void shortGenreListBits();
    void placementIsClamped_data();
    void placementIsClamped();

private:
    QString storePath() const { return m_dir.filePath(QStringLiteral("Varlo.conf")); }
    QTemporaryDir m_dir;
};

void TstRegistrySave::typedValuesSurviveARestart() {
    {
        TRegistrySave store(storePath());
        QVERIFY(store.WriteValue(QStringLiteral("B:ShowImageSizeHint"), false));
        QVERIFY(
            store.WriteValue(QStringLiteral("D:ShortGenreList"), QByteArray("\x08\x00\xff", 3)));
        QVERIFY(store.WriteValue(QStringLiteral("S:VersionFileURL"), QStringLiteral("a\r\nb")));
        QVERIFY(store.WriteInt(QStringLiteral("SetGenre"), 255));
        QVERIFY(store.writeControl(QStringLiteral("FormFind"), QStringLiteral("Find"),
                                   QStringLiteral("x")));
        QVERIFY(store.sync());
    }
    TRegistrySave store(storePath());
    QVariant flag = true, block, text, control;
    QVERIFY(store.ReadValue(QStringLiteral("B:ShowImageSizeHint"), flag));
    QVERIFY(store.ReadValue(QStringLiteral("D:ShortGenreList"), block));
    QVERIFY(store.ReadValue(QStringLiteral("S:VersionFileURL"), text));
    QCOMPARE(flag, QVariant(false));
    QCOMPARE(block.toByteArray(), QByteArray("\x08\x00\xff", 3));
    QCOMPARE(text.toString(), QStringLiteral("a\r\nb"));
    QCOMPARE(store.ReadInt(QStringLiteral("SetGenre")), std::optional<int>(255));
    QCOMPARE(store.readControl(QStringLiteral("FormFind"), QStringLiteral("Find")),
             std::optional<QVariant>(QStringLiteral("x")));
    // The historic layout: the control lives below Settings/FormFind.
    QCOMPARE(store.backend().value(QStringLiteral("Settings/FormFind/Find")).toString(),
             QStringLiteral("x"));
}

void TstRegistrySave::malformedTypedNamesTouchNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("letter and colon only") << QStringLiteral("I:");
    QTest::newRow("no colon") << QStringLiteral("IxCount");
    QTest::newRow("unknown letter") << QStringLiteral("X:Count");
}

void TstRegistrySave::malformedTypedNamesTouchNothing() {
    QFETCH(QString, name);
    TRegistrySave store(m_dir.filePath(QStringLiteral("malformed.conf")));
    QVERIFY(!store.WriteValue(name, 7));
    QVariant value = 42;
    QVERIFY(!store.ReadValue(name, value));
    QCOMPARE(value, QVariant(42));
    QVERIFY(store.backend().allKeys().isEmpty());
}

void TstRegistrySave::absentIntIsNotMinusOne() {
    TRegistrySave store(m_dir.filePath(QStringLiteral("ints.conf")));
    QCOMPARE(store.ReadInt(QStringLiteral("Rename")), std::nullopt);
    QVERIFY(store.WriteInt(QStringLiteral("Rename"), -1));
    QCOMPARE(store.ReadInt(QStringLiteral("Rename")), std::optional<int>(-1));
    QVERIFY(!store.WriteValue(QStringLiteral("I:Rename"), QStringLiteral("not a number")));
    QCOMPARE(store.ReadInt(QStringLiteral("Rename")), std::optional<int>(-1));
}

void TstRegistrySave::historicPathMapsToGroup() {
    TRegistrySave store(m_dir.filePath(QStringLiteral("path.conf")));
    store.setPath(QStringLiteral("Software\\Halvern\\Varlo\\Settings"));
    QCOMPARE(store.Path(), QStringLiteral("Settings"));
    store.WriteInt(QStringLiteral("WorkMode"), 3);
    QCOMPARE(store.backend().value(QStringLiteral("Settings/WorkMode")).toInt(), 3);
}

void TstRegistrySave::columnLayoutText() {
    QCOMPARE(formatColumnLayout({{0, 200}, {2, 80}, {1, 120}}),
             QStringLiteral("0,200;2,80;1,120;"));
}

void TstRegistrySave::columnLayoutRestore_data() {
    using Widths = QList<std::pair<int, int>>;
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columns");
    QTest::addColumn<Widths>("widths");
    QTest::addColumn<QList<int>>("order");
    QTest::newRow("swapped") << QStringLiteral("1,50;0,70;") << 2 << Widths{{1, 50}, {0, 70}}
                             << QList<int>{1, 0};
    QTest::newRow("partial keeps order")
        << QStringLiteral("1,50;") << 2 << Widths{{1, 50}} << QList<int>{};
    QTest::newRow("letter first") << QStringLiteral("a,50;0,70;") << 2 << Widths{} << QList<int>{};
    QTest::newRow("spaces and bad width")
        << QStringLiteral(" 0 , x ; 1,-5 ;") << 2 << Widths{{0, 0}, {1, 0}} << QList<int>{0, 1};
    QTest::newRow("unknown column")
        << QStringLiteral("0,10;5,20;1,30;") << 2 << Widths{{0, 10}} << QList<int>{};
    QTest::newRow("column twice") << QStringLiteral("0,10;0,20;") << 2 << Widths{{0, 10}}
                                  << QList<int>{};
}

void TstRegistrySave::columnLayoutRestore() {
    using Widths = QList<std::pair<int, int>>;
    QFETCH(QString, text);
    QFETCH(int, columns);
    QFETCH(Widths, widths);
    QFETCH(QList<int>, order);
    const ColumnLayout layout = parseColumnLayout(text, columns);
    QCOMPARE(layout.widths, widths);
    QCOMPARE(layout.order, order);
}

void TstRegistrySave::memoAndCheckListTexts() {
    QCOMPARE(encodeMemoText(QStringLiteral("one\r\ntwo")), QStringLiteral("one~~two"));
    QCOMPARE(decodeMemoText(QStringLiteral("one~~two")), QStringLiteral("one\r\ntwo"));
    QCOMPARE(encodeCheckStates({true, false, true}), QStringLiteral("101"));
    QCOMPARE(decodeCheckStates(QStringLiteral("11"), 4), (QList<bool>{true, true, false, false}));
}

void TstRegistrySave::shortGenreListBits() {
    // Genre 33 is bit 1 of word 1, i.e. byte 4 of the block; 255 the top bit of the last byte.
    const QByteArray stored = encodeShortGenreList({0, 33, 255, 300});
    QByteArray expected(32, '\0');
    expected[0] = 0x01;
    expected[4] = 0x02;
    expected[31] = char(0x80);
    QCOMPARE(stored, expected);
    QSet<int> genres = {7};
    QVERIFY(!decodeShortGenreList(stored.left(31), genres));
    QCOMPARE(genres, QSet<int>{7});
    QVERIFY(decodeShortGenreList(stored, genres));
    QCOMPARE(genres, (QSet<int>{0, 33, 255}));
}

void TstRegistrySave::placementIsClamped_data() {
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<int>("monitor");
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<QRect>("restored");
    const QList<QRect> one = {QRect(0, 0, 1920, 1080)};
    const QList<QRect> two = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    QTest::newRow("inside") << one << 0 << QRect(10, 20, 800, 600) << QRect(10, 20, 800, 600);
    QTest::newRow("beyond right and bottom")
        << one << 0 << QRect(1500, 900, 800, 600) << QRect(1120, 480, 800, 600);
    QTest::newRow("left of screen")
        << one << 0 << QRect(-300, 10, 800, 600) << QRect(0, 10, 800, 600);
    QTest::newRow("larger than screen")
        << one << 0 << QRect(100, 100, 2000, 1200) << QRect(0, 0, 2000, 1200);
    QTest::newRow("second screen")
        << two << 1 << QRect(3000, 10, 400, 300) << QRect(2800, 10, 400, 300);
    QTest::newRow("screen gone") << one << 1 << QRect(3000, 10, 400, 300)
                                 << QRect(1520, 10, 400, 300);
}

void TstRegistrySave::placementIsClamped() {
    QFETCH(QList<QRect>, screens);
    QFETCH(int, monitor);
    QFETCH(QRect, stored);
    QFETCH(QRect, restored);
    TRegistrySave store(m_dir.filePath(QStringLiteral("placement.conf")));
    QVERIFY(store.SavePlacement(QStringLiteral("FormMain"), {0, monitor, stored.x(), stored.y(),
                                                             stored.width(), stored.height()}));
    const WindowPlacement placement =
        store.RestorePlacement(QStringLiteral("FormMain"), {}, screens);
    QCOMPARE(QRect(*placement.left, *placement.top, *placement.width, *placement.height), restored);
    QCOMPARE(placement.windowState, std::optional<int>(0));
}

QTEST_GUILESS_MAIN(TstRegistrySave)
#include "tst_registrysave.moc"
