#pragma once

#include "optionnames.h"
#include "optionsmodel.h"
#include "tags/tagoptions.h"

#include <QObject>
#include <QSet>

namespace settings {

class TRegistrySave;

/// The settings in force. Everything outside the options dialog reads settings here, through
/// the typed getters, and listens to valueChanged; the dialog edits a copy of values() and
/// hands it back with setValues() on Apply.
class Settings : public QObject {
    Q_OBJECT
public:
    /// Items of the choice settings, by index.
    enum DoubleClickAction {
        DoubleClickPlay,
        DoubleClickEditID3v1,
        DoubleClickEditID3v2,
        DoubleClickEditDisplayed
    };
    enum PlayMode { PlayEnqueueAndPlay, PlayOnly, PlayEnqueue, PlayExternal };
    enum DuplicateFiles { DuplicateSkip, DuplicateRename, DuplicateReplace, DuplicateAsk };
    /// Items of `Troubleshooting`: steps of the automatic processing that are switched off.
    enum Troubleshoot {
        NoUnderscoreConversion,
        NoCommentExtraction,
        NoForceUppercase,
        NoExclamationRemoval,
        KeepDoubleSpaces
    };

    explicit Settings(QObject* parent = nullptr);

    QVariant value(const QString& name) const { return m_values.value(name); }
    /// Sets one setting, brought into its range; false for an unknown name.
    bool setValue(const QString& name, const QVariant& value);
    /// Sets several settings at once (the dialog's Apply); unknown names are ignored.
    void setValues(const OptionValues& values);
    const OptionValues& values() const { return m_values; }

    /// Replaces every setting and the short genre list by the stored ones (or defaults).
    void load(const TRegistrySave& store);
    void save(TRegistrySave& store) const;

    /// The options the tag layer reads, for the main window's tag mode and common mode.
    tags::TagOptions tagOptions(int tagMode = tags::TagOptions::Mixed,
                                bool commonMode = false) const;

    // General
    bool autoOpenMRU() const { return flag(names::AutoOpenMRU); }
    bool scanRecursively() const { return flag(names::ScanRecursively); }
    bool displayHints() const { return flag(names::DisplayHints); }
    bool hotTracking() const { return flag(names::HotTracking); }
    bool alwaysSorting() const { return flag(names::AlwaysSorting); }
    bool showSplashScreen() const { return flag(names::ShowSplashScreenCheckBox); }
    bool networkVbr() const { return flag(names::chkNetworkVBR); }
    bool useRenameBar() const { return flag(names::RenameBarCheckBox); }
    bool autoLoadSelected() const { return flag(names::AutoLoadSelectedCheckBox); }
    bool keepAspectRatio() const { return flag(names::AspectRatioCheckBox); }
    bool extendedContextMenu() const { return flag(names::ExtendedContextCheckBox); }
    bool showStartAssistant() const { return flag(names::CheckBoxShowStartAssistant); }
    bool checkUpdates() const { return flag(names::chkCheckUpdates); }
    /// The chosen language's name as the language file lists it; empty when none is chosen.
    QString language() const { return text(names::Language); }
    DoubleClickAction doubleClick() const { return DoubleClickAction(number(names::DoubleClick)); }
    PlayMode playAction() const { return PlayMode(number(names::PlayAction)); }
    int playerStartPerc() const { return number(names::PlayerStartPerc); }
    /// The checked file types of `Extensions`, in upper case ("MP3", "OGG" ...).
    QStringList extensions() const { return checkedItems(names::Extensions); }
    /// Whether WMA and Ogg files are listed: the main window shows "Edit WMA Tag" and
    /// "Edit OGG Vorbis Tag" only while they are.
    bool wmaEnabled() const { return extensions().contains(QLatin1String("WMA")); }
    bool oggEnabled() const { return extensions().contains(QLatin1String("OGG")); }

    // Rename
    bool spaceToUnderscore() const { return flag(names::FilenameSpaceToUnderscore); }
    bool filenameLowercase() const { return flag(names::FilenameLowercase); }
    QString filenameSeparator() const { return text(names::FilenameSeparator); }
    bool encodePercent() const { return flag(names::EncodePercent); }
    int digitsCount() const { return number(names::DigitsCount); }
    int numbersStart() const { return number(names::NumbersStart); }
    bool unknownIfEmpty() const { return flag(names::UnknownIfEmpty); }
    QStringList separators() const {
        return value(QLatin1String(names::lstSeparators)).toStringList();
    }

    // TAG options
    bool uppercaseFirstOnly() const { return flag(names::UppercaseFirstOnly); }
    QString lowercaseWords() const { return text(names::Lowercase); }
    QString uppercaseWords() const { return text(names::Uppercase); }
    bool capitalizeTag() const { return flag(names::CapitalizeTag); }
    bool compatibilityMode() const { return flag(names::CompatibilityModeCheckBox); }
    bool combinedEdit() const { return flag(names::CombinedEditCheckBox); }
    bool leadingZero() const { return flag(names::LeadingZeroCheckBox); }
    bool pasteOnlyToEmptyFields() const { return flag(names::PasteOnlyToEmptyFields); }

    // Auto TAG
    bool troubleshooting(Troubleshoot item) const;

    // Save
    bool unsynchronize() const { return flag(names::Unsynchronize); }
    bool zeroPadding() const { return flag(names::ZeroPadding); }
    int paddingPerc() const { return number(names::PaddingPerc); }
    int minPadding() const { return number(names::MinPadding); }
    bool alwaysSave() const { return flag(names::AlwaysSave); }
    bool undoAfterSave() const { return flag(names::UndoAfterSave); }
    bool retainFileDate() const { return flag(names::RetainFileDate); }
    bool clearReadOnly() const { return flag(names::ClearReadOnly); }
    DuplicateFiles duplicateFiles() const {
        return DuplicateFiles(number(names::DupFilesComboBox));
    }

    // Shell, auto correct, cache, file association, online lookup
    bool browseWith() const { return flag(names::BrowseWith); }
    bool autoCorrect() const { return flag(names::CheckBoxAutoCorrect); }
    bool useCache() const { return flag(names::chkCache); }
    bool backgroundSynching() const { return flag(names::chkBackgroundSynching); }
    QStringList associatedFileTypes() const { return checkedItems(names::FileTypeAssociations); }
    QString freeDBProxy() const { return text(names::FreeDBProxy); }
    QString proxyServerPort() const { return text(names::ProxyServerPort); }
    int freeDBTimeout() const { return number(names::FreeDBTimeout); }

    /// The genres of the short genre list (the set-genre drop-down); always holds 255 (none).
    QSet<int> shortGenreList() const { return m_shortGenres; }
    /// Sets the short genre list, 255 added; numbers outside 0 to 255 are left out.
    void setShortGenreList(const QSet<int>& genres);

signals:
    /// One setting took a new value.
    void valueChanged(const QString& name, const QVariant& value);
    /// The checked extensions changed: scans list other types, and the WMA and Ogg editor
    /// commands follow wmaEnabled() and oggEnabled().
    void extensionsChanged(const QStringList& extensions);
    /// The short genre list changed: the set-genre drop-down is rebuilt from it.
    void shortGenreListChanged(const QSet<int>& genres);

private:
    bool flag(const char* name) const { return value(QLatin1String(name)).toBool(); }
    int number(const char* name) const { return value(QLatin1String(name)).toInt(); }
    QString text(const char* name) const { return value(QLatin1String(name)).toString(); }
    QList<bool> states(const char* name) const;
    QStringList checkedItems(const char* name) const;

    OptionValues m_values;
    QSet<int> m_shortGenres;
};

} // namespace settings
