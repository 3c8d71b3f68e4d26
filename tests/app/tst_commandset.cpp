#include "app/commandset.h"
#include "app/commandtable.h"
#include "app/commandwidgets.h"

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

#include <memory>

using app::CommandState;
using app::FileKind;

Q_DECLARE_METATYPE(app::CommandState)

namespace {

/// Answers the change warning without showing anything and counts the questions.
class FakeWarning : public app::ChangeWarning {
public:
    Answer answer{true, false};
    int asked = 0;
    Answer ask() override {
        ++asked;
        return answer;
    }
};

/// A window with the command set and a handler on every command that takes one.
struct Fixture {
    QMainWindow window;
    FakeWarning* warning = new FakeWarning;
    app::TCommandSet commands{&window, std::unique_ptr<app::ChangeWarning>(warning)};
    QStringList ran;

    Fixture() {
        for (const app::CommandSpec& spec : app::commandTable()) {
            const QString name = QLatin1String(spec.name);
            if (!(spec.flags & app::BuiltIn))
                commands.setHandler(name, [this, name] { ran.append(name); });
        }
    }
};

/// One MP3 file of a three-file folder selected and focused.
CommandState oneMp3Selected() {
    CommandState state;
    state.folderOpen = true;
    state.rows = 3;
    state.firstRowHasFile = true;
    state.selectedRows = 1;
    state.focused = FileKind::Mpeg;
    return state;
}

} // namespace

class TestCommandSet : public QObject {
    Q_OBJECT
private slots:
    void everyCommandHasAUniqueNameAndAPlace() {
        QSet<QString> names;
        for (const app::CommandSpec& spec : app::commandTable()) {
            const QString name = QLatin1String(spec.name);
            QVERIFY2(!names.contains(name), qPrintable(name));
            names.insert(name);
            QVERIFY2(*spec.menuPath || spec.toolBar != app::ToolBarId::None ||
                         (spec.flags & app::InTemplateMenu),
                     qPrintable(name));
        }
        for (const app::PerFileStep& step : app::perFileSteps())
            QVERIFY2(!names.contains(QLatin1String(step.name)), step.name);
    }

    void removedFeaturesAreAbsent_data() {
        QTest::addColumn<QString>("word");
        for (const char* word : {"Burn", "Rip", "Encode", "Convert", "Normali", "StreamWeaver",
                                 "Cutter", "Recorder", "Volume", "Repair"})
            QTest::newRow(word) << QString::fromLatin1(word);
    }
    void removedFeaturesAreAbsent() {
        QFETCH(QString, word);
        for (const app::CommandSpec& spec : app::commandTable()) {
            QVERIFY2(!QString::fromLatin1(spec.name).contains(word, Qt::CaseInsensitive),
                     spec.name);
            QVERIFY2(!QString::fromUtf8(spec.caption).contains(word, Qt::CaseInsensitive),
                     spec.caption);
        }
    }

    void shortcutsAreValidAndUnique() {
        QMainWindow window;
        app::TCommandSet commands(&window);
        QHash<QKeySequence, QString> owners;
        for (const app::CommandSpec& spec : app::commandTable()) {
            if (!*spec.shortcut)
                continue;
            const QKeySequence keys = commands.action(QLatin1String(spec.name))->shortcut();
            QVERIFY2(!keys.isEmpty(), spec.shortcut);
            QVERIFY2(!owners.contains(keys), qPrintable(owners.value(keys) + " and " + spec.name));
            owners.insert(keys, QLatin1String(spec.name));
        }
    }

