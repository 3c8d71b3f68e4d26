// The undo list: groups per command, restoring, entries of files that are gone, saving.
#include "operations/undolist.h"
#include "sampletrack.h"

#include <QTest>

using operations::TUndoList;
using tags::Field;

namespace {

library::FileHandle track(const QString& title, const QString& path = "/music/in/a.mp3") {
    return library::FileHandle(sampleTrack({{Field::Title, title}}, path));
}

/// A command that gives `file` a new title, as the dispatcher would record it.
void retitle(TUndoList& undo, const QString& group, const library::FileHandle& file,
             const QString& title) {
    const operations::TUndoGroupGuard guard(undo, group);
    undo.push(file);
    file->set(Field::Title, title);
    file->setChanged(true);
}

/// What a successful save leaves in memory.
void markSaved(tags::TMP3& file) {
    file.setChanged(false);
    file.ID3v2().modified = false;
}

} // namespace

class TestUndoList : public QObject {
    Q_OBJECT
private slots:
    void undoRestoresTagStateAndRedrawsTheRow() {
        TUndoList undo;
        const auto file = track("Old", "/music/in/old name.mp3");
        int redraws = 0;
        file->doUpdateListItem = [&](tags::TMP3&) { ++redraws; };
        {
            const operations::TUndoGroupGuard guard(undo, "Edit");
            undo.push(file);
            file->set(Field::Title, "New");
            file->set(Field::Composer, "Someone");
            file->setFileName("new name");
            file->setNewFileDir("/music/out/");
            file->setChanged(true);
        }
        QVERIFY(undo.canUndo());
        QCOMPARE(undo.UndoLast(), 1);
        QCOMPARE(file->get(Field::Title), QString("Old"));
        QCOMPARE(file->id3v1().read(tags::ID3v1Block::Title), QString("Old"));
        QVERIFY(file->ID3v2().FindFrame("TCOM") == nullptr);
        QCOMPARE(file->FileName(), QString("old name"));
        QCOMPARE(file->NewFileDir(), QString("/music/in/"));
        QVERIFY(!file->Changed());
        QCOMPARE(redraws, 1);
        QVERIFY(!undo.canUndo());
        QCOMPARE(undo.memoryUsed(), 0);
    }

    void undoRevertsOnlyTheLastCommand() {
        TUndoList undo;
        const auto file = track("One");
        retitle(undo, "First", file, "Two");
        retitle(undo, "Second", file, "Three");
        undo.UndoLast();
        QCOMPARE(file->get(Field::Title), QString("Two"));
        QVERIFY(file->Changed());
        undo.UndoLast();
        QCOMPARE(file->get(Field::Title), QString("One"));
        QVERIFY(!file->Changed());
        QCOMPARE(undo.UndoLast(), 0);
    }

    void emptyGroupsLeaveNothingToUndo() {
        TUndoList undo;
        const auto file = track("One");
        retitle(undo, "First", file, "Two");
        { const operations::TUndoGroupGuard unchanged(undo, "Nothing"); }
        QCOMPARE(undo.groupCount(), 1);
        undo.beginGroup("Rename"); // a file selected ...
        undo.beginGroup("Rename"); // ... and selected again
        QCOMPARE(undo.groupCount(), 2);
        QCOMPARE(undo.openGroupName(), QString("Rename"));
        undo.UndoLast();
        QCOMPARE(file->get(Field::Title), QString("One"));
        QVERIFY(!undo.canUndo());
    }

    void renameKeepsTheFirstSnapshotOfAFile() {
        TUndoList undo;
        const auto a = track("A", "/music/in/a.mp3");
        const auto b = track("B", "/music/in/b.mp3");
        undo.beginGroup("Rename");
        for (const QString name : {"a1", "a2"}) {
            undo.pushIfNew(a);
            a->setFileName(name);
        }
        QVERIFY(undo.pushIfNew(b));
        QCOMPARE(undo.entryCount(), 2);
        undo.UndoLast();
        QCOMPARE(a->FileName(), QString("a"));
    }

