#include "settings.h"

#include "registrysave.h"
#include "shortgenrelist.h"

namespace settings {

namespace {

QSet<int> withNoGenre(QSet<int> genres) {
    for (auto it = genres.begin(); it != genres.end();)
        it = *it < 0 || *it > kNoGenre ? genres.erase(it) : std::next(it);
    genres.insert(kNoGenre);
    return genres;
}

QString typedShortGenreList() {
    return QStringLiteral("D:") + QLatin1String(kShortGenreList);
}

} // namespace

Settings::Settings(QObject* parent)
    : QObject(parent), m_values(defaultValues()),
      m_shortGenres(withNoGenre(defaultShortGenreList())) {}

bool Settings::setValue(const QString& name, const QVariant& value) {
    const OptionSpec* spec = findOption(name);
    if (!spec)
        return false;
    const QVariant clamped = clampValue(*spec, value);
    if (m_values.value(name) == clamped)
        return true;
    m_values.insert(name, clamped);
    emit valueChanged(name, clamped);
    if (name == QLatin1String(names::Extensions))
        emit extensionsChanged(extensions());
    return true;
}

void Settings::setShortGenreList(const QSet<int>& genres) {
    const QSet<int> list = withNoGenre(genres);
    if (list == m_shortGenres)
        return;
    m_shortGenres = list;
    emit shortGenreListChanged(m_shortGenres);
}

void Settings::setValues(const OptionValues& values) {
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        setValue(it.key(), it.value());
}

void Settings::load(const TRegistrySave& store) {
    setValues(loadOptions(store));
    QVariant stored;
    QSet<int> genres = defaultShortGenreList();
    if (store.ReadValue(typedShortGenreList(), stored))
        decodeShortGenreList(stored.toByteArray(), genres);
    setShortGenreList(genres);
}

void Settings::save(TRegistrySave& store) const {
    saveOptions(store, m_values);
    store.WriteValue(typedShortGenreList(), encodeShortGenreList(m_shortGenres));
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
