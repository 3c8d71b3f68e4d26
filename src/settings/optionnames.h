#pragma once

/// Value names of the options, one constant each: the store's keys are case-sensitive, so
/// every reader and writer spells a name through these.
namespace settings::names {

// General
inline constexpr char AutoOpenMRU[] = "AutoOpenMRU";
inline constexpr char ScanRecursively[] = "ScanRecursively";
inline constexpr char DisplayHints[] = "DisplayHints";
inline constexpr char HotTracking[] = "HotTracking";
inline constexpr char AlwaysSorting[] = "AlwaysSorting";
inline constexpr char ShowSplashScreenCheckBox[] = "ShowSplashScreenCheckBox";
inline constexpr char chkNetworkVBR[] = "chkNetworkVBR";
inline constexpr char RenameBarCheckBox[] = "RenameBarCheckBox";
inline constexpr char AutoLoadSelectedCheckBox[] = "AutoLoadSelectedCheckBox";
inline constexpr char AspectRatioCheckBox[] = "AspectRatioCheckBox";
inline constexpr char ExtendedContextCheckBox[] = "ExtendedContextCheckBox";
inline constexpr char CheckBoxShowStartAssistant[] = "CheckBoxShowStartAssistant";
inline constexpr char chkCheckUpdates[] = "chkCheckUpdates";
inline constexpr char Language[] = "Language";
inline constexpr char DoubleClick[] = "DoubleClick";
inline constexpr char PlayAction[] = "PlayAction";
inline constexpr char PlayerStartPerc[] = "PlayerStartPerc";
inline constexpr char Extensions[] = "Extensions";
// Rename
inline constexpr char FilenameSpaceToUnderscore[] = "FilenameSpaceToUnderscore";
inline constexpr char FilenameLowercase[] = "FilenameLowercase";
inline constexpr char FilenameSeparator[] = "FilenameSeparator";
inline constexpr char EncodePercent[] = "EncodePercent";
inline constexpr char DigitsCount[] = "DigitsCount";
inline constexpr char NumbersStart[] = "NumbersStart";
inline constexpr char UnknownIfEmpty[] = "UnknownIfEmpty";
inline constexpr char lstSeparators[] = "lstSeparators";
// TAG options
inline constexpr char UppercaseFirstOnly[] = "UppercaseFirstOnly";
inline constexpr char Lowercase[] = "Lowercase";
inline constexpr char Uppercase[] = "Uppercase";
inline constexpr char CapitalizeTag[] = "CapitalizeTag";
inline constexpr char CompatibilityModeCheckBox[] = "CompatibilityModeCheckBox";
inline constexpr char CombinedEditCheckBox[] = "CombinedEditCheckBox";
inline constexpr char LeadingZeroCheckBox[] = "LeadingZeroCheckBox";
inline constexpr char PasteOnlyToEmptyFields[] = "PasteOnlyToEmptyFields";
// Auto TAG
inline constexpr char Troubleshooting[] = "Troubleshooting";
// Save
inline constexpr char Unsynchronize[] = "Unsynchronize";
inline constexpr char ZeroPadding[] = "ZeroPadding";
inline constexpr char PaddingPerc[] = "PaddingPerc";
inline constexpr char MinPadding[] = "MinPadding";
inline constexpr char AlwaysSave[] = "AlwaysSave";
inline constexpr char UndoAfterSave[] = "UndoAfterSave";
inline constexpr char RetainFileDate[] = "RetainFileDate";
inline constexpr char ClearReadOnly[] = "ClearReadOnly";
inline constexpr char DupFilesComboBox[] = "DupFilesComboBox";
// Shell, Auto correct, Cache, File Association
inline constexpr char BrowseWith[] = "BrowseWith";
inline constexpr char CheckBoxAutoCorrect[] = "CheckBoxAutoCorrect";
inline constexpr char chkCache[] = "chkCache";
inline constexpr char chkBackgroundSynching[] = "chkBackgroundSynching";
inline constexpr char FileTypeAssociations[] = "FileTypeAssociations";
// Online lookup, no page
inline constexpr char FreeDBProxy[] = "FreeDBProxy";
inline constexpr char ProxyServerPort[] = "ProxyServerPort";
inline constexpr char FreeDBTimeout[] = "FreeDBTimeout";

} // namespace settings::names
