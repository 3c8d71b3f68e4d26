#include "operations/templatevars.h"
#include "sampletrack.h"

#include <QTest>

using operations::TVarScript;
using tags::Field;

class TestVarScript : public QObject {
    Q_OBJECT
private slots:
    void recordLine_data() {
        QTest::addColumn<QString>("codes");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<bool>("collapse");
        QTest::addColumn<QString>("expected");
        QTest::newRow("in variable order") << "#Tit,#Art"
                                           << "," << false << "Ann,Song";
        QTest::newRow("empty field kept") << "#Art,#Alb,#Tit"
                                          << "," << false << "Ann,Song,";
        QTest::newRow("empty field collapsed") << "#Art,#Alb,#Tit"
                                               << "," << true << "Ann,Song";
        QTest::newRow("long separator") << "#Art,#Tit"
                                        << " | " << false << "Ann | Song";
        QTest::newRow("value holding a code") << "#Com"
                                              << "," << false << "see #Art";
        QTest::newRow("unknown code ignored") << "#Art,#Zzz"
                                              << "," << false << "Ann";
    }
    void recordLine() {
        QFETCH(QString, codes);
        QFETCH(QString, separator);
        QFETCH(bool, collapse);
        QFETCH(QString, expected);
        auto file = sampleTrack(
            {{Field::Artist, "Ann"}, {Field::Title, "Song"}, {Field::Comment, "see #Art"}});
        TVarScript script;
        script.Separator = separator;
        script.CollapseSeparators = collapse;
        script.EnableVariables(true, codes);
        QCOMPARE(script.RecordLine(*file), expected);
    }

    void enabledVariablesAreWalkedInTurn() {
        TVarScript script;
        script.EnableVariables(true, "#Tit,#Art");
        QCOMPARE(script.EnabledCount(), 2);
        QCOMPARE(script.EnabledCodes(), QStringLiteral("#Art#Tit"));
        QCOMPARE(script.NextEnabled(), operations::TVN::vArt);
        QCOMPARE(script.NextEnabled(), operations::TVN::vTit);
        QCOMPARE(script.NextEnabled(), operations::TVN::vArt);
        script.EnableVariables(false, "#Art");
        QCOMPARE(script.EnabledCount(), operations::kVariableCount - 1);
        QVERIFY(!script.isEnabled(operations::TVN::vArt));
    }

    void copyValueTakesTheFieldAcross() {
        auto source = sampleTrack({{Field::Album, "Blue"}});
        auto target = sampleTrack({{Field::Album, "Red"}, {Field::Title, "Kept"}});
        TVarScript().CopyValue(*source, *target, u"#Alb");
        QCOMPARE(target->get(Field::Album), QStringLiteral("Blue"));
        QCOMPARE(target->get(Field::Title), QStringLiteral("Kept"));
    }
};

QTEST_GUILESS_MAIN(TestVarScript)
#include "tst_varscript.moc"
