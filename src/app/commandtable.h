#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace app {

/// Kind bits of a command: how the per-file dispatcher treats it.
enum CommandKind : int {
    PlainCommand = 0,
    /// The dispatcher calls the handler once for every selected row that has a file.
    PerFile = 1,
    /// The dispatcher records each file before the handler and marks it changed only when a
    /// field differs afterwards.
    Undoable = 2,
    /// The command follows its own enabling rule instead of the generic per-file one.
    OwnRule = 4,
    /// The comparison after the handler never marks the file changed (reverting).
    KeepsUnchanged = 8,
};

/// Which file lists a command works on.
enum CommandScope : int {
    NoList = 0,
    FolderList = 1,
    SearchList = 2,
    /// The current list, whichever page is shown.
    CurrentList = FolderList | SearchList,
};

/// Further attributes of a table row.
enum CommandFlag : int {
    NoFlags = 0,
    Checkable = 1,
    StartsChecked = 2,
    /// A separator goes before the command in its menu (and in the context menu).
    SeparatorBefore = 4,
    /// The command changes tags or files (undo entries, pending changes or work on disk).
    ChangesFiles = 8,
    /// The command carries a drop-down list of templates (filled by the template store).
    TemplateMenu = 16,
    /// The command set runs the command itself (mode radio items, routing buttons), so it
    /// needs no handler from outside.
    BuiltIn = 32,
    /// The command heads the template list of the template command before it in the table.
    InTemplateMenu = 64,
};

/// Toolbars of the main window, in the order the "Toolbars" menu lists them.
enum class ToolBarId { None, Basic, EditTag, EditFilename, View, Player, Tools };

/// The rule that decides whether a command is enabled and shown.
enum class EnableRule {
    Always,
    RowSelected,       ///< a selected row, and the focused row has a file
    ListHasFiles,      ///< the current list has rows and its first row has a file
    OneSelected,       ///< exactly one row selected (copying a tag)
    TagOnClipboard,    ///< the tag clipboard holds a tag
    CanUndo,           ///< more than one undo entry
    CanSave,           ///< changes, a modified playlist, or "always save"
    WhileScanning,     ///< only while a folder scan runs (stop)
    NotScanning,       ///< a folder is open and no scan runs (refresh)
    FolderShown,       ///< the folder page shows an open folder or playlist (close)
    FavouriteSelected, ///< a node of the favourites tree is selected
    EditId3,           ///< ID3v1 or ID3v2 editing and removal
    EditOgg,           ///< Ogg editing and removal
    EditWma,           ///< WMA editing and removal
    EditMixed,         ///< the editor for a selection of several kinds
    EditCommon,        ///< the common-mode editor
    RemoveApe,
    AdvancedTagWork, ///< per-file work that only advanced mode shows (conversions)
    AdvancedView,    ///< always enabled, shown in advanced mode only
    NotWav,          ///< per-file work on files that have tags (not WAV)
    TrackButton,     ///< the current list's first row has a file
};

/// Kind of the focused file, as far as enabling cares.
enum class FileKind { None, Mpeg, Ogg, Wma, Wav };

/// What the enabling rules look at; the main window fills it from its lists and settings.
struct CommandState {
    enum class Page { Folder, Search };
    Page page = Page::Folder;
    bool folderOpen = false;      ///< the folder page shows a folder or a playlist file
    int rows = 0;                 ///< rows of the current list
    bool firstRowHasFile = false; ///< false for an information row ("No files found")
    int selectedRows = 0;
    FileKind focused = FileKind::None; ///< None: no focused row, or it has no file
    bool focusedHasApe = false;
    bool selectionOneKind = true; ///< the selection holds only WMA, only Ogg, or only others
    bool scanning = false;
    bool saving = false; ///< a save run is going on: nothing else may start
    bool canUndo = false;
    bool hasChanges = false;
    bool alwaysSave = false;
    bool playlistMode = false;
    bool playlistModified = false;
    bool commonMode = false;
    int displayedVersion = 3; ///< 1 ID3v1 only, 2 ID3v2 only, 3 mixed
    bool oggEnabled = true;
    bool wmaEnabled = true;
    bool clipboardHasTag = false;
    bool favouriteSelected = false;
};

/// Whether a command may run and whether it is shown.
struct Availability {
    bool enabled = false;
    bool visible = true;
    bool operator==(const Availability&) const = default;
};

/// One command of the main window. Menu, toolbar and context-menu order is table order.
struct CommandSpec {
    const char* name;        ///< object name of the action, also the undo group's name
    const char* caption;     ///< English text with "&" accelerators
    const char* languageKey; ///< "Strings" key of the caption; empty: translated by caption
    const char* shortcut;    ///< QKeySequence text (portable form); empty for none
    int kind;                ///< CommandKind bits
    int scope;               ///< CommandScope bits
    EnableRule rule;
    const char* menuPath; ///< "&Edit" or "&Filename/&Track numbers"; empty: not in a menu
    ToolBarId toolBar;
    /// Place in the file list's context menu (0: not there); a new tens digit starts a group.
    int contextOrder;
    int flags; ///< CommandFlag bits
};

/// Every command of the main window, in menu order.
const QList<CommandSpec>& commandTable();
/// The row of a command; nullptr for an unknown name.
const CommandSpec* findCommand(const QString& name);

/// Per-file steps that other commands hand to the dispatcher (an editor's mass apply, the
/// single-file part of a template run ...). They are not user commands and have no action.
struct PerFileStep {
    const char* name; ///< also the undo group's name
    int kind;
};
const QList<PerFileStep>& perFileSteps();
/// The kind bits of a command or per-file step; -1 for an unknown name.
int commandKind(const QString& name);

/// Applies a command's rule to the window's state.
Availability availability(EnableRule rule, const CommandState& state);

/// The command the edit-tag toolbar button runs for the state.
QString editTagCommandFor(const CommandState& state);
/// The commands the remove-tag toolbar button runs, in order (none for a WAV file).
QStringList removeTagCommandsFor(const CommandState& state);

/// Object name and title of a toolbar.
QString toolBarObjectName(ToolBarId id);
QString toolBarTitle(ToolBarId id);

} // namespace app
