#include "app/commandset.h"
#include "app/commandwidgets.h"
#include "app/filelistmodel.h"
#include "app/mainwindow.h"
#include "tags/audiofile.h"

#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using Answer = app::TPrompter::Answer;

namespace {

/// Answers the window's questions as each test sets it up and remembers what was shown.
class FakePrompter : public app::TPrompter {
public:
    Answer leaveAnswer = Answer::Cancel;
    int leaveQuestions = 0;
    QStringList problems;
    QStringList notices;
    std::optional<QString> templateText;

    Answer askSaveChanges(const QString&) override {
        ++leaveQuestions;
        return leaveAnswer;
    }
    void inform(const QString&, const QString& text) override { notices << text; }
    void showProblems(const QString&, const QString&, const QStringList& lines) override {
        problems << lines;
    }
    bool confirm(const QString&) override { return true; }
    QString chooseFolder(const QString&) override { return {}; }
    QString chooseTextFile(const QString&) override { return nameList; }
    QString nameList;
    std::optional<QString> askText(const QString&, const QString&, const QString&) override {
        return templateText;
    }
    operations::DuplicateAnswer askDuplicateName(const operations::DuplicateQuestion&) override {
        return {};
    }
};

const QString kSample = QStringLiteral(VARLO_TEST_DATA "/mpeg/cbr32-44k-stereo.mp3");
const QString kOgg = QStringLiteral(VARLO_TEST_DATA "/ogg/plain.ogg");

void copyTo(const QString& source, const QString& target) {
    QDir().mkpath(QFileInfo(target).absolutePath());
    QVERIFY(QFile::copy(source, target));
    QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

QStringList rowNames(const app::TFileListModel& model) {
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.index(row, 0).data().toString();
    return names;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(m_home.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath("config")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_home.filePath("cache")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath("data")));
    }

    void init() {
        m_music = std::make_unique<QTemporaryDir>();
        auto prompter = std::make_unique<FakePrompter>();
        m_prompter = prompter.get();
        m_window = std::make_unique<app::TFormMain>(nullptr, std::move(prompter));
        m_window->options().setValue(QStringLiteral("chkCache"), false);
        m_window->commands().setShowChangeWarning(false);
        m_window->setReady();
    }
    void cleanup() {
        m_window.reset();
        m_music.reset();
    }

    void listsAFolderInScanOrder() {
        copyTo(kSample, path("a.mp3"));
        copyTo(kOgg, path("b.ogg"));
        copyTo(kSample, path("x/c.mp3"));
        copyTo(kSample, path("y/d.mp3"));
        copyTo(kSample, path(".hidden/e.mp3"));
        open(m_music->path());
        QCOMPARE(rowNames(m_window->folderFiles()), QStringList({"a", "b", "d", "c"}));
        QCOMPARE(m_window->windowTitle(), "Varlo - " + m_music->path());
        QCOMPARE(m_window->statusPanelText(1), QStringLiteral("0001 : 0004"));
    }

    void secondOpeningComesFromTheCache() {
        m_window->options().setValue(QStringLiteral("chkCache"), true);
        copyTo(kSample, path("one/a.mp3"));
        copyTo(kSample, path("one/b.mp3"));
        copyTo(kSample, path("two/c.mp3"));
        open(path("one"));
        QVERIFY(file(1)->IsSyn());
        open(path("two"));
        copyTo(kSample, path("one/0.mp3")); // new to the cache: found by the synchroniser
        open(path("one"));
        QCOMPARE(rowNames(m_window->folderFiles()), QStringList({"0", "a", "b"}));
        QVERIFY(!file(2)->IsSyn()); // listed from its record, not read
    }

    void emptyFolderSaysSo() {
        open(m_music->path());
        QCOMPARE(m_window->folderFiles().fileCount(), 0);
        QCOMPARE(rowNames(m_window->folderFiles()), QStringList({"No files found"}));
    }

    void playlistListsItsFiles() {
        copyTo(kSample, path("songs/one.mp3"));
        copyTo(kSample, path("songs/two.mp3"));
        QFile list(path("LIST.M3U"));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("#EXTM3U\nsongs/two.mp3\n" + QFile::encodeName(path("songs/one.mp3")) + "\n");
        list.close();
        open(path("LIST.M3U"));
        QVERIFY(m_window->playlistMode());
        QCOMPARE(rowNames(m_window->folderFiles()), QStringList({"two", "one"}));
    }

