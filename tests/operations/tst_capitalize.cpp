// Title case with the delivered word lists.
#include "operations/capitalize.h"

#include <QTest>

class TestCapitalize : public QObject {
    Q_OBJECT
private slots:
    void capitalize_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("firstOnly");
        QTest::addColumn<bool>("noForceUpper");
        QTest::addColumn<QString>("expected");
        QTest::newRow("lower words")
            << "the best of the bee gees" << false << false << "The Best of the Bee Gees";
        QTest::newRow("first only")
            << "the best of the bee gees" << true << false << "The best of the bee gees";
        QTest::newRow("roman numeral") << "track iii" << false << false << "Track III";
        QTest::newRow("no force upper") << "track iii" << true << true << "Track iii";
        // II is in the delivered upper-case list, which wins over the switch.
        QTest::newRow("listed numeral") << "track ii" << true << true << "Track II";
        QTest::newRow("dash delimits") << "ac-dc" << false << false << "Ac-Dc";
        QTest::newRow("upper list") << "dj shadow" << false << false << "DJ Shadow";
        QTest::newRow("digits delimit, so UB40 never matches")
            << "ub40" << false << false << "Ub40";
        QTest::newRow("shouting lowered") << "HELLO WORLD" << false << false << "Hello World";
        QTest::newRow("single letter") << "plan b" << false << false << "Plan B";
        QTest::newRow("unicode") << "éTÉ à paris" << false << false << "Été À Paris";
        QTest::newRow("empty") << "" << false << false << "";
    }
    void capitalize() {
        QFETCH(QString, text);
        QFETCH(bool, firstOnly);
        QFETCH(bool, noForceUpper);
        operations::CapitalizeOptions options;
        options.firstOnly = firstOnly;
        options.noForceUpper = noForceUpper;
        QTEST(operations::CapitalizeText(text, options), "expected");
    }
};

QTEST_GUILESS_MAIN(TestCapitalize)
#include "tst_capitalize.moc"
