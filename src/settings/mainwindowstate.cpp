#include "mainwindowstate.h"

#include "registrysave.h"

#include <QDir>
#include <QStandardPaths>

#include <limits>

namespace settings {

namespace {

using namespace windownames;

constexpr int kMaxInt = std::numeric_limits<int>::max();

/// Red 220, green 228, blue 227 with red in the low byte.
constexpr int kDefaultListColour = 220 | 228 << 8 | 227 << 16;

const char* const kFolderNames[] = {
    LastUsedFolderGlobal, LastUsedFolderPicture, LastUsedFolderImport,
    LastUsedFolderExport, LastUsedFolderSound,   LastUsedFolderConvert,
    LastUsedFolderEncode, LastUsedFolderRip,     LastUsedFolderTemplate};

const char* const kColumnLists[] = {LFolder, LSearch, LBurntFiles};

OptionSpec value(const char* name, Kind kind, QVariant defaultValue, int minimum = 0,
                 int maximum = 0) {
    OptionSpec spec;
    spec.name = name;
    spec.kind = kind;
    spec.defaultValue = std::move(defaultValue);
    spec.minimum = minimum;
    spec.maximum = maximum;
    return spec;
}

OptionSpec flag(const char* name, bool defaultValue) {
    return value(name, Kind::Check, defaultValue);
}

OptionSpec number(const char* name, QVariant defaultValue, int minimum, int maximum) {
    return value(name, Kind::Spin, std::move(defaultValue), minimum, maximum);
}

OptionSpec text(const char* name, const QString& byDefault = {}) {
    return value(name, Kind::Edit, byDefault);
}

QList<OptionSpec> buildSpecs() {
    QList<OptionSpec> specs = {
        flag(ShowFolders, true),
        flag(ShowRename, false),
        flag(ShowFileSummary, false),
        flag(ShowFavourites, true),
        // Template selections: unknown until stored, the template menus keep theirs.
        number(Rename, QVariant(), -1, kMaxInt),
        number(Restructure, QVariant(), -1, kMaxInt),
        number(Swap, QVariant(), -1, kMaxInt),
        number(GenerateTag, QVariant(), -1, kMaxInt),
        number(WorkMode, 3, 1, 3),
        // Defaults to the work mode once that is known (see load()).
        number(LatestWorkMode, 3, 1, 3),
        flag(CommonMode, false),
        number(DisplayMode, 1, 0, kMaxInt),
        flag(SplashScreen, true),
        number(SetGenre, 0, 0, 255),
        // The templates first proposed by the template commands.
        text(DefaultTemplateRestructure, QStringLiteral("#Art\\#Alb")),
        text(DefaultTemplateRename, QStringLiteral("#Tra - #Art - #Tit")),
        text(DefaultTemplateGenerate, QStringLiteral("#Art - #Tit")),
        text(DefaultTemplateSwap, QStringLiteral("#Art#Tit")),
        text(DefaultTemplateExtract, QStringLiteral("#Tra - #Tit")),
        text(QuickRenameScheme),
        flag(ShowChangeWarningDialog, true),
        number(ListViewCustomColor, kDefaultListColour, 0, 0xFFFFFF),
        text(LastUsedTheme),
        number(ShowPlayerImage, 1, 0, 1),
        number(ShowPlayerPlaylist, 1, 0, 1),
        flag(PlayerShuffling, false),
        flag(PlayerRepeating, false),
        flag(PlayerPreview, false),
        flag(PlayerInToolbar, false),
        flag(PlayerInFileSummary, true),
        number(PlayerMode, -1, -1, kMaxInt),
        flag(RegistryDataExist, false),
        text(SearchLastSeletedPath),
        flag(FavouritesTimeColumnVisible, true),
        flag(FavouritesSizeColumnVisible, true),
        number(FavouritesTitleView, 0, 0, kMaxInt),
        flag(StatusBar, true),
        flag(FavouritesByNameAscending, true),
        flag(FavouritesByTimeAscending, true),
        flag(FavouritesShowIcons, false),
        flag(FavouritesShowRippedCD, false),
        number(SortColumn, -1, -1, kMaxInt),
        flag(SortDescending, false),
    };
    for (const char* folder : kFolderNames)
        specs.append(text(folder));
    return specs;
}

/// The default of a folder value: it depends on the user's folders, so it is not in the table.
QString defaultFolder(const QString& name) {
    if (name == QLatin1String(LastUsedFolderTemplate))
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
               QStringLiteral("/Template");
    if (name == QLatin1String(SearchLastSeletedPath))
        return QDir::homePath();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

QString typedName(const OptionSpec& spec) {
    const char* letter = spec.kind == Kind::Check ? "B:" : spec.kind == Kind::Spin ? "I:" : "S:";
    return QLatin1String(letter) + QLatin1String(spec.name);
}

QString mruName(int entry) {
    return QStringLiteral("MRU%1").arg(entry, 2, 10, QLatin1Char('0'));
}

} // namespace

const QList<OptionSpec>& mainWindowValueSpecs() {
    static const QList<OptionSpec> specs = buildSpecs();
    return specs;
}

TMainWindowState::TMainWindowState() {
    for (const OptionSpec& spec : mainWindowValueSpecs())
        if (spec.defaultValue.isValid())
            m_values.insert(QLatin1String(spec.name), spec.defaultValue);
    fillEmptyFolders();
}

bool TMainWindowState::setValue(const QString& name, const QVariant& value) {
    for (const OptionSpec& spec : mainWindowValueSpecs()) {
        if (name != QLatin1String(spec.name))
            continue;
        const QVariant clamped = clampValue(spec, value);
        if (clamped.isValid())
            m_values.insert(name, clamped);
        else
            m_values.remove(name);
        fillEmptyFolders();
        return true;
    }
    return false;
}

void TMainWindowState::setColumnLayout(const QString& list, const QString& layout) {
    m_columnLayouts.insert(list, layout);
}

void TMainWindowState::fillEmptyFolders() {
    for (const char* name : kFolderNames)
        if (text(name).isEmpty())
            m_values.insert(QLatin1String(name), defaultFolder(QLatin1String(name)));
    if (text(SearchLastSeletedPath).isEmpty())
        m_values.insert(QLatin1String(SearchLastSeletedPath),
                        defaultFolder(QLatin1String(SearchLastSeletedPath)));
}

void TMainWindowState::load(const TRegistrySave& store) {
    *this = TMainWindowState();
    for (const OptionSpec& spec : mainWindowValueSpecs()) {
        QVariant stored;
        if (store.ReadValue(typedName(spec), stored))
            setValue(QLatin1String(spec.name), stored);
    }
    QVariant latest;
    if (!store.ReadValue(QStringLiteral("I:") + QLatin1String(LatestWorkMode), latest))
        m_values.insert(QLatin1String(LatestWorkMode), workMode());
    // Oldest first, each at the top, so that entry 0 ends up first.
    for (int entry = kMruSlots - 1; entry >= 0; --entry) {
        QVariant path;
        if (store.ReadValue(QStringLiteral("S:") + mruName(entry), path))
            m_recent.add(path.toString());
    }
    for (const char* list : kColumnLists) {
        const auto layout = store.readControl(QLatin1String(kWindowName), QLatin1String(list));
        if (layout)
            m_columnLayouts.insert(QLatin1String(list), layout->toString());
    }
}

bool TMainWindowState::save(TRegistrySave& store) const {
    bool ok = true;
    const QStringList recent = m_recent.paths();
    for (int entry = 0; entry < kMruSlots; ++entry) {
        // Entries beyond the list are removed, or a shortened list would grow back.
        if (entry < recent.size())
            ok &= store.WriteValue(QStringLiteral("S:") + mruName(entry), recent[entry]);
        else
            store.RemoveValue(mruName(entry));
    }
    for (const OptionSpec& spec : mainWindowValueSpecs()) {
        const QVariant current = value(QLatin1String(spec.name));
        if (current.isValid())
            ok &= store.WriteValue(typedName(spec), current);
    }
    ok &= store.WriteValue(QStringLiteral("B:") + QLatin1String(RegistryDataExist), true);
    for (auto it = m_columnLayouts.cbegin(); it != m_columnLayouts.cend(); ++it)
        ok &= store.writeControl(QLatin1String(kWindowName), it.key(), it.value());
    return ok;
}

} // namespace settings
