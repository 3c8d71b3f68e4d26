#include "commandtable.h"

namespace app {

namespace {

using R = EnableRule;
using T = ToolBarId;

constexpr int kPerFileWork = PerFile | Undoable;             // kind 3
constexpr int kOwnRuleWork = PerFile | Undoable | OwnRule;   // kind 7
constexpr int kRevert = PerFile | Undoable | KeepsUnchanged; // kind 11
constexpr int kAll = NoList;
constexpr int kList = CurrentList;
constexpr int kChanges = ChangesFiles;
constexpr int kToggle = Checkable;
constexpr int kToggleOn = Checkable | StartsChecked;
constexpr int kRadio = Checkable | BuiltIn;

const char kFile[] = "&File";
const char kEdit[] = "&Edit";
const char kSelect[] = "Se&lect";
const char kTag[] = "&Tag";
const char kName[] = "File&name";
const char kNumbers[] = "File&name/&Track numbers";
const char kView[] = "&View";
const char kTools[] = "T&ools";
const char kPlayer[] = "T&ools/&Player";
const char kFavourites[] = "Fa&vourites";
const char kHelp[] = "&Help";
const char kUpdates[] = "&Help/&Updates";

// Burning, ripping, encoding, conversion, normalisation, the volume control and the
// external tools (stream recorder, audio cutter, audio recorder) are not part of this
// program, so they have no rows. Rows in menu order; toolbar and context-menu order follow.
const QList<CommandSpec> kCommands = {
    // name, caption, language key, shortcut, kind, scope, rule, menu, toolbar, context, flags
    {"FileOpen", "&Open...", "", "Ctrl+O", PlainCommand, kAll, R::Always, kFile, T::Basic, 0, 0},
    {"FileClose", "&Close", "", "", PlainCommand, FolderList, R::FolderShown, kFile, T::None, 90,
     0},
    {"SaveChanges", "Save ...", "", "Ctrl+S", PlainCommand, kAll, R::CanSave, kFile, T::Basic, 0,
     SeparatorBefore | kChanges},
    {"ActExport", "Export...", "", "", PlainCommand, kList, R::RowSelected, kFile, T::Tools, 0,
     SeparatorBefore},
    {"ActPrintTemplates", "Print", "", "", PlainCommand, kList, R::RowSelected, kFile, T::Tools, 0,
     0},
    {"ActTransferListFiles", "Transfer", "", "", PlainCommand, kList, R::RowSelected, kFile,
     T::None, 0, 0},
    {"ActionImportData", "Import data", "", "", PlainCommand, kAll, R::Always, kFile, T::None, 0,
     0},
    {"FileExit", "E&xit", "", "Ctrl+Q", PlainCommand, kAll, R::Always, kFile, T::None, 0,
     SeparatorBefore},

    {"Undo", "Undo", "", "Ctrl+Z", PlainCommand, kAll, R::CanUndo, kEdit, T::Basic, 0, kChanges},
    {"ActionCopyTag", "Copy Tag", "", "", PlainCommand, kList, R::OneSelected, kEdit, T::EditTag, 0,
     SeparatorBefore},
    {"ActionPasteTag", "Paste Tag", "", "", kPerFileWork, kList, R::TagOnClipboard, kEdit,
     T::EditTag, 0, kChanges},
    {"ActionPasteSpecial", "Paste special...", "", "", PlainCommand, kList, R::TagOnClipboard,
     kEdit, T::None, 0, kChanges},
    {"ActFind", "Find...", "", "Ctrl+F", PlainCommand, kList, R::ListHasFiles, kEdit, T::Basic, 0,
     SeparatorBefore},
    {"ActFindNext", "Find next", "", "F3", PlainCommand, kList, R::ListHasFiles, kEdit, T::None, 0,
     0},
    {"ActReplace", "Replace...", "", "Ctrl+H", PlainCommand, kList, R::ListHasFiles, kEdit, T::None,
     0, kChanges},
    {"ActRevert", "Revert", "", "Ctrl+Alt+R", kRevert, kList, R::RowSelected, kEdit, T::None, 80,
     SeparatorBefore | kChanges},
    {"ActRecycle", "Delete", "", "Ctrl+Del", PlainCommand, kList, R::RowSelected, kEdit, T::None,
     81, kChanges},
    {"aMoveUp", "Move Up", "", "Ctrl+Up", PlainCommand, kList, R::RowSelected, kEdit, T::None, 0,
     SeparatorBefore},
    {"aMoveDown", "Move Down", "", "Ctrl+Down", PlainCommand, kList, R::RowSelected, kEdit, T::None,
     0, 0},

    {"SelectAll", "Select All", "", "Ctrl+A", PlainCommand, kList, R::ListHasFiles, kSelect,
     T::None, 0, 0},
    {"SelectionInvert", "Invert selection", "", "Ctrl+Shift+A", PlainCommand, kList,
     R::ListHasFiles, kSelect, T::None, 0, 0},
    {"SelectionClearAct", "Clear selection", "", "", PlainCommand, kList, R::RowSelected, kSelect,
     T::None, 0, 0},
    {"ActSelect", "Special...", "", "Ctrl+Shift+S", PlainCommand, kList, R::ListHasFiles, kSelect,
     T::None, 0, SeparatorBefore},
    {"SelectWoID31", "Select files without ID3v1", "", "", PlainCommand, kList, R::AdvancedTagWork,
     kSelect, T::None, 0, SeparatorBefore},
    {"SelectWoID32", "Select files without ID3v2", "", "", PlainCommand, kList, R::AdvancedTagWork,
     kSelect, T::None, 0, 0},
    {"SelectWoArtist", "Select files without Artist", "", "", PlainCommand, kList, R::ListHasFiles,
     kSelect, T::None, 0, 0},
    {"SelectWoTitle", "Select files without Title", "", "", PlainCommand, kList, R::ListHasFiles,
     kSelect, T::None, 0, 0},
    {"SelectWoAlbum", "Select files without Album", "", "", PlainCommand, kList, R::ListHasFiles,
     kSelect, T::None, 0, 0},

    {"EditTag", "Edit Tag", "", "", PlainCommand, kList, R::EditCommon, kTag, T::None, 20,
     kChanges},
    {"EditCommon", "Edit Tags", "", "", PlainCommand, kList, R::EditMixed, kTag, T::None, 21,
     kChanges},
    {"EditID3v1", "Edit ID3v1 Tag", "", "Ctrl+1", PlainCommand, kList, R::EditId3, kTag, T::None,
     22, kChanges},
    {"EditID3v2", "Edit ID3v2 Tag", "", "Ctrl+2", PlainCommand, kList, R::EditId3, kTag, T::None,
     23, kChanges},
    {"EditOgg", "Edit OGG Vorbis Tag", "EditOGGTag", "", PlainCommand, kList, R::EditOgg, kTag,
     T::None, 24, kChanges},
    {"EditWma", "Edit WMA Tag", "EditWMATag", "", PlainCommand, kList, R::EditWma, kTag, T::None,
     25, kChanges},
    {"TagRemove", "Remove Tag", "", "", PlainCommand, kList, R::EditCommon, kTag, T::None, 50,
     SeparatorBefore | kChanges},
    {"CommonRemove", "Remove Tags", "", "", PlainCommand, kList, R::EditMixed, kTag, T::None, 51,
     kChanges},
    {"ID31Remove", "Remove ID3v1", "", "Ctrl+Shift+1", kOwnRuleWork, kList, R::EditId3, kTag,
     T::None, 52, kChanges},
    {"ID32Remove", "Remove ID3v2", "", "Ctrl+Shift+2", kOwnRuleWork, kList, R::EditId3, kTag,
     T::None, 53, kChanges},
    {"APERemove", "Remove APE", "", "", kOwnRuleWork, kList, R::RemoveApe, kTag, T::None, 54,
     kChanges},
    {"OGGRemove", "Remove OGG", "", "", kOwnRuleWork, kList, R::EditOgg, kTag, T::None, 55,
     kChanges},
    {"WMARemove", "Remove WMA", "", "", kOwnRuleWork, kList, R::EditWma, kTag, T::None, 56,
     kChanges},
    {"ID3_1_to_2", "ID3v1 -> ID3v&2", "", "", kPerFileWork, kList, R::AdvancedTagWork, kTag,
     T::None, 40, SeparatorBefore | kChanges},
    {"ID3_2_to_1", "ID3v2 -> ID3v&1", "", "", kPerFileWork, kList, R::AdvancedTagWork, kTag,
     T::None, 41, kChanges},
    {"ActGenerateTag", "Generate &tag", "", "Ctrl+T", PlainCommand, kList, R::NotWav, kTag,
     T::EditTag, 30, SeparatorBefore | TemplateMenu | kChanges},
    {"ActAutogenerateTag", "&Automatic", "", "", kPerFileWork, kList, R::NotWav, "", T::None, 0,
     InTemplateMenu | kChanges},
    {"ActAutomatic", "Automatic", "", "Ctrl+W", kPerFileWork, kList, R::RowSelected, kTag,
     T::EditTag, 0, kChanges},
    {"SetGenre", "Set Genre", "", "", kPerFileWork, kList, R::RowSelected, kTag, T::EditTag, 0,
     kChanges},
    {"CapitalizeFnFirst", "Capitalize ID3 tag", "", "", kPerFileWork, kList, R::RowSelected, kTag,
     T::None, 0, kChanges},
    {"ActGetTagDBData", "Get TagDB Data", "", "", PlainCommand, kList, R::RowSelected, kTag,
     T::Tools, 0, SeparatorBefore | kChanges},

    {"ActRename", "&Rename", "", "Ctrl+R", PlainCommand, kList, R::RowSelected, kName,
     T::EditFilename, 31, TemplateMenu | kChanges},
    {"ActRestructure", "Re&structure", "", "Ctrl+E", PlainCommand, kList, R::RowSelected, kName,
     T::EditFilename, 0, TemplateMenu | kChanges},
    {"ActSwap", "&Swap", "", "Ctrl+J", PlainCommand, kList, R::RowSelected, kName, T::EditFilename,
     32, TemplateMenu | kChanges},
    {"ActExtract", "&Extract", "", "Ctrl+D", PlainCommand, kList, R::RowSelected, kName,
     T::EditFilename, 33, TemplateMenu | kChanges},
    {"QuickRename", "Rename file from ID3 Tag according to settings", "", "", kPerFileWork, kList,
     R::RowSelected, kName, T::None, 0, kChanges},
    {"ActionEditFileName", "Edit Filename", "", "F2", PlainCommand, kList, R::RowSelected, kName,
     T::None, 0, SeparatorBefore | kChanges},
    {"CapitalizeFnEvery", "Capitalize filename", "", "", kPerFileWork, kList, R::RowSelected, kName,
     T::None, 0, kChanges},
    {"UnderscoreToSpace", "Underscore to space", "", "Ctrl+U", kPerFileWork, kList, R::RowSelected,
     kName, T::EditFilename, 0, kChanges},
    {"CorrectMinusDelimiter", "Correct ' - ' separator", "", "", kPerFileWork, kList,
     R::RowSelected, kName, T::None, 0, kChanges},
    {"ActPrepareFilename", "Prepare", "", "", PlainCommand, kList, R::RowSelected, kName, T::None,
     0, kChanges},
    {"ActImportFilename", "Import Filenames", "", "", PlainCommand, kList, R::RowSelected, kName,
     T::None, 0, kChanges},
    {"ActAddNumbers", "Add", "", "", kPerFileWork, kList, R::RowSelected, kNumbers, T::None, 0,
     kChanges},
    {"ActDelNumbers", "Remove", "", "", kPerFileWork, kList, R::RowSelected, kNumbers, T::None, 0,
     kChanges},

    {"ModeCommon", "Common mode", "", "", PlainCommand, kAll, R::Always, kView, T::None, 0, kRadio},
    {"ModeAdvanced", "Advanced mode", "", "", PlainCommand, kAll, R::Always, kView, T::None, 0,
     kRadio | StartsChecked},
    {"VersionID3v1", "ID3v&1 only", "", "", PlainCommand, kAll, R::AdvancedView, kView, T::None, 0,
     kRadio | SeparatorBefore},
    {"VersionID3v2", "ID3v&2 only", "", "", PlainCommand, kAll, R::AdvancedView, kView, T::None, 0,
     kRadio},
    {"VersionMixed", "&Mixed mode", "", "", PlainCommand, kAll, R::AdvancedView, kView, T::None, 0,
     kRadio | StartsChecked},
    {"ActShowTreeView", "Folder list", "", "", PlainCommand, kAll, R::Always, kView, T::View, 0,
     kToggleOn | SeparatorBefore},
    {"ActFileSummary", "File summary", "", "", PlainCommand, kAll, R::Always, kView, T::View, 0,
     kToggleOn},
    {"ActFavourites", "Favourites", "", "", PlainCommand, kAll, R::Always, kView, T::View, 0,
     kToggle},
    {"RenameToolbarAct", "Rename bar", "", "", PlainCommand, kAll, R::Always, kView, T::None, 0,
     kToggle | BuiltIn},
    {"ActStatusBar", "Status bar", "", "", PlainCommand, kAll, R::Always, kView, T::None, 0,
     kToggleOn},
    {"ActColumns", "Columns...", "", "", PlainCommand, kList, R::Always, kView, T::View, 0,
     SeparatorBefore},
    {"ActLookAndFeel", "Look and Feel", "", "", PlainCommand, kAll, R::Always, kView, T::None, 0,
     0},
    {"ActRefresh", "Refresh", "", "F5", PlainCommand, FolderList, R::NotScanning, kView, T::Basic,
     0, SeparatorBefore},
    {"ActStopBrowse", "Stop", "", "Esc", PlainCommand, kAll, R::WhileScanning, kView, T::Basic, 0,
     0},

    {"Play", "Play", "", "Ctrl+P", PlainCommand, kList, R::RowSelected, kTools, T::Tools, 1, 0},
    {"ActAddSelectionToPlayList", "Add to playlist", "", "", PlainCommand, kList, R::RowSelected,
     kTools, T::Tools, 2, 0},
    {"InternalPlayerPlay", "Play", "", "", PlainCommand, kAll, R::Always, kPlayer, T::Player, 0, 0},
    {"InternalPlayerPause", "Pause", "", "", PlainCommand, kAll, R::Always, kPlayer, T::Player, 0,
     0},
    {"InternalPlayerStop", "Stop", "", "", PlainCommand, kAll, R::Always, kPlayer, T::Player, 0, 0},
    {"InternalPlayerPreviouse", "Previous", "", "", PlainCommand, kAll, R::Always, kPlayer,
     T::Player, 0, 0},
    {"InternalPlayerNext", "Next", "", "", PlainCommand, kAll, R::Always, kPlayer, T::Player, 0, 0},
    {"InternalPlayerSwichShuffling", "Shuffling", "", "", PlainCommand, kAll, R::Always, kPlayer,
     T::Player, 0, kToggle | SeparatorBefore},
    {"InternalPlayerSwichRepeating", "Repeating", "", "", PlainCommand, kAll, R::Always, kPlayer,
     T::Player, 0, kToggle},
    {"InternalPlayerSwichPreview", "Preview", "", "", PlainCommand, kAll, R::Always, kPlayer,
     T::None, 0, kToggle},
    {"InternalPlayerIntegratedInToolBar", "Integrated in toolbar", "", "", PlainCommand, kAll,
     R::Always, kPlayer, T::None, 0, kToggle | SeparatorBefore},
    {"InternalPLayerIntegratedInFileSummary", "Integrated in User interface", "", "", PlainCommand,
     kAll, R::Always, kPlayer, T::None, 0, kToggle},
    {"ActFindDuplicates", "Find Duplicates", "", "", PlainCommand, kAll, R::Always, kTools,
     T::Tools, 0, SeparatorBefore},
    {"SettingsAct", "Settings", "", "Alt+S", PlainCommand, kAll, R::Always, kTools, T::Tools, 0,
     SeparatorBefore},

    {"ActNewFavourite", "New", "", "", PlainCommand, kAll, R::Always, kFavourites, T::None, 0, 0},
    {"ActTransferFavourite", "Transfer", "", "", PlainCommand, kAll, R::FavouriteSelected,
     kFavourites, T::None, 0, 0},
    {"ActImportFavourite", "Import", "", "", PlainCommand, kAll, R::Always, kFavourites, T::None, 0,
     0},
    {"ActExportFavourite", "Export", "", "", PlainCommand, kAll, R::FavouriteSelected, kFavourites,
     T::None, 0, 0},
    {"ActDeleteFavourite", "Delete", "", "", PlainCommand, kAll, R::FavouriteSelected, kFavourites,
     T::None, 0, kChanges},
    {"ActionFavShowHideIcons", "Show/Hide Icons", "", "", PlainCommand, kAll, R::Always,
     kFavourites, T::None, 0, SeparatorBefore},

    {"HelpContents", "Help", "", "F1", PlainCommand, kAll, R::Always, kHelp, T::None, 0, 0},
    {"ActStartAssistant", "Start assistant", "", "", PlainCommand, kAll, R::Always, kHelp, T::None,
     0, 0},
    {"ActCheckForUpdates", "Check", "", "", PlainCommand, kAll, R::Always, kUpdates, T::None, 0, 0},

    // Toolbar buttons that route to the command that fits the selection.
    {"EditTagButton", "Edit tag", "", "", PlainCommand, kList, R::NotWav, "", T::EditTag, 0,
     BuiltIn | kChanges},
    {"RemoveTagButton", "Remove tag", "", "", PlainCommand, kList, R::NotWav, "", T::EditTag, 0,
     BuiltIn | kChanges},
    {"ViewModeButton", "Tag version", "", "", PlainCommand, kAll, R::AdvancedView, "", T::View, 0,
     BuiltIn},
};

const QList<PerFileStep> kSteps = {
    {"MassSet1", kPerFileWork},
    {"MassSet2", kPerFileWork},
    {"MassSetOgg", kPerFileWork},
    {"MassSetWma", kPerFileWork},
    {"MassCommonSet", kPerFileWork},
    {"MassCommonRemove", kPerFileWork},
    {"ActionSinglePasteSepcial", kPerFileWork},
    {"ActGenerateSingleTag", kPerFileWork},
    {"RenameAct", kPerFileWork},
    {"ActRenameSingleFile", kPerFileWork},
    {"ActSwapSingleFile", kPerFileWork},
    {"ActExtractSingleFile", kPerFileWork},
    {"ActRestructureSingleFile", kPerFileWork},
    {"ActImportFilenameStep", kPerFileWork},
    {"ActGetTagDBSingleData", kPerFileWork},
};

/// The focused file is a WMA, Ogg or other file and not a WAV file.
bool hasTags(FileKind kind) {
    return kind != FileKind::None && kind != FileKind::Wav;
}

Availability shownWhen(bool visible) {
    return {visible, visible};
}

} // namespace

const QList<CommandSpec>& commandTable() {
    return kCommands;
}

const CommandSpec* findCommand(const QString& name) {
    for (const CommandSpec& spec : kCommands)
        if (name == QLatin1String(spec.name))
            return &spec;
    return nullptr;
}

const QList<PerFileStep>& perFileSteps() {
    return kSteps;
}

int commandKind(const QString& name) {
    if (const CommandSpec* spec = findCommand(name))
        return spec->kind;
    for (const PerFileStep& step : kSteps)
        if (name == QLatin1String(step.name))
            return step.kind;
    return -1;
}

Availability availability(EnableRule rule, const CommandState& s) {
    const bool selected = s.selectedRows > 0 && s.focused != FileKind::None;
    const bool listHasFiles = s.rows > 0 && s.firstRowHasFile;
    const bool advanced = !s.commonMode;
    const bool tagged = selected && hasTags(s.focused);
    const bool oggEditor =
        tagged && s.oggEnabled && s.focused == FileKind::Ogg && s.selectionOneKind && advanced;
    const bool wmaEditor =
        tagged && s.wmaEnabled && s.focused == FileKind::Wma && s.selectionOneKind && advanced;
    const bool mpegOneKind = selected && s.focused == FileKind::Mpeg && s.selectionOneKind;

    switch (rule) {
    case R::Always:
        return {true, true};
    case R::RowSelected:
        return {selected, true};
    case R::ListHasFiles:
        return {listHasFiles, true};
    case R::OneSelected:
        return {s.selectedRows == 1 && selected, true};
    case R::TagOnClipboard:
        return {s.clipboardHasTag && selected, true};
    case R::CanUndo:
        return {s.canUndo, true};
    case R::CanSave:
        return {s.hasChanges || s.alwaysSave || (s.playlistMode && s.playlistModified), true};
    case R::WhileScanning:
        return {s.scanning, true};
    case R::NotScanning:
        return {s.folderOpen && !s.scanning, true};
    case R::FolderShown:
        return {s.folderOpen, true};
    case R::FavouriteSelected:
        return {s.favouriteSelected, true};
    case R::EditId3:
        return {mpegOneKind && advanced, tagged && advanced};
    case R::EditOgg:
        return shownWhen(oggEditor);
    case R::EditWma:
        return shownWhen(wmaEditor);
    case R::EditMixed: {
        const bool visible = tagged && !oggEditor && !wmaEditor && advanced;
        return {visible && s.selectedRows >= 2 && !s.selectionOneKind, visible};
    }
    case R::EditCommon:
        return shownWhen(tagged && s.commonMode);
    case R::RemoveApe:
        return {mpegOneKind && s.focusedHasApe, tagged && s.focusedHasApe};
    case R::AdvancedTagWork:
        return shownWhen(tagged && advanced);
    case R::AdvancedView:
        return {true, advanced};
    case R::NotWav:
        return {tagged, true};
    case R::TrackButton:
        return {listHasFiles, true};
    }
    return {};
}

QString editTagCommandFor(const CommandState& s) {
    if (s.commonMode)
        return QStringLiteral("EditTag");
    if (!s.selectionOneKind)
        return QStringLiteral("EditCommon");
    switch (s.focused) {
    case FileKind::Wma:
        return QStringLiteral("EditWma");
    case FileKind::Ogg:
        return QStringLiteral("EditOgg");
    default:
        return s.displayedVersion == 1 ? QStringLiteral("EditID3v1") : QStringLiteral("EditID3v2");
    }
}

QStringList removeTagCommandsFor(const CommandState& s) {
    if (s.commonMode)
        return {QStringLiteral("TagRemove")};
    if (!s.selectionOneKind)
        return {QStringLiteral("CommonRemove")};
    switch (s.focused) {
    case FileKind::Wma:
        return {QStringLiteral("WMARemove")};
    case FileKind::Ogg:
        return {QStringLiteral("OGGRemove")};
    case FileKind::Wav:
    case FileKind::None:
        return {};
    case FileKind::Mpeg:
        break;
    }
    if (s.displayedVersion == 1)
        return {QStringLiteral("ID31Remove")};
    if (s.displayedVersion == 2)
        return {QStringLiteral("ID32Remove")};
    return {QStringLiteral("ID31Remove"), QStringLiteral("ID32Remove")};
}

QString toolBarObjectName(ToolBarId id) {
    switch (id) {
    case T::Basic:
        return QStringLiteral("BasicToolBar");
    case T::EditTag:
        return QStringLiteral("EditTagToolBar");
    case T::EditFilename:
        return QStringLiteral("EditFilenameToolBar");
    case T::View:
        return QStringLiteral("ViewToolBar");
    case T::Player:
        return QStringLiteral("PlayerToolBar");
    case T::Tools:
        return QStringLiteral("ToolsToolBar");
    case T::None:
        break;
    }
    return {};
}

QString toolBarTitle(ToolBarId id) {
    switch (id) {
    case T::Basic:
        return QStringLiteral("Basic");
    case T::EditTag:
        return QStringLiteral("Edit tag");
    case T::EditFilename:
        return QStringLiteral("Edit filename");
    case T::View:
        return QStringLiteral("View");
    case T::Player:
        return QStringLiteral("Player");
    case T::Tools:
        return QStringLiteral("Tools");
    case T::None:
        break;
    }
    return {};
}

} // namespace app
