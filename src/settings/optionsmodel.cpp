#include "optionsmodel.h"

#include "optionnames.h"
#include "registrysave.h"

namespace settings {

namespace {

const QStringList kFileTypes = {QStringLiteral("MPA"), QStringLiteral("MP1"), QStringLiteral("MP2"),
                                QStringLiteral("MP3"), QStringLiteral("OGG"), QStringLiteral("WAV"),
                                QStringLiteral("WMA")};

const QString kLineBreak = QStringLiteral("\r\n");

OptionSpec option(const char* name, Page page, Kind kind, QVariant value, int minimum = 0,
                  int maximum = 0, int step = 1, QStringList items = {}) {
    OptionSpec spec;
    spec.name = name;
    spec.page = page;
    spec.kind = kind;
    spec.defaultValue = std::move(value);
    spec.minimum = minimum;
    spec.maximum = maximum;
    spec.step = step;
    spec.items = std::move(items);
    return spec;
}

OptionSpec check(const char* name, Page page, bool value) {
    return option(name, page, Kind::Check, value);
}

OptionSpec edit(const char* name, Page page, const char* value) {
    return option(name, page, Kind::Edit, QString::fromUtf8(value));
}

OptionSpec spin(const char* name, Page page, int value, int minimum, int maximum, int step = 1) {
    return option(name, page, Kind::Spin, value, minimum, maximum, step);
}

OptionSpec choice(const char* name, Page page, int value, QStringList items) {
    const int last = int(items.size()) - 1;
    return option(name, page, Kind::Choice, value, 0, last, 1, std::move(items));
}

OptionSpec checkList(const char* name, Page page, bool value, QStringList items) {
    return option(name, page, Kind::CheckList, value, 0, 0, 1, std::move(items));
}

QList<OptionSpec> buildSpecs() {
    using namespace names;
    QList<OptionSpec> specs = {
        check(AutoOpenMRU, Page::General, true),
        check(ScanRecursively, Page::General, true),
        check(DisplayHints, Page::General, true),
        check(HotTracking, Page::General, false),
        check(AlwaysSorting, Page::General, true),
        check(ShowSplashScreenCheckBox, Page::General, true),
        check(chkNetworkVBR, Page::General, false),
        check(RenameBarCheckBox, Page::General, false),
        check(AutoLoadSelectedCheckBox, Page::General, true),
        check(AspectRatioCheckBox, Page::General, true),
        check(ExtendedContextCheckBox, Page::General, true),
        check(CheckBoxShowStartAssistant, Page::General, true),
        check(chkCheckUpdates, Page::General, true),
        option(Language, Page::General, Kind::Key, QString()),
        choice(DoubleClick, Page::General, 0,
               {QStringLiteral("Play"), QStringLiteral("Edit ID3v1"), QStringLiteral("Edit ID3v2"),
                QStringLiteral("Edit displayed ID3")}),
        choice(PlayAction, Page::General, 0,
               {QStringLiteral("Enqueue & Play"), QStringLiteral("Play"), QStringLiteral("Enqueue"),
                QStringLiteral("External")}),
        option(PlayerStartPerc, Page::General, Kind::Track, 0, 0, 100),
        checkList(Extensions, Page::General, true, kFileTypes),

        check(FilenameSpaceToUnderscore, Page::Rename, false),
        check(FilenameLowercase, Page::Rename, false),
        edit(FilenameSeparator, Page::Rename, " - "),
        check(EncodePercent, Page::Rename, false),
        spin(DigitsCount, Page::Rename, 4, 1, 6),
        spin(NumbersStart, Page::Rename, 0, 0, 999999),
        check(UnknownIfEmpty, Page::Rename, false),
        option(lstSeparators, Page::Rename, Kind::ItemList,
               QStringList{QStringLiteral(" - "), QStringLiteral("{"), QStringLiteral("}"),
                           QStringLiteral("["), QStringLiteral("]"), QStringLiteral("("),
                           QStringLiteral(")")}),

        check(UppercaseFirstOnly, Page::TagOptions, false),
        edit(Lowercase, Page::TagOptions, "a in of the on it aka to at vs feat"),
        edit(Uppercase, Page::TagOptions,
             "I ATB UB40 U2 NRG ZZ OMD A1 U96 2XLC JJ BB II ABC AFI USM DJ FC KD MC PM POD REM "
             "DMC TLC XTC"),
        check(CapitalizeTag, Page::TagOptions, true),
        check(CompatibilityModeCheckBox, Page::TagOptions, true),
        check(CombinedEditCheckBox, Page::TagOptions, true),
        check(LeadingZeroCheckBox, Page::TagOptions, true),
        check(PasteOnlyToEmptyFields, Page::TagOptions, true),

        checkList(Troubleshooting, Page::AutoTag, false,
                  {QStringLiteral("Disable underscore conversion"),
                   QStringLiteral("Disable (Comment) extraction"),
                   QStringLiteral("Disable AI force uppercase"),
                   QStringLiteral("Disable !!s removal from the end"),
                   QStringLiteral("Do not remove double spaces")}),

        check(Unsynchronize, Page::Save, false),
        check(ZeroPadding, Page::Save, true),
        spin(PaddingPerc, Page::Save, 50, 10, 100, 10),
        spin(MinPadding, Page::Save, 2, 0, 1024),
        check(AlwaysSave, Page::Save, false),
        check(UndoAfterSave, Page::Save, true),
        check(RetainFileDate, Page::Save, true),
        check(ClearReadOnly, Page::Save, true),
        choice(DupFilesComboBox, Page::Save, 3,
               {QStringLiteral("Skip"), QStringLiteral("Rename"), QStringLiteral("Replace"),
                QStringLiteral("Ask")}),

        check(BrowseWith, Page::Shell, true),
        check(CheckBoxAutoCorrect, Page::AutoCorrect, true),
        check(chkCache, Page::Cache, true),
        check(chkBackgroundSynching, Page::Cache, true),
        checkList(FileTypeAssociations, Page::FileAssociation, false,
                  kFileTypes + QStringList{QStringLiteral("PLS"), QStringLiteral("M3U"),
                                           QStringLiteral("FLS")}),

        edit(FreeDBProxy, Page::None, ""),
        edit(ProxyServerPort, Page::None, ""),
        spin(FreeDBTimeout, Page::None, 10, 0, 1024),
    };
    const std::pair<const char*, const char*> captions[] = {
        {AutoOpenMRU, "&Auto open last used folder"},
        {ScanRecursively, "Scan directories recursively"},
        {DisplayHints, "Display Hints"},
        {HotTracking, "Hot tracking"},
        {AlwaysSorting, "Always remember sorting"},
        {ShowSplashScreenCheckBox, "&Show splash screen"},
        {chkNetworkVBR, "Advanced &VBR calc on network drives"},
        {RenameBarCheckBox, "&Use rename bar for file renaming"},
        {AutoLoadSelectedCheckBox, "Auto load selected folder"},
        {AspectRatioCheckBox, "Keep picture aspect-ratio"},
        {ExtendedContextCheckBox, "Extended Context menu"},
        {CheckBoxShowStartAssistant, "Show start assistant"},
        {chkCheckUpdates, "Check for updates on the web"},
        {Language, "&Language:"},
        {DoubleClick, "On double click:"},
        {PlayAction, "Play:"},
        {PlayerStartPerc, "Internal player starts at:"},
        {Extensions, "Extensions:"},
        {FilenameSpaceToUnderscore, "Space to &underscore"},
        {FilenameLowercase, "&Lowercase"},
        {FilenameSeparator, "Se&parator:"},
        {EncodePercent, "Encode with %"},
        {DigitsCount, "Digits:"},
        {NumbersStart, "Start numbering with:"},
        {UnknownIfEmpty, "Unknown if field is empty"},
        {lstSeparators, "Separators:"},
        {UppercaseFirstOnly, "Capitalize &first word only"},
        {Lowercase, "&lowercase:"},
        {Uppercase, "&UPPERCASE"},
        {CapitalizeTag, "Capitalize tag"},
        {CompatibilityModeCheckBox, "Tag reading compatibility mode"},
        {CombinedEditCheckBox, "Combined format editing"},
        {LeadingZeroCheckBox, "Leading zero in Track #"},
        {PasteOnlyToEmptyFields, "Paste only to empty tag fields"},
        {Troubleshooting, "Troubleshooting:"},
        {Unsynchronize, "Unsynchronize when needed"},
        {ZeroPadding, "Use zero padding"},
        {PaddingPerc, "Tag size grows by:"},
        {MinPadding, "Minimum Tag size:"},
        {AlwaysSave, "Always write ID3 Tag"},
        {UndoAfterSave, "Undo beyond Save"},
        {RetainFileDate, "Retain file date stamp"},
        {ClearReadOnly, "Clear Read-Only flag"},
        {DupFilesComboBox, "Duplicate files:"},
        {BrowseWith, "Browse with Varlo"},
        {CheckBoxAutoCorrect, "Auto correct while you type"},
        {chkCache, "&Use internal Tornel Cache"},
        {chkBackgroundSynching, "&Enable background synchronizing"},
        {FileTypeAssociations, "Associated file types"},
        {FreeDBProxy, "Proxy server:"},
        {ProxyServerPort, "Proxy port:"},
        {FreeDBTimeout, "Timeout:"}};
    for (OptionSpec& spec : specs) {
        for (const auto& [name, caption] : captions)
            if (spec.name == std::string_view(name))
                spec.caption = caption;
        // Every start begins with the standard growth of tags.
        if (spec.name == std::string_view(PaddingPerc))
            spec.stored = false;
        if (spec.name == std::string_view(Extensions))
            spec.noneCheckedMeansAll = true;
    }
    return specs;
}

QVariant clampNumber(const OptionSpec& spec, const QVariant& value) {
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok)
        return defaultValue(spec);
    const qlonglong bounded = std::clamp<qlonglong>(number, spec.minimum, spec.maximum);
    const qlonglong steps = (bounded - spec.minimum + spec.step / 2) / spec.step;
    return int(std::min<qlonglong>(spec.minimum + steps * spec.step, spec.maximum));
}

QVariant clampCheckList(const OptionSpec& spec, const QVariant& value) {
    const int count = int(spec.items.size());
    QList<bool> states;
    if (value.typeId() == QMetaType::QString) {
        states = decodeCheckStates(value.toString(), count);
    } else if (value.canConvert<QList<bool>>()) {
        states = value.value<QList<bool>>();
        states.resize(count, false);
    } else {
        return defaultValue(spec);
    }
    if (spec.noneCheckedMeansAll && !states.contains(true))
        states.fill(true);
    return QVariant::fromValue(states);
}

QVariant clampItemList(const QVariant& value) {
    if (value.typeId() == QMetaType::QString)
        return value.toString().isEmpty() ? QStringList() : value.toString().split(kLineBreak);
    return value.toStringList();
}

bool toBool(const QVariant& value, bool& ok) {
    ok = true;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString();
    if (text == QLatin1String("true") || text == QLatin1String("false"))
        return text == QLatin1String("true");
    const int number = text.toInt(&ok);
    return number != 0;
}

QVariant storedForm(const OptionSpec& spec, const QVariant& value) {
    switch (spec.kind) {
    case Kind::Check:
        return value.toBool() ? 1 : 0;
    case Kind::ItemList:
        return value.toStringList().join(kLineBreak);
    case Kind::CheckList:
        return encodeCheckStates(value.value<QList<bool>>());
    default:
        return value;
    }
}

} // namespace

