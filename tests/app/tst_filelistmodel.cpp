#include "app/filelistmodel.h"
#include "app/selectionsummary.h"
#include "tags/audiofile.h"

#include <QSignalSpy>
#include <QTest>

using tags::Field;

namespace {

/// A file object that exists only in memory.
library::FileHandle memoryFile(const QString& name, const QMap<Field, QString>& fields = {}) {
    auto file = std::make_shared<tags::TMP3>();
    file->setFilePath(QStringLiteral("/music/Album One/") + name);
    file->setNewFileDir(QStringLiteral("/music/Album One/"));
    file->setFileName(name.left(name.lastIndexOf('.')));
    for (auto it = fields.begin(); it != fields.end(); ++it)
        file->set(it.key(), it.value());
    file->setChanged(false);
    return file;
}

library::FileHandle sizedFile(const QString& name, qint64 size) {
    auto file = memoryFile(name);
    file->streamForUpdate().Size = size;
    return file;
}

class NoCache : public tags::CacheLink {
public:
    void updateEntry(tags::TMP3&) override {}
};

QStringList column(const app::TFileListModel& model, int column) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

QString text(const QString& key) {
    return QLatin1Char('<') + key + QLatin1Char('>');
}

} // namespace

class TestFileListModel : public QObject {
    Q_OBJECT
private slots:
    void cellTexts_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("leadingZero");
        QTest::addColumn<QString>("expected");
        QTest::newRow("file name") << 0 << true << "song";
        QTest::newRow("directory") << 1 << true << "Album One";
        QTest::newRow("artist") << 2 << true << "Ann";
        QTest::newRow("track with zero") << 5 << true << "05";
        QTest::newRow("track plain") << 5 << false << "5";
        QTest::newRow("length") << 10 << true << "02:05";
        QTest::newRow("size rounded up") << 11 << true << "2";
        QTest::newRow("extension") << 15 << true << "MP3";
        QTest::newRow("composer") << 16 << true << "Bach";
    }
    void cellTexts() {
        QFETCH(int, column);
        QFETCH(bool, leadingZero);
        QFETCH(QString, expected);
        auto file = memoryFile("song.mp3", {{Field::Artist, "Ann"}, {Field::Composer, "Bach"}});
        file->setTrack(5);
        file->streamForUpdate().TimeLength = 125;
        file->streamForUpdate().Size = 1025;
        QCOMPARE(app::columnText(*file, column, {false, leadingZero}), expected);
    }

    void emptyTrackShowsNothing() {
        auto file = memoryFile("song.mp3");
        QCOMPARE(app::columnText(*file, 5, {}), QString());
    }

    void icons_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("displayedVersion");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("expected");
        QTest::newRow("wma") << "wma" << 3 << false << 0;
        QTest::newRow("ogg changed") << "ogg" << 3 << true << 3;
        QTest::newRow("wav never marked") << "wav" << 3 << true << 10;
        QTest::newRow("v1 shown as v1") << "v1" << 1 << false << 4;
        QTest::newRow("v1 shown as v2") << "v1" << 2 << false << 14;
        QTest::newRow("both mixed") << "both" << 3 << false << 8;
        QTest::newRow("v2 mixed changed") << "v2" << 3 << true << 7;
        QTest::newRow("no tag") << "none" << 3 << false << 14;
    }
    void icons() {
        QFETCH(QString, kind);
        QFETCH(int, displayedVersion);
        QFETCH(bool, changed);
        QFETCH(int, expected);
        auto file = memoryFile("x.mp3");
        file->setFormat(kind == "wma", kind == "ogg", kind == "wav");
        if (kind == "v2" || kind == "both")
            file->set(Field::Composer, "Bach");
        file->setTag(kind == "v1" || kind == "both");
        file->setChanged(changed);
        QCOMPARE(app::rowIconIndex(file.get(), displayedVersion), expected);
        QCOMPARE(app::rowIconIndex(nullptr, 3), app::kInfoRowIcon);
    }

    void sortsNumbersByValueAndKeepsTies() {
        app::TFileListModel model;
        model.appendFiles({sizedFile("b.mp3", 1025), sizedFile("a.mp3", 1000),
                           sizedFile("c.mp3", 1025), sizedFile("d.mp3", 3000)});
        model.sortRows(11, false);
        QCOMPARE(column(model, 0), QStringList({"a", "b", "c", "d"}));
        QCOMPARE(column(model, 11), QStringList({"1", "2", "2", "3"}));
        model.sortRows(11, true);
        QCOMPARE(column(model, 0), QStringList({"d", "b", "c", "a"}));
        model.sortRows(0, true);
        QCOMPARE(column(model, 0), QStringList({"d", "c", "b", "a"}));
    }

    void sortingKeepsTheSelection() {
        app::TFileListModel model;
        model.appendFiles({memoryFile("b.mp3"), memoryFile("a.mp3")});
        QPersistentModelIndex selected = model.index(0, 0);
        model.sortRows(0, false);
        QCOMPARE(selected.row(), 1);
        QCOMPARE(model.rowOf(model.fileAt(1).get()), 1);
    }

    void informationRowMakesWayForFiles() {
        app::TFileListModel model;
        model.showInformation("Scanning...");
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.fileCount(), 0);
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsSelectable));
        model.appendFiles({memoryFile("a.mp3")});
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("a"));
    }

    void rowsRedrawWhenTheirFileChanges() {
        app::TFileListModel model;
        auto file = memoryFile("a.mp3");
        model.appendFiles({memoryFile("z.mp3"), file});
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        file->doUpdateListItem(*file);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().toModelIndex().row(), 1);
        model.clear();
        QVERIFY(!file->doUpdateListItem);
    }

    void editingInPlace_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "new name" << true << "new name";
        QTest::newRow("slash filtered") << "a/b" << true << "ab";
        QTest::newRow("dot") << "." << false << "old";
        QTest::newRow("dot dot") << ".." << false << "old";
        QTest::newRow("empty") << "" << false << "old";
        QTest::newRow("only forbidden") << "//" << false << "old";
    }
    void editingInPlace() {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(QString, name);
        app::TFileListModel model;
        auto file = memoryFile("old.mp3");
        model.appendFiles({file});
        QSignalSpy snapshot(&model, &app::TFileListModel::aboutToRename);
        QCOMPARE(model.setData(model.index(0, 0), typed), accepted);
        QCOMPARE(file->FileName(), name);
        QCOMPARE(file->Changed(), accepted);
        QCOMPARE(snapshot.count(), accepted ? 1 : 0);
    }

    void drawingNeverReadsTheFile() {
        const QString path = QStringLiteral(VARLO_TEST_DATA "/mpeg/tagged-v1.mp3");
        NoCache cache;
        auto file = std::make_shared<tags::TMP3>(QString(), tags::TagOptions{}, &cache);
        file->setFilePath(path);
        file->set(Field::Title, "From the cache");
        file->setChanged(false);
        file->setIsSyn(false);
        app::TFileListModel model;
        model.appendFiles({file});
        QCOMPARE(model.index(0, 3).data().toString(), QStringLiteral("From the cache"));
        model.sortRows(3, false);
        QVERIFY(!file->IsSyn());
        QVERIFY(file->ShouldSyn());
    }

    void summaryOfSeveralFiles() {
        const QList<library::FileHandle> files = {
            memoryFile("a.mp3", {{Field::Artist, "Ann"}, {Field::Title, "One"}}),
            memoryFile("b.mp3", {{Field::Artist, "Ann"}, {Field::Title, "Two"}}),
            memoryFile("c.mp3", {{Field::Artist, "Ann"}, {Field::Title, "Three"}})};
        const app::SelectionSummary summary = app::summarise(files, {}, text);
        QCOMPARE(summary.files, 3);
        QCOMPARE(summary.value(app::SummaryItem::Artist).toString(), QStringLiteral("Ann"));
        QVERIFY(!summary.isMixed(app::SummaryItem::Artist));
        QCOMPARE(summary.value(app::SummaryItem::Title).toString(),
                 QStringLiteral("<MultiTitles>"));
        QCOMPARE(summary.value(app::SummaryItem::FilePath).toString(),
                 QStringLiteral("<MultiFiles>"));
        QCOMPARE(app::summaryText(summary, app::SummaryItem::TimeLength), QStringLiteral("00:00"));
    }

    void summaryMarksNumbersMixed() {
        auto a = sizedFile("a.mp3", 100);
        auto b = sizedFile("b.mp3", 200);
        const app::SelectionSummary summary = app::summarise({a, b}, {}, text);
        QCOMPARE(summary.value(app::SummaryItem::Size).toInt(), -2);
        QCOMPARE(app::summaryText(summary, app::SummaryItem::Size), QString());
    }
};

QTEST_MAIN(TestFileListModel)
#include "tst_filelistmodel.moc"
