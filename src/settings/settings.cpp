#include "settings.h"

#include "registrysave.h"

namespace settings {

Settings::Settings(QObject* parent) : QObject(parent), m_values(defaultValues()) {}

bool Settings::setValue(const QString& name, const QVariant& value) {
    const OptionSpec* spec = findOption(name);
    if (!spec)
        return false;
    const QVariant clamped = clampValue(*spec, value);
    if (m_values.value(name) == clamped)
        return true;
    m_values.insert(name, clamped);
    emit valueChanged(name, clamped);
    return true;
}

void Settings::setValues(const OptionValues& values) {
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        setValue(it.key(), it.value());
}

void Settings::load(const TRegistrySave& store) {
    setValues(loadOptions(store));
}

void Settings::save(TRegistrySave& store) const {
    saveOptions(store, m_values);
}

tags::TagOptions Settings::tagOptions(int tagMode, bool commonMode) const {
    tags::TagOptions options;
    options.tagMode = tagMode;
    options.commonMode = commonMode;
    options.keepDoubleSpaces = troubleshooting(KeepDoubleSpaces);
    options.leadingZero = leadingZero();
    options.compatibilityMode = compatibilityMode();
    options.networkVbr = networkVbr();
    options.clearReadOnly = clearReadOnly();
    options.retainFileDate = retainFileDate();
    options.id3.unsynchronize = unsynchronize();
    options.id3.zeroPadding = zeroPadding();
    options.id3.paddingPerc = paddingPerc();
    return options;
}

bool Settings::troubleshooting(Troubleshoot item) const {
    return states(names::Troubleshooting).value(item, false);
}

QList<bool> Settings::states(const char* name) const {
    return value(QLatin1String(name)).value<QList<bool>>();
}

QStringList Settings::checkedItems(const char* name) const {
    const OptionSpec* spec = findOption(QLatin1String(name));
    const QList<bool> checked = states(name);
    QStringList items;
    for (qsizetype i = 0; spec && i < spec->items.size(); ++i)
        if (checked.value(i, false))
            items << spec->items[i];
    return items;
}

} // namespace settings