    void commandOverThreeRowsIsOneUndoGroup() {
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
            copyTo(kSample, path(name));
        open(m_music->path());
        setGenreOfRow(1, "Jazz");
        const int groupsBefore = m_window->undoList().groupCount();
        selectAll();
        QVERIFY(chooseGenre("Jazz"));
        QCOMPARE(m_window->undoList().groupCount(), groupsBefore + 1);
        QCOMPARE(changedRows(), QList<bool>({true, false, true}));
        for (int row = 0; row < 3; ++row)
            QCOMPARE(file(row)->get(tags::Field::GenreStr), QStringLiteral("Jazz"));

        m_window->undoLast();
        QCOMPARE(changedRows(), QList<bool>({false, false, false}));
        QCOMPARE(file(0)->get(tags::Field::GenreStr), QString());
        QCOMPARE(file(1)->get(tags::Field::GenreStr), QStringLiteral("Jazz"));
    }

    void saveRenamesOnDiskAndClearsMarks() {
        copyTo(kSample, path("old.mp3"));
        open(m_music->path());
        app::TFileListModel& files = m_window->folderFiles();
        QVERIFY(files.setData(files.index(0, 0), QStringLiteral("new")));
        QVERIFY(file(0)->Changed());
        QVERIFY(m_window->saveChanges());
        QVERIFY(QFile::exists(path("new.mp3")));
        QVERIFY(!QFile::exists(path("old.mp3")));
        QVERIFY(!file(0)->Changed());
        QCOMPARE(file(0)->FilePath(), path("new.mp3"));
    }

    void fileThatCannotBeSavedIsListed() {
        copyTo(kSample, path("a.mp3"));
        copyTo(kSample, path("b.mp3"));
        open(m_music->path());
        selectAll();
        QVERIFY(chooseGenre("Techno"));
        QCOMPARE(changedRows(), QList<bool>({true, true}));
        QVERIFY(QFile::remove(path("a.mp3")));
        QVERIFY(!m_window->saveChanges());
        QCOMPARE(m_prompter->problems.size(), 1);
        QVERIFY(m_prompter->problems.first().contains(path("a.mp3")));
        QCOMPARE(changedRows(), QList<bool>({true, false}));
        tags::TMP3 reread(path("b.mp3"));
        QCOMPARE(reread.get(tags::Field::GenreStr), QStringLiteral("Techno"));
    }

    void leaveCheck_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("leaves");
        QTest::newRow("cancel keeps the folder") << int(Answer::Cancel) << false;
        QTest::newRow("no discards") << int(Answer::No) << true;
    }
    void leaveCheck() {
        QFETCH(int, answer);
        QFETCH(bool, leaves);
        copyTo(kSample, path("first/a.mp3"));
        copyTo(kSample, path("second/b.mp3"));
        open(path("first"));
        file(0)->set(tags::Field::GenreStr, QStringLiteral("Rock"));
        file(0)->setChanged(true);
        m_prompter->leaveAnswer = Answer(answer);
        if (leaves)
            open(path("second"));
        else
            m_window->openPath(path("second"));
        QCOMPARE(m_prompter->leaveQuestions, 1);
        QCOMPARE(m_window->currentFolder(), leaves ? path("second") : path("first"));
        QCOMPARE(rowNames(m_window->folderFiles()), QStringList({leaves ? "b" : "a"}));
        tags::TMP3 onDisk(path("first/a.mp3"));
        QCOMPARE(onDisk.get(tags::Field::GenreStr), QString());
    }

    void renameByTemplateThenUndo() {
        copyTo(kSample, path("track.mp3"));
        open(m_music->path());
        setFieldsOfRow(0, "Ann", "Song");
        m_prompter->templateText = QStringLiteral("#Art - #Tit");
        selectAll();
        m_window->commands().action("ActRename")->trigger();
        QCOMPARE(file(0)->FileName(), QStringLiteral("Ann - Song"));
        m_window->undoLast();
        QCOMPARE(file(0)->FileName(), QStringLiteral("track"));
        m_window->commands().action("ActRename")->trigger();
        QVERIFY(m_window->saveChanges());
        QVERIFY(QFile::exists(path("Ann - Song.mp3")));
    }

    void fileNameCommandsRunOverTheSelection() {
        copyTo(kSample, path("a_b.mp3"));
        copyTo(kSample, path("c_d.mp3"));
        open(m_music->path());
        selectAll();
        m_window->commands().action("UnderscoreToSpace")->trigger();
        QCOMPARE(rowNames(m_window->folderFiles()), QStringList({"a b", "c d"}));

        QFile list(path("names.txt"));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("First\nSecond\n");
        list.close();
        m_prompter->nameList = list.fileName();
        m_window->commands().action("ActImportFilename")->trigger();
        QCOMPARE(rowNames(m_window->folderFiles()), QStringList({"First", "Second"}));
        m_window->undoLast();
        QCOMPARE(rowNames(m_window->folderFiles()), QStringList({"a b", "c d"}));
    }

    void stickyTrackButtonNumbersEachRowSelected() {
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
            copyTo(kSample, path(name));
        open(m_music->path());
        m_window->commands().trackButton()->setChecked(true);
        for (int row : {2, 0})
            selectOnly(row);
        QCOMPARE(file(2)->Track(), 1);
        QCOMPARE(file(0)->Track(), 2);
        QCOMPARE(changedRows(), QList<bool>({true, false, true}));
        m_window->undoLast();
        QCOMPARE(file(0)->Track(), 0);
    }

    void removingRowsWithChangesIsRefused() {
        copyTo(kSample, path("a.mp3"));
        copyTo(kSample, path("b.mp3"));
        open(m_music->path());
        file(0)->set(tags::Field::Title, QStringLiteral("Edited"));
        file(0)->setChanged(true);
        selectAll();
        m_window->clearSelectedRows();
        QCOMPARE(m_prompter->notices.size(), 1);
        QCOMPARE(m_window->folderFiles().fileCount(), 2);
        selectOnly(1);
        m_window->clearSelectedRows();
        QCOMPARE(rowNames(m_window->folderFiles()), QStringList({"a"}));
        QVERIFY(QFile::exists(path("b.mp3"))); // only the row goes
    }

    void deleteMovesToTheTrash() {
        copyTo(kSample, path("a.mp3"));
        copyTo(kSample, path("b.mp3"));
        open(m_music->path());
        selectOnly(0);
        m_window->recycleSelection();
        QVERIFY(!QFile::exists(path("a.mp3")));
        QVERIFY(QFile::exists(m_home.filePath("data/Trash/files/a.mp3")));
        QCOMPARE(rowNames(m_window->folderFiles()), QStringList({"b"}));
    }

    void sortingKeepsDirectionForANewColumn() {
        copyTo(kSample, path("b.mp3"));
        copyTo(kSample, path("a.mp3"));
        copyTo(kSample, path("c.mp3"));
        open(m_music->path());
        m_window->sortByColumnClick(0);
        QCOMPARE(rowNames(m_window->folderFiles()), QStringList({"a", "b", "c"}));
        m_window->sortByColumnClick(0);
        QVERIFY(m_window->sortDescending());
        QCOMPARE(rowNames(m_window->folderFiles()), QStringList({"c", "b", "a"}));
        m_window->sortByColumnClick(3);
        QVERIFY(m_window->sortDescending());
        QCOMPARE(m_window->sortColumn(), 3);
    }

    void severalRowsAreSummarised() {
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
            copyTo(kSample, path(name));
        open(m_music->path());
        for (int row = 0; row < 3; ++row)
            setFieldsOfRow(row, "Ann", QString::number(row));
        selectAll();
        QTRY_COMPARE(m_window->summary().files, 3);
        QCOMPARE(m_window->summary().value(app::SummaryItem::Artist).toString(), "Ann");
        QVERIFY(m_window->summary().isMixed(app::SummaryItem::Title));
    }

    void recentFoldersRememberWhatWasLeft() {
        QDir(m_music->path()).mkpath("one");
        QDir(m_music->path()).mkpath("two");
        open(path("one"));
        open(path("two"));
        QCOMPARE(m_window->recentFolders().paths().value(0), path("one"));
    }

