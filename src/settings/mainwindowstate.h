#pragma once

#include "optionsmodel.h"
#include "recentfolders.h"

#include <QHash>
#include <QString>
#include <QVariant>

namespace settings {

class TRegistrySave;

/// Names of the main window's own values in the store's "Settings" group, one constant each
/// (the store's keys are case-sensitive).
namespace windownames {
inline constexpr char ShowFolders[] = "ShowFolders";
inline constexpr char ShowRename[] = "ShowRename";
inline constexpr char ShowFileSummary[] = "ShowFileSummary";
inline constexpr char ShowFavourites[] = "ShowFavourites";
inline constexpr char Rename[] = "Rename";
inline constexpr char Restructure[] = "Restructure";
inline constexpr char Swap[] = "Swap";
inline constexpr char GenerateTag[] = "generateTag";
inline constexpr char WorkMode[] = "WorkMode";
inline constexpr char LatestWorkMode[] = "LatestWorkMode";
inline constexpr char CommonMode[] = "CommonMode";
inline constexpr char DisplayMode[] = "DisplayMode";
inline constexpr char SplashScreen[] = "SplashScreen";
inline constexpr char SetGenre[] = "SetGenre";
inline constexpr char DefaultTemplateRestructure[] = "DefaultTemplateRestructure";
inline constexpr char DefaultTemplateRename[] = "DefaultTemplateRename";
inline constexpr char DefaultTemplateGenerate[] = "DefaultTemplateGenerate";
inline constexpr char DefaultTemplateSwap[] = "DefaultTemplateSwap";
inline constexpr char DefaultTemplateExtract[] = "DefaultTemplateExtract";
/// The six-slot scheme of "Rename file from ID3 Tag according to settings".
inline constexpr char QuickRenameScheme[] = "QuickRenameScheme";
inline constexpr char ShowChangeWarningDialog[] = "ShowChangeWarningDialog";
inline constexpr char LastUsedFolderGlobal[] = "LastUsedFolderGlobal";
inline constexpr char LastUsedFolderPicture[] = "LastUsedFolderPicture";
inline constexpr char LastUsedFolderImport[] = "LastUsedFolderImport";
inline constexpr char LastUsedFolderExport[] = "LastUsedFolderExport";
inline constexpr char LastUsedFolderSound[] = "LastUsedFolderSound";
inline constexpr char LastUsedFolderConvert[] = "LastUsedFolderConvert";
inline constexpr char LastUsedFolderEncode[] = "LastUsedFolderEncode";
inline constexpr char LastUsedFolderRip[] = "LastUsedFolderRip";
inline constexpr char LastUsedFolderTemplate[] = "LastUsedFolderTemplate";
inline constexpr char ListViewCustomColor[] = "ListViewCustomColor";
inline constexpr char LastUsedTheme[] = "LastUsedTheme";
inline constexpr char ShowPlayerImage[] = "ShowPlayerImage";
inline constexpr char ShowPlayerPlaylist[] = "ShowPlayerPlaylist";
inline constexpr char PlayerShuffling[] = "InternalPlayerSwichShuffling";
inline constexpr char PlayerRepeating[] = "InternalPlayerSwichRepeating";
inline constexpr char PlayerPreview[] = "InternalPlayerSwichPreview";
inline constexpr char PlayerInToolbar[] = "InternalPLayerIntegratedInToolbar";
inline constexpr char PlayerInFileSummary[] = "InternalPLayerIntegratedInFileSummary";
inline constexpr char PlayerMode[] = "InternalPLayerMode";
inline constexpr char RegistryDataExist[] = "RegistryDataExist";
inline constexpr char SearchLastSeletedPath[] = "SearchLastSeletedPath";
inline constexpr char FavouritesTimeColumnVisible[] = "FavouritesTimeColumnVisible";
inline constexpr char FavouritesSizeColumnVisible[] = "FavouritesSizeColumnVisible";
inline constexpr char FavouritesTitleView[] = "FavouritesTitleView";
inline constexpr char StatusBar[] = "StatusBar";
inline constexpr char FavouritesByNameAscending[] = "FavouritesByNameSortDirectionAscending";
inline constexpr char FavouritesByTimeAscending[] = "FavouritesByTimeSortDirectionAscending";
inline constexpr char FavouritesShowIcons[] = "FavouritesShowIcons";
inline constexpr char FavouritesShowRippedCD[] = "FavouritesShowRippedCD";
inline constexpr char SortColumn[] = "SortColumn";
inline constexpr char SortDescending[] = "SortDescending";

/// The lists whose column layouts the main window keeps ("FormMain" controls).
inline constexpr char LFolder[] = "LFolder";
inline constexpr char LSearch[] = "LSearch";
inline constexpr char LBurntFiles[] = "LBurntFiles";
} // namespace windownames

/// Every named value of the main window: Check (bool, "B:"), Spin (int, "I:") or Edit
/// (QString, "S:"). A value without default (invalid defaultValue) is only known once stored;
/// until then the main window keeps its own choice.
const QList<OptionSpec>& mainWindowValueSpecs();

/// The main window's own stored values: panels and modes, recent and last used folders,
/// player switches, favourites view, sort column and the column layouts of its lists. The
/// main window reads them once at start and hands them back when it closes.
class TMainWindowState {
public:
    /// The store's window name of the main window.
    static constexpr char kWindowName[] = "FormMain";
    /// How many recent folders the store holds at most ("MRU00" to "MRU09").
    static constexpr int kMruSlots = TRecentFolders::kMaxEntries;

    /// Every value at its default.
    TMainWindowState();

    /// Replaces every value by the stored one; missing or unreadable values take defaults.
    void load(const TRegistrySave& store);
    /// Writes every value, "RegistryDataExist" as true; false when a value was refused.
    bool save(TRegistrySave& store) const;

    /// A value by name (see windownames); invalid for a value without default not stored.
    QVariant value(const QString& name) const { return m_values.value(name); }
    /// Sets a value, brought into its range; false for an unknown name.
    bool setValue(const QString& name, const QVariant& value);

    TRecentFolders& recentFolders() { return m_recent; }
    const TRecentFolders& recentFolders() const { return m_recent; }

    /// The stored column layout text of a list ("0,200;2,80;"), empty when none.
    QString columnLayout(const QString& list) const { return m_columnLayouts.value(list); }
    void setColumnLayout(const QString& list, const QString& layout);

    /// True until the state has been saved once: the program's first start for this user.
    bool firstStart() const { return !flag(windownames::RegistryDataExist); }
    int workMode() const { return number(windownames::WorkMode); }
    int latestWorkMode() const { return number(windownames::LatestWorkMode); }
    bool commonMode() const { return flag(windownames::CommonMode); }
    bool statusBarVisible() const { return flag(windownames::StatusBar); }
    QString theme() const { return text(windownames::LastUsedTheme); }
    /// A last used folder; never empty.
    QString lastUsedFolder(const char* name) const { return text(name); }
    /// The sort column, −1 for none.
    int sortColumn() const { return number(windownames::SortColumn); }
    bool sortDescending() const { return flag(windownames::SortDescending); }

    bool operator==(const TMainWindowState&) const = default;

private:
    bool flag(const char* name) const { return value(QLatin1String(name)).toBool(); }
    int number(const char* name) const { return value(QLatin1String(name)).toInt(); }
    QString text(const char* name) const { return value(QLatin1String(name)).toString(); }
    void fillEmptyFolders();

    QHash<QString, QVariant> m_values;
    TRecentFolders m_recent;
    QHash<QString, QString> m_columnLayouts;
};

} // namespace settings
