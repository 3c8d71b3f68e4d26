// Restructure paths and the path parser of restructure templates.
#include "operations/pathparser.h"
#include "operations/restructure.h"
#include "sampletrack.h"

#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

using tags::Field;

class TestRestructure : public QObject {
    Q_OBJECT
private slots:
    void restructure_data() {
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("album");
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("expected");
        QTest::newRow("below root") << ".\\#art\\#alb"
                                    << "A"
                                    << "B"
                                    << "/lib"
                                    << "/lib/A/B/";
        QTest::newRow("slash in value") << ".\\#art\\#alb"
                                        << "AC/DC"
                                        << "B"
                                        << "/lib"
                                        << "/lib/ACDC/B/";
        QTest::newRow("leading dots of a value") << ".\\#alb"
                                                 << "A"
                                                 << "... B"
                                                 << "/lib"
                                                 << "/lib/B/";
        QTest::newRow("bracketed folder") << ".\\(Live)"
                                          << "A"
                                          << "B"
                                          << "/lib"
                                          << "/lib/Live/";
        QTest::newRow("relative to the file") << "#art"
                                              << "A"
                                              << "B"
                                              << "/lib"
                                              << "/music/in/A/";
        QTest::newRow("absolute base") << "/srv/Music/#ART\\#alb"
                                       << "A"
                                       << "B"
                                       << ""
                                       << "/srv/Music/A/B/";
        QTest::newRow("empty value gives unknown") << ".\\#art\\#alb"
                                                   << "A"
                                                   << ""
                                                   << "/lib"
                                                   << "/lib/A/Unknown Album/";
        QTest::newRow("other variables stay literal") << ".\\x#tit"
                                                      << "A"
                                                      << "B"
                                                      << "/lib"
                                                      << "/lib/x#tit/";
        QTest::newRow("doubled separators") << ".\\\\#art\\\\"
                                            << "A"
                                            << "B"
                                            << "/lib"
                                            << "/lib/A/";
        // Mended faults: values cannot climb out or be expanded again; no empty template
        // or missing root makes up a folder.
        QTest::newRow("dot dot value") << ".\\#art\\#alb"
                                       << ".."
                                       << "B"
                                       << "/lib"
                                       << "/lib/B/";
        QTest::newRow("dot dot literal") << "..\\..\\#art"
                                         << "A"
                                         << "B"
                                         << "/lib"
                                         << "/music/in/A/";
        QTest::newRow("value with a code") << ".\\#art\\#alb"
                                           << "#alb"
                                           << "B"
                                           << "/lib"
                                           << "/lib/alb/B/";
        QTest::newRow("empty template keeps the folder") << ""
                                                         << "A"
                                                         << "B"
                                                         << "/lib"
                                                         << "/music/in/";
        QTest::newRow("root missing keeps the folder") << ".\\#art"
                                                       << "A"
                                                       << "B"
                                                       << ""
                                                       << "/music/in/";
    }
    void restructure() {
        QFETCH(QString, templateText);
        QFETCH(QString, artist);
        QFETCH(QString, album);
        QFETCH(QString, root);
        auto file = sampleTrack({{Field::Artist, artist}, {Field::Album, album}});
        operations::RestructureOptions options;
        options.rootFolder = root;
        QString folder;
        QVERIFY(operations::BuildRestructurePath(*file, templateText, options, folder).ok());
        QTEST(folder, "expected");
    }

    void volumeRoot() {
        QTemporaryDir dir;
        auto file = sampleTrack({{Field::Artist, "A"}}, dir.filePath("x.mp3"));
        QString folder;
        QVERIFY(operations::BuildRestructurePath(*file, "\\#art", {}, folder).ok());
        QString mount = QStorageInfo(dir.path()).rootPath();
        if (!mount.endsWith('/'))
            mount += '/';
        QCOMPARE(folder, mount + "A/");
    }

    void windowsBaseIsRefused_data() {
        QTest::addColumn<QString>("templateText");
        QTest::newRow("drive") << "C:\\Music\\#art";
        QTest::newRow("network") << "\\\\server\\share\\#art";
    }
    void windowsBaseIsRefused() {
        QFETCH(QString, templateText);
        auto file = sampleTrack({{Field::Artist, "A"}});
        QString folder = "unchanged";
        const tags::Status status =
            operations::BuildRestructurePath(*file, templateText, {}, folder);
        QVERIFY(!status.ok());
        QVERIFY(status.message().contains("Windows"));
        QCOMPARE(folder, QString("unchanged"));
    }

    void forImport_data() {
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<bool>("stopOnEmpty");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << "" << false << "";
        QTest::newRow("dot") << ".\\#art" << false << "A/";
        QTest::newRow("drive") << "D:\\#art\\#alb" << false << "A/Unknown Album/";
        QTest::newRow("stop on empty") << "#art\\#alb" << true << "";
    }
    void forImport() {
        QFETCH(QString, templateText);
        QFETCH(bool, stopOnEmpty);
        auto file = sampleTrack({{Field::Artist, "A"}});
        operations::RestructureOptions options;
        options.forImport = true;
        options.stopOnEmpty = stopOnEmpty;
        QString folder;
        QVERIFY(operations::BuildRestructurePath(*file, templateText, options, folder).ok());
        QTEST(folder, "expected");
    }

    void parse_data() {
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QStringList>("components");
        QTest::addColumn<QString>("fullPath");
        QTest::newRow("root") << ".\\#art\\#alb"
                              << ".\\" << QStringList{"#art", "#alb"} << ".\\#art\\#alb\\";
        QTest::newRow("volume") << "\\#art - #alb\\"
                                << "\\" << QStringList{"#art - #alb"} << "\\#art - #alb\\";
        QTest::newRow("absolute") << "/srv/Music/#art\\#alb"
                                  << "/srv/Music/" << QStringList{"#art", "#alb"}
                                  << "/srv/Music/#art\\#alb\\";
        // Without a base the components still come from the whole path.
        QTest::newRow("no base") << "#art\\#alb"
                                 << "" << QStringList{"#art", "#alb"} << "#art\\#alb\\";
        QTest::newRow("doubled separator")
            << ".\\#art\\\\#alb"
            << ".\\" << QStringList{"#art", "", "#alb"} << ".\\#art\\\\#alb\\";
    }
    void parse() {
        QFETCH(QString, templateText);
        QFETCH(QStringList, components);
        operations::TPathParser parser;
        parser.Parse(templateText);
        QTEST(parser.Base(), "base");
        QCOMPARE(parser.ComponentCount(), components.size());
        for (qsizetype i = 0; i < components.size(); ++i)
            QCOMPARE(parser.Component(i), components[i]);
        QCOMPARE(parser.Component(components.size()), QString());
        QTEST(parser.FullPath(), "fullPath");
    }

    void editComponents() {
        operations::TPathParser parser;
        parser.Parse(".\\#art\\ \\#alb");
        parser.RemoveBlankComponents();
        QCOMPARE(parser.ComponentCount(), 2);
        parser.SetComponent(1, "#yea");
        parser.SetComponent(5, "ignored");
        parser.DeleteComponent(-1);
        parser.AddComponent("#alb");
        QCOMPARE(parser.FullPath(), QString(".\\#art\\#yea\\#alb\\"));
        QVERIFY(parser.BaseIs(".\\"));
        QVERIFY(!parser.HasExistingBase());
        parser.Parse("/tmp/#art");
        QVERIFY(parser.HasExistingBase());
    }
};

QTEST_GUILESS_MAIN(TestRestructure)
#include "tst_restructure.moc"