QStringList pageCaptions() {
    return {QStringLiteral("General"),  QStringLiteral("Rename"),
            QStringLiteral("Genre"),    QStringLiteral("TAG options"),
            QStringLiteral("Auto TAG"), QStringLiteral("Save"),
            QStringLiteral("Shell"),    QStringLiteral("Auto correct"),
            QStringLiteral("Cache"),    QStringLiteral("File Association")};
}

const QList<OptionSpec>& optionSpecs() {
    static const QList<OptionSpec> specs = buildSpecs();
    return specs;
}

const OptionSpec* findOption(const QString& name) {
    for (const OptionSpec& spec : optionSpecs())
        if (name == QLatin1String(spec.name))
            return &spec;
    return nullptr;
}

QVariant defaultValue(const OptionSpec& spec) {
    if (spec.kind == Kind::CheckList)
        return QVariant::fromValue(QList<bool>(spec.items.size(), spec.defaultValue.toBool()));
    return spec.defaultValue;
}

OptionValues defaultValues() {
    OptionValues values;
    for (const OptionSpec& spec : optionSpecs())
        values.insert(QLatin1String(spec.name), defaultValue(spec));
    return values;
}

QVariant clampValue(const OptionSpec& spec, const QVariant& value) {
    if (!value.isValid())
        return defaultValue(spec);
    switch (spec.kind) {
    case Kind::Check: {
        bool ok = true;
        const bool flag = toBool(value, ok);
        return ok ? QVariant(flag) : defaultValue(spec);
    }
    case Kind::Edit:
    case Kind::Key:
        return value.toString();
    case Kind::Spin:
    case Kind::Track:
    case Kind::Choice:
        return clampNumber(spec, value);
    case Kind::ItemList:
        return clampItemList(value);
    case Kind::CheckList:
        return clampCheckList(spec, value);
    }
    return defaultValue(spec);
}

QStringList withSeparatorAdded(QStringList separators, const QString& text) {
    if (!text.isEmpty() && !separators.contains(text))
        separators.append(text);
    return separators;
}

QStringList withSeparatorRemoved(QStringList separators, const QString& text) {
    separators.removeAll(text);
    return separators;
}

OptionValues loadOptions(const TRegistrySave& store) {
    OptionValues values = defaultValues();
    for (const OptionSpec& spec : optionSpecs()) {
        if (!spec.stored)
            continue;
        const auto stored =
            store.readControl(QLatin1String(kOptionsWindow), QLatin1String(spec.name));
        if (stored)
            values.insert(QLatin1String(spec.name), clampValue(spec, *stored));
    }
    return values;
}

void saveOptions(TRegistrySave& store, const OptionValues& values) {
    for (const OptionSpec& spec : optionSpecs()) {
        if (!spec.stored)
            continue;
        const QVariant value = clampValue(spec, values.value(QLatin1String(spec.name)));
        store.writeControl(QLatin1String(kOptionsWindow), QLatin1String(spec.name),
                           storedForm(spec, value));
    }
}

} // namespace settings