private:
    QString path(const QString& name) const { return m_music->filePath(name); }

    void open(const QString& folder) {
        QSignalSpy finished(m_window.get(), &app::TFormMain::scanFinished);
        m_window->openPath(folder);
        QVERIFY(finished.wait(10000));
    }

    /// Selects every row and lets the commands follow the selection, as the event loop does.
    void selectAll() {
        m_window->folderListView().selectAll();
        QCoreApplication::processEvents();
    }

    library::FileHandle file(int row) const { return m_window->folderFiles().fileAt(row); }

    QList<bool> changedRows() const {
        QList<bool> changed;
        for (const library::FileHandle& f : m_window->folderFiles().files())
            changed << f->Changed();
        return changed;
    }

    void selectOnly(int row) {
        m_window->folderListView().selectionModel()->setCurrentIndex(
            m_window->folderFiles().index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QCoreApplication::processEvents();
    }

    /// Picks a genre in the drop-down, which runs "Set Genre" on the selection.
    bool chooseGenre(const QString& genre) {
        app::TGenreDropDown& genres = *m_window->commands().genreDropDown();
        const int index = genres.findText(genre);
        if (index < 0)
            return false;
        genres.setCurrentIndex(index);
        emit genres.activated(index);
        return true;
    }

    /// Gives one file a genre on disk, as if it had been listed with it.
    void setGenreOfRow(int row, const QString& genre) {
        file(row)->set(tags::Field::GenreStr, genre);
        QVERIFY(file(row)->SaveTags().ok());
        file(row)->setChanged(false);
    }

    void setFieldsOfRow(int row, const QString& artist, const QString& title) {
        file(row)->set(tags::Field::Artist, artist);
        file(row)->set(tags::Field::Title, title);
        QVERIFY(file(row)->SaveTags().ok());
        file(row)->setChanged(false);
    }

    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_music;
    std::unique_ptr<app::TFormMain> m_window;
    FakePrompter* m_prompter = nullptr;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