    void entriesOfFilesThatAreGoneAreSkipped() {
        TUndoList undo;
        auto gone = track("Gone", "/music/in/gone.mp3");
        const auto kept = track("Kept", "/music/in/kept.mp3");
        retitle(undo, "First", kept, "Kept 2");
        {
            const operations::TUndoGroupGuard guard(undo, "Second");
            for (const auto& file : {gone, kept}) {
                undo.push(file);
                file->set(Field::Title, "Changed");
            }
        }
        auto alsoGone = track("Also gone", "/music/in/also.mp3");
        retitle(undo, "Third", alsoGone, "x");
        gone.reset(); // their rows were removed
        alsoGone.reset();
        QCOMPARE(undo.UndoLast(), 1); // "Third" has no file left and is passed over
        QCOMPARE(kept->get(Field::Title), QString("Kept 2"));
        QCOMPARE(undo.UndoLast(), 1);
        QCOMPARE(kept->get(Field::Title), QString("Kept"));
        QVERIFY(!undo.canUndo());
    }

    void sizeText_data() {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << "0";
        QTest::newRow("1024 has no unit") << qint64(1024) << "1024";
        QTest::newRow("above 1024") << qint64(1025) << "1K";
        QTest::newRow("1024 K") << qint64(1024 * 1024) << "1024K";
        QTest::newRow("megabytes") << qint64(5) * 1024 * 1024 + 7 << "5M";
        QTest::newRow("gigabytes") << qint64(3) * 1024 * 1024 * 1024 << "3G";
        QTest::newRow("no unit beyond G") << qint64(2048) * 1024 * 1024 * 1024 << "2048G";
    }
    void sizeText() {
        QFETCH(qint64, bytes);
        QFETCH(QString, text);
        QCOMPARE(TUndoList::sizeText(bytes), text);
    }

    void statusTextCountsEntriesAndTheirBytes() {
        TUndoList undo;
        const auto file = track("Title");
        file->ID3v2().AddFrame("APIC").body = QByteArray(3 << 20, 'p');
        retitle(undo, "First", file, "Other");
        QVERIFY(undo.memoryUsed() > 3 << 20);
        QCOMPARE(undo.statusText(), QString("Undo: 1, 3M"));
    }

    void snapshotSharesTheBytesOfAPicture() {
        TUndoList undo;
        const auto file = track("Title");
        file->ID3v2().AddFrame("APIC").body = QByteArray(1 << 20, 'p');
        tags::TMP3& snapshot = undo.push(file);
        file->set(Field::Title, "Other");
        const auto* picture = file->ID3v2().FindFrame("APIC");
        const auto* stored = snapshot.ID3v2().FindFrame("APIC");
        QVERIFY(picture && stored);
        QCOMPARE(stored->body.constData(), picture->body.constData());
    }

    void clearAfterSave_data() {
        QTest::addColumn<bool>("undoAfterSave");
        QTest::newRow("undo beyond save") << true;
        QTest::newRow("undo until save") << false;
    }
    void clearAfterSave() {
        QFETCH(bool, undoAfterSave);
        TUndoList undo;
        const auto file = track("One");
        file->setAPE(true);
        file->setApeSize(100);
        retitle(undo, "First", file, "Two");
        {
            const operations::TUndoGroupGuard guard(undo, "APERemove");
            undo.push(file);
            file->RemoveAPETag();
        }
        markSaved(*file);
        file->setApeSize(0); // the save cut the APE tag
        undo.clearAfterSave(undoAfterSave);
        QCOMPARE(undo.canUndo(), undoAfterSave);
        if (!undoAfterSave)
            return;
        QCOMPARE(undo.groupCount(), 1);
        undo.UndoLast();
        QCOMPARE(file->get(Field::Title), QString("One"));
        QVERIFY(file->Changed());        // the disk holds "Two"
        QVERIFY(file->ID3v2().modified); // so the restored frames are written
        QVERIFY(!file->APE());           // the removed tag is not brought back
    }

    void undoAfterSaveKeepsAnApeTagThatIsStillThere() {
        TUndoList undo;
        const auto file = track("One");
        file->setAPE(true);
        file->setApeSize(100);
        retitle(undo, "First", file, "Two");
        markSaved(*file);
        undo.clearAfterSave(true);
        undo.UndoLast();
        QVERIFY(file->APE()); // clearing it would cut the tag at the next save
    }

    void undoToBeforeASaveMarksTheFileChanged() {
        // Two commands, a save, then both undone: the disk holds the second command's state.
        TUndoList undo;
        const auto file = track("One");
        retitle(undo, "First", file, "Two");
        retitle(undo, "Second", file, "Three");
        markSaved(*file);
        undo.clearAfterSave(true);
        undo.UndoLast();
        undo.UndoLast();
        QCOMPARE(file->get(Field::Title), QString("One"));
        QVERIFY(file->Changed());
    }
};

QTEST_GUILESS_MAIN(TestUndoList)
#include "tst_undolist.moc"