    void enabling_data() {
        QTest::addColumn<CommandState>("state");
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("visible");

        CommandState none = oneMp3Selected();
        none.selectedRows = 0;
        none.focused = FileKind::None;
        QTest::newRow("no selection: per-file off") << none << "UnderscoreToSpace" << false << true;
        QTest::newRow("no selection: select all on") << none << "SelectAll" << true << true;
        QTest::newRow("no selection: copy tag off") << none << "ActionCopyTag" << false << true;

        const CommandState one = oneMp3Selected();
        QTest::newRow("selection: per-file on") << one << "UnderscoreToSpace" << true << true;
        QTest::newRow("selection: copy tag on") << one << "ActionCopyTag" << true << true;
        QTest::newRow("selection: paste without tag") << one << "ActionPasteTag" << false << true;
        QTest::newRow("selection: nothing to undo") << one << "Undo" << false << true;
        QTest::newRow("selection: stop off") << one << "ActStopBrowse" << false << true;

        CommandState info = none;
        info.rows = 1;
        info.firstRowHasFile = false;
        QTest::newRow("information row: find off") << info << "ActFind" << false << true;

        CommandState scanning = one;
        scanning.scanning = true;
        QTest::newRow("scanning: stop on") << scanning << "ActStopBrowse" << true << true;
        QTest::newRow("scanning: refresh off") << scanning << "ActRefresh" << false << true;
        QTest::newRow("scanning: per-file on") << scanning << "UnderscoreToSpace" << true << true;

        CommandState search = one;
        search.page = CommandState::Page::Search;
        QTest::newRow("search page: per-file on") << search << "ActRevert" << true << true;
        QTest::newRow("search page: close off") << search << "FileClose" << false << true;
        QTest::newRow("search page: refresh off") << search << "ActRefresh" << false << true;

        CommandState playlist = none;
        playlist.playlistMode = true;
        QTest::newRow("playlist unmodified: save off")
            << playlist << "SaveChanges" << false << true;
        playlist.playlistModified = true;
        QTest::newRow("playlist modified: save on") << playlist << "SaveChanges" << true << true;

        CommandState mixed = one;
        mixed.selectedRows = 2;
        mixed.selectionOneKind = false;
        QTest::newRow("mp3 and ogg: ID3v1 editor off") << mixed << "EditID3v1" << false << true;
        QTest::newRow("mp3 and ogg: tags editor on") << mixed << "EditCommon" << true << true;
        QTest::newRow("mp3 and ogg: copy tag off") << mixed << "ActionCopyTag" << false << true;

        CommandState ogg = one;
        ogg.focused = FileKind::Ogg;
        QTest::newRow("ogg: Ogg editor on") << ogg << "EditOgg" << true << true;
        QTest::newRow("ogg: ID3v2 editor off") << ogg << "EditID3v2" << false << true;
        ogg.oggEnabled = false;
        QTest::newRow("ogg switched off: Ogg editor hidden") << ogg << "EditOgg" << false << false;

        CommandState common = one;
        common.commonMode = true;
        QTest::newRow("common mode: Edit Tag on") << common << "EditTag" << true << true;
        QTest::newRow("common mode: ID3v1 editor hidden")
            << common << "EditID3v1" << false << false;
        QTest::newRow("common mode: version items hidden")
            << common << "VersionID3v1" << false << false;

        CommandState wav = one;
        wav.focused = FileKind::Wav;
        QTest::newRow("wav: generate tag off") << wav << "ActGenerateTag" << false << true;
        QTest::newRow("wav: APE removal hidden") << wav << "APERemove" << false << false;

        CommandState saving = one;
        saving.saving = true;
        saving.hasChanges = true;
        QTest::newRow("saving: open off") << saving << "FileOpen" << false << true;
        QTest::newRow("saving: save off") << saving << "SaveChanges" << false << true;
    }
    void enabling() {
        QFETCH(CommandState, state);
        QFETCH(QString, command);
        QFETCH(bool, enabled);
        QFETCH(bool, visible);
        Fixture f;
        f.commands.updateEnabling(state);
        QCOMPARE(f.commands.action(command)->isEnabled(), enabled);
        QCOMPARE(f.commands.action(command)->isVisible(), visible);
    }

    void commandWithoutHandlerStaysDisabled() {
        QMainWindow window;
        app::TCommandSet commands(&window);
        commands.updateEnabling(oneMp3Selected());
        QAction* automatic = commands.action(QStringLiteral("ActAutomatic"));
        QVERIFY(!automatic->isEnabled());
        QVERIFY(automatic->toolTip().contains(QLatin1String("not available yet")));

        int runs = 0;
        commands.setHandler(QStringLiteral("ActAutomatic"), [&runs] { ++runs; });
        QVERIFY(automatic->isEnabled());
        QVERIFY(!automatic->toolTip().contains(QLatin1String("not available yet")));
        automatic->trigger();
        QCOMPARE(runs, 1);

        commands.setHandler(QStringLiteral("ActAutomatic"), {});
        QVERIFY(!automatic->isEnabled());
    }

    void toolBarButtonsRoute_data() {
        QTest::addColumn<CommandState>("state");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("expected");

        CommandState id3v1 = oneMp3Selected();
        id3v1.displayedVersion = 1;
        QTest::newRow("edit, ID3v1 shown") << id3v1 << "EditTagButton" << QStringList{"EditID3v1"};
        CommandState wma = oneMp3Selected();
        wma.focused = FileKind::Wma;
        QTest::newRow("edit, WMA") << wma << "EditTagButton" << QStringList{"EditWma"};
        CommandState mixed = oneMp3Selected();
        mixed.selectedRows = 2;
        mixed.selectionOneKind = false;
        QTest::newRow("edit, two kinds") << mixed << "EditTagButton" << QStringList{"EditCommon"};
        QTest::newRow("remove, mixed view")
            << oneMp3Selected() << "RemoveTagButton" << QStringList{"ID31Remove", "ID32Remove"};
        CommandState common = oneMp3Selected();
        common.commonMode = true;
        QTest::newRow("remove, common mode")
            << common << "RemoveTagButton" << QStringList{"TagRemove"};
    }
    void toolBarButtonsRoute() {
        QFETCH(CommandState, state);
        QFETCH(QString, button);
        QFETCH(QStringList, expected);
        Fixture f;
        f.commands.updateEnabling(state);
        f.commands.action(button)->trigger();
        QCOMPARE(f.ran, expected);
    }

