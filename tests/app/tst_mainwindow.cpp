#include "app/mainwindow.h"

#include <QTest>

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void opensTitledVarlo() {
        app::TFormMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Varlo"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
