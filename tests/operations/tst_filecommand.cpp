// The per-file command dispatcher and the comparison that decides whether a file changed.
#include "operations/filecommand.h"
#include "operations/undolist.h"
#include "sampletrack.h"
#include "tags/audiofilecompare.h"

#include <QTest>

using operations::CommandReport;
using operations::runPerFile;
using operations::TUndoList;
using tags::Field;

namespace {

library::FileHandle track(const QString& path, const QMap<Field, QString>& fields = {}) {
    return library::FileHandle(sampleTrack(fields, path));
}

QList<library::FileHandle> threeTracks() {
    return {track("/music/in/1.mp3"), track("/music/in/2.mp3"), track("/music/in/3.mp3")};
}

/// One way a command may change a file, named for the test rows.
using Change = std::function<void(tags::TMP3&)>;

const QMap<QString, Change>& changes() {
    static const QMap<QString, Change> table = {
        {"nothing", [](tags::TMP3&) {}},
        {"same title again", [](tags::TMP3& f) { f.set(Field::Title, "Title"); }},
        {"frame text read",
         [](tags::TMP3& f) { tags::GetFrameText(*f.ID3v2().FindFrame("APIC")); }},
        {"title", [](tags::TMP3& f) { f.set(Field::Title, "Other"); }},
        {"composer frame", [](tags::TMP3& f) { f.set(Field::Composer, "Someone"); }},
        {"frame flags", [](tags::TMP3& f) { f.ID3v2().FindFrame("TIT2")->flags = 0x40; }},
        {"picture byte", [](tags::TMP3& f) { f.ID3v2().FindFrame("APIC")->body[20] = 'q'; }},
        {"id3v1 byte", [](tags::TMP3& f) { f.id3v1().setByteAt(125, 1); }},
        {"id3v1 dropped", [](tags::TMP3& f) { f.setTag(false); }},
        {"ape removed", [](tags::TMP3& f) { f.RemoveAPETag(); }},
        {"file name", [](tags::TMP3& f) { f.setFileName("other"); }},
        {"folder", [](tags::TMP3& f) { f.setNewFileDir("/music/out/"); }},
        {"ogg comment", [](tags::TMP3& f) { f.OggTag().setField("Composer", "Someone"); }},
        {"wma attribute", [](tags::TMP3& f) { f.WmaTag().setProperty("Composer", "Someone"); }},
        {"format", [](tags::TMP3& f) { f.setFormat(false, true, false); }},
    };
    return table;
}

/// A file with a title, an ID3v1 block, a picture and an APE tag to compare against.
library::FileHandle richTrack() {
    auto file = track("/music/in/rich.mp3", {{Field::Title, "Title"}});
    auto& picture = file->ID3v2().AddFrame("APIC");
    picture.body = QByteArray("\0image/jpeg\0\3\0", 14) + QByteArray(64, 'p');
    file->setAPE(true);
    file->setApeSize(100);
    return file;
}

} // namespace

class TestFileCommand : public QObject {
    Q_OBJECT
private slots:
    void sameContent_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("same");
        for (const QString& change : changes().keys()) {
            const bool same =
                change == "nothing" || change == "same title again" || change == "frame text read";
            QTest::newRow(qPrintable(change)) << change << same;
        }
    }
    void sameContent() {
        QFETCH(QString, change);
        QFETCH(bool, same);
        const auto file = richTrack();
        file->ID3v2().modified = false;
        tags::TMP3 before(QString(), file->options());
        before.Assign(*file);
        changes()[change](*file);
        QCOMPARE(tags::sameContent(*file, before), same);
    }

    void commandMarksOnlyTheFilesItChanged_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("extended frame only") << "composer frame";
        QTest::newRow("file name only") << "file name";
        QTest::newRow("ID3v1 only") << "id3v1 byte";
    }
    void commandMarksOnlyTheFilesItChanged() {
        QFETCH(QString, change);
        TUndoList undo;
        const auto files = threeTracks();
        changes()[change](*files[1]); // this one has it already
        const CommandReport report = runPerFile(undo, "Change", files, [&](tags::TMP3& file) {
            changes()[change](file);
            return tags::Status::success();
        });
        QCOMPARE(report.changed, 2);
        QCOMPARE(report.unchanged, 1);
        QVERIFY(files[0]->Changed() && !files[1]->Changed() && files[2]->Changed());
        QCOMPARE(undo.groupCount(), 1);
        QCOMPARE(undo.entryCount(), 2);
    }

    void setGenreIsUndoneAsOneCommand() {
        TUndoList undo;
        const auto files = threeTracks();
        files[1]->setGenre(17);
        files[1]->setChanged(true); // an earlier, unsaved edit
        QList<int> redrawn;
        for (int i = 0; i < files.size(); ++i)
            files[i]->doUpdateListItem = [&redrawn, i](tags::TMP3&) { redrawn.append(i); };
        const CommandReport report = runPerFile(undo, "SetGenre", files, [](tags::TMP3& file) {
            file.setGenre(17);
            return tags::Status::success();
        });
        QCOMPARE(report.changed, 2);
        QCOMPARE(redrawn, QList<int>({0, 2}));
        QCOMPARE(undo.UndoLast(), 2);
        QCOMPARE(files[0]->Genre(), 255);
        QCOMPARE(files[1]->Genre(), 17);
        QCOMPARE(files[2]->Genre(), 255);
        QVERIFY(!files[0]->Changed() && files[1]->Changed() && !files[2]->Changed());
        QVERIFY(!undo.canUndo());
    }

    void failingStepIsReportedAndUndone() {
        TUndoList undo;
        const auto files = threeTracks();
        const CommandReport report = runPerFile(undo, "Title", files, [&](tags::TMP3& file) {
            file.set(Field::Title, "Half done");
            if (file.FilePath() == files[1]->FilePath())
                return tags::Status::error(tags::ErrorCode::InvalidData, "No title found");
            return tags::Status::success();
        });
        QCOMPARE(report.changed, 2);
        QCOMPARE(report.errors.size(), 1);
        QCOMPARE(report.errors[0].first, QString("/music/in/2.mp3"));
        QCOMPARE(report.errors[0].second, QString("No title found"));
        QVERIFY(!report.stopped);
        QCOMPARE(files[1]->get(Field::Title), QString());
        QVERIFY(!files[1]->Changed());
        QCOMPARE(files[2]->get(Field::Title), QString("Half done"));
        QCOMPARE(undo.entryCount(), 2);
    }

    void stoppingKeepsTheWorkDone() {
        TUndoList undo;
        auto files = threeTracks();
        files.insert(1, nullptr); // a row without a file
        QList<int> reported;
        const CommandReport report = runPerFile(
            undo, "Title", files,
            [](tags::TMP3& file) {
                file.set(Field::Title, "New");
                return tags::Status::success();
            },
            [&](int done, int total) {
                reported.append(done);
                return !(done == 3 && total == 4);
            });
        QVERIFY(report.stopped);
        QCOMPARE(reported, QList<int>({1, 2, 3}));
        QCOMPARE(report.changed, 2);
        QCOMPARE(files[3]->get(Field::Title), QString());
        QCOMPARE(undo.UndoLast(), 2);
        QCOMPARE(files[2]->get(Field::Title), QString());
    }
};

QTEST_GUILESS_MAIN(TestFileCommand)
#include "tst_filecommand.moc"