    void changeWarningAsksOncePerCommand() {
        Fixture f;
        QList<bool> answers;
        f.commands.setHandler(QStringLiteral("ActAutomatic"), [&] {
            answers << f.commands.confirmChange() << f.commands.confirmChange();
        });
        f.commands.updateEnabling(oneMp3Selected());
        QAction* automatic = f.commands.action(QStringLiteral("ActAutomatic"));

        f.warning->answer = {false, false};
        automatic->trigger();
        QCOMPARE(answers, (QList<bool>{false, false})); // a "No" is not turned into a "Yes"
        QCOMPARE(f.warning->asked, 1);

        QSignalSpy switchedOff(&f.commands, &app::TCommandSet::showChangeWarningChanged);
        f.warning->answer = {true, true};
        automatic->trigger();
        QCOMPARE(f.warning->asked, 2);
        QCOMPARE(switchedOff.size(), 1);
        QVERIFY(!f.commands.showChangeWarning());
        automatic->trigger();
        QCOMPARE(f.warning->asked, 2);
    }

    void changeWarningIsNotAskedForMenuCommands() {
        Fixture f;
        bool fromMenu = false;
        f.commands.setHandler(QStringLiteral("ActAutomatic"), [&] {
            fromMenu = f.commands.triggeredFromMenu();
            f.commands.confirmChange();
        });
        f.commands.updateEnabling(oneMp3Selected());
        QMenuBar* bar = f.window.menuBar();
        f.commands.buildMenus(bar);
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));

        QMenu* tagMenu = f.window.findChild<QMenu*>(QStringLiteral("TagMenu"));
        QVERIFY(tagMenu);
        tagMenu->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(tagMenu));
        tagMenu->setActiveAction(f.commands.action(QStringLiteral("ActAutomatic")));
        QTest::keyClick(tagMenu, Qt::Key_Return);
        QVERIFY(fromMenu);
        QCOMPARE(f.warning->asked, 0);

        QTest::qWait(1); // the menu's key press belongs to the past now
        f.commands.action(QStringLiteral("ActAutomatic"))->trigger();
        QVERIFY(!fromMenu);
        QCOMPARE(f.warning->asked, 1);
    }

    void tagModeRadioItems() {
        Fixture f;
        QSignalSpy modes(&f.commands, &app::TCommandSet::tagModeChanged);
        QSignalSpy versions(&f.commands, &app::TCommandSet::displayedVersionChanged);
        f.commands.action(QStringLiteral("VersionID3v2"))->trigger();
        QCOMPARE(f.commands.displayedVersion(), 2);

        f.commands.action(QStringLiteral("ModeCommon"))->trigger();
        QVERIFY(f.commands.commonMode());
        QVERIFY(!f.commands.action(QStringLiteral("ModeAdvanced"))->isChecked());
        QCOMPARE(f.commands.displayedVersion(), 3); // common mode shows the mixed view

        f.commands.action(QStringLiteral("ModeAdvanced"))->trigger();
        QCOMPARE(f.commands.displayedVersion(), 2); // and advanced mode gets its own back
        QCOMPARE(modes.size(), 2);
        QCOMPARE(versions.size(), 3);

        f.commands.action(QStringLiteral("ViewModeButton"))->trigger();
        QCOMPARE(f.commands.displayedVersion(), 3);
        f.commands.action(QStringLiteral("ViewModeButton"))->trigger();
        QCOMPARE(f.commands.displayedVersion(), 1);
        QVERIFY(!f.commands.action(QStringLiteral("VersionMixed"))->isChecked());
    }

    void menusAndToolBarsHoldEveryCommand() {
        Fixture f;
        f.commands.buildMenus(f.window.menuBar());
        const QList<QToolBar*> bars = f.commands.buildToolBars(&f.window);
        QSet<QString> barNames;
        for (const QToolBar* bar : bars) {
            QVERIFY(!bar->objectName().isEmpty());
            barNames.insert(bar->objectName());
        }
        QCOMPARE(barNames.size(), bars.size());
        for (const app::CommandSpec& spec : app::commandTable()) {
            QAction* action = f.commands.action(QLatin1String(spec.name));
            QMenu* templates = f.commands.templateMenu(QLatin1String(spec.name));
            // The window itself holds every action for its shortcut; a place is more than that.
            const qsizetype places =
                action->associatedObjects().size() +
                (templates ? templates->menuAction()->associatedObjects().size() : 0);
            QVERIFY2(places > 1, spec.name);
        }
        f.window.resize(2400, 600); // wide enough that no toolbar folds its end away
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QVERIFY(f.commands.genreDropDown()->isVisible());
        QVERIFY(f.commands.playButton()->isVisible());
        QVERIFY(f.commands.trackButton()->isVisible());
        QVERIFY(!f.commands.renameBar()->isVisible());
    }

    void stickyTrackCounter() {
        Fixture f;
        app::TTrackButton* track = f.commands.trackButton();
        QCOMPARE(track->text(), QStringLiteral("Track: ?"));
        track->setChecked(true);
        QCOMPARE(track->text(), QStringLiteral("Track: 1"));
        QCOMPARE(track->takeNextTrack(), 1);
        QCOMPARE(track->takeNextTrack(), 2);
        QCOMPARE(track->text(), QStringLiteral("Track: 3"));

        f.commands.updateEnabling(oneMp3Selected());
        f.commands.action(QStringLiteral("Play"))->trigger(); // any command ends numbering
        QVERIFY(!track->isChecked());
        QCOMPARE(track->text(), QStringLiteral("Track: ?"));
        track->setChecked(true);
        QCOMPARE(track->takeNextTrack(), 1);
    }

    void renameFilter_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("typeable");
        QTest::addColumn<bool>("acceptable");
        QTest::newRow("slash") << "a/b" << false << false;
        QTest::newRow("NUL") << QString(QChar(0)) + "x" << false << false;
        QTest::newRow("tab") << "a\tb" << false << false;
        QTest::newRow("line break") << "a\nb" << false << false;
        QTest::newRow("dot") << "." << true << false;
        QTest::newRow("dot dot") << ".." << true << false;
        QTest::newRow("empty") << "" << true << false;
        QTest::newRow("too long") << QString(256, QLatin1Char('x')) << true << false;
        QTest::newRow("plain") << "x.mp3" << true << true;
        QTest::newRow("windows-only specials") << "a: b? \"c\" <d>|*" << true << true;
        QTest::newRow("unicode") << QStringLiteral("Björk – Jóga") << true << true;
        QTest::newRow("leading dots") << "..x" << true << true;
    }
    void renameFilter() {
        QFETCH(QString, name);
        QFETCH(bool, typeable);
        QFETCH(bool, acceptable);
        app::FileNameValidator validator;
        int pos = 0;
        QCOMPARE(validator.validate(name, pos) == QValidator::Acceptable, typeable);
        QCOMPARE(app::FileNameValidator::isAcceptableName(name), acceptable);
    }

    void renameBarAppliesOnlyAcceptableNames() {
        app::TRenameBar bar;
        QSignalSpy renamed(&bar, &app::TRenameBar::renameAccepted);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QLineEdit* field = bar.field();
        field->setFocus();

        field->clear();
        QTest::keyClicks(field, QStringLiteral("a/b"));
        QCOMPARE(field->text(), QStringLiteral("ab")); // the slash never gets in

        bar.showName(QStringLiteral("old"));
        field->setText(QStringLiteral(".."));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(renamed.size(), 0);
        QCOMPARE(field->text(), QStringLiteral("old"));

        field->setText(QString());
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(field->text(), QStringLiteral("old"));

        field->setText(QStringLiteral("new name"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(renamed.size(), 1);
        QCOMPARE(renamed.at(0).at(0).toString(), QStringLiteral("new name"));

        field->setText(QStringLiteral("typed"));
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(bar.isHidden());
        QCOMPARE(renamed.size(), 1);
        QCOMPARE(field->text(), QStringLiteral("new name"));
    }

    void genreDropDownSortsAndRunsSetGenre() {
        Fixture f;
        f.commands.updateEnabling(oneMp3Selected());
        app::TGenreDropDown* genres = f.commands.genreDropDown();
        genres->setGenres(
            {QStringLiteral("rock"), QStringLiteral("Blues"), QStringLiteral("acid")});
        QStringList shown;
        for (int i = 0; i < genres->count(); ++i)
            shown << genres->itemText(i);
        QCOMPARE(shown, (QStringList{"None", "acid", "Blues", "rock"}));

        QSignalSpy chosen(genres, &app::TGenreDropDown::genreChosen);
        genres->setCurrentIndex(2);
        emit genres->activated(2);
        QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral("Blues"));
        QCOMPARE(f.ran, QStringList{"SetGenre"});
        QCOMPARE(genres->genre(), QStringLiteral("Blues"));
    }
};

QTEST_MAIN(TestCommandSet)
#include "tst_commandset.moc"
