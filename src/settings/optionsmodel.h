#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace settings {

class TRegistrySave;

/// Pages of the options dialog, in the order the page tree lists them.
enum class Page {
    General,
    Rename,
    Genre,
    TagOptions,
    AutoTag,
    Save,
    Shell,
    AutoCorrect,
    Cache,
    FileAssociation,
    None
};

/// How a setting is edited and stored.
enum class Kind {
    Check,     ///< bool
    Edit,      ///< QString
    Spin,      ///< int within [minimum, maximum], a multiple of step above minimum
    Track,     ///< int within [minimum, maximum]
    Choice,    ///< int: index into items (stored by index, never by shown text)
    Key,       ///< QString: a key chosen from a list known only at run time
    ItemList,  ///< QStringList, stored as its items joined by CR LF
    CheckList, ///< QList<bool> over items, stored as one "1"/"0" per item
};

/// One setting: the single description that drives defaults, clamping, loading and saving.
struct OptionSpec {
    const char* name = "";
    const char* caption = ""; ///< the English label, "&" marking the shortcut
    Page page = Page::None;
    Kind kind = Kind::Check;
    QVariant defaultValue; ///< for CheckList: the state every item starts with (bool)
    int minimum = 0;
    int maximum = 0;
    int step = 1;
    QStringList items; ///< Choice and CheckList: the items (English, untranslated)
    bool stored = true;
    bool noneCheckedMeansAll = false; ///< CheckList: a list with nothing checked is all checked
};

/// The English caption of each page, in Page order.
QStringList pageCaptions();

/// The values of all settings by name.
using OptionValues = QHash<QString, QVariant>;

/// Every setting of the options dialog, in page order.
const QList<OptionSpec>& optionSpecs();
/// The description of a setting, or nullptr for an unknown name.
const OptionSpec* findOption(const QString& name);

/// The default of a setting in its value form (see Kind).
QVariant defaultValue(const OptionSpec& spec);
/// All settings at their defaults.
OptionValues defaultValues();
/// `value` converted to the setting's value form and brought into its range; a value that
/// cannot be converted gives the default.
QVariant clampValue(const OptionSpec& spec, const QVariant& value);

/// Reads every stored setting from the store's group of the options dialog; settings that
/// are missing, not stored or unreadable keep their defaults.
OptionValues loadOptions(const TRegistrySave& store);
/// Writes every stored setting to the store.
void saveOptions(TRegistrySave& store, const OptionValues& values);

/// The separator list after adding `text`: unchanged when the text is empty or listed.
QStringList withSeparatorAdded(QStringList separators, const QString& text);
/// The separator list without `text`.
QStringList withSeparatorRemoved(QStringList separators, const QString& text);

/// The store's window name of the options dialog.
inline constexpr char kOptionsWindow[] = "Settings";

} // namespace settings
