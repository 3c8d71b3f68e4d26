#include "registrysave.h"

namespace settings {

namespace {

const QString kHistoricRoot = QStringLiteral("Software\\Halvern\\Varlo");

/// Placement value suffixes, in the order they are written.
const char* const kWindowState = ".WindowState";
const char* const kMonitor = ".Monitor.MonitorNum";
const char* const kPosX = ".PosX";
const char* const kPosY = ".PosY";
const char* const kSizeX = ".SizeX";
const char* const kSizeY = ".SizeY";

/// Splits "X:name" into its type letter and name; nullopt for any other form.
std::optional<std::pair<QChar, QString>> splitTypedName(const QString& typedName) {
    if (typedName.size() <= 2 || typedName[1] != QLatin1Char(':'))
        return std::nullopt;
    const QChar letter = typedName[0].toUpper();
    if (!QStringLiteral("BDIS").contains(letter))
        return std::nullopt;
    return std::pair{letter, typedName.mid(2)};
}

/// The stored form of a typed value, or an invalid variant when the value does not fit.
QVariant storedForm(QChar letter, const QVariant& value) {
    switch (letter.unicode()) {
    case 'B':
        return value.typeId() == QMetaType::Bool ? QVariant(value.toBool() ? 1 : 0) : QVariant();
    case 'D':
        return value.typeId() == QMetaType::QByteArray ? value : QVariant();
    case 'I':
        return value.typeId() == QMetaType::Int ? value : QVariant();
    default:
        return value.typeId() == QMetaType::QString ? value : QVariant();
    }
}

/// Converts what the file holds back into the caller's type; invalid when it cannot.
QVariant typedForm(QChar letter, const QVariant& stored) {
    bool ok = false;
    switch (letter.unicode()) {
    case 'B': {
        const int number = stored.toInt(&ok);
        if (ok)
            return number != 0;
        const QString text = stored.toString();
        if (text == QLatin1String("true") || text == QLatin1String("false"))
            return text == QLatin1String("true");
        return {};
    }
    case 'D':
        return stored.toByteArray();
    case 'I': {
        const int number = stored.toInt(&ok);
        return ok ? QVariant(number) : QVariant();
    }
    default:
        return stored.toString();
    }
}

std::optional<int> toInt(const std::optional<QVariant>& value) {
    if (!value)
        return std::nullopt;
    bool ok = false;
    const int number = value->toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

} // namespace

TRegistrySave::TRegistrySave()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("Halvern"), QStringLiteral("Varlo"))) {}

TRegistrySave::TRegistrySave(const QString& filePath)
    : m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat)) {}

TRegistrySave::~TRegistrySave() = default;

void TRegistrySave::setPath(const QString& path) {
    QString group = path;
    if (group.startsWith(kHistoricRoot, Qt::CaseInsensitive))
        group = group.mid(kHistoricRoot.size());
    group.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (group.startsWith(QLatin1Char('/')))
        group.remove(0, 1);
    m_path = group;
}

QString TRegistrySave::controlKey(const QString& window, const QString& name) const {
    return valueKey(window + QLatin1Char('/') + name);
}

QString TRegistrySave::valueKey(const QString& name) const {
    return m_path.isEmpty() ? name : m_path + QLatin1Char('/') + name;
}

std::optional<QVariant> TRegistrySave::read(const QString& key) const {
    const QVariant value = m_settings->value(key);
    return value.isValid() ? std::optional<QVariant>(value) : std::nullopt;
}

bool TRegistrySave::writeControl(const QString& window, const QString& name,
                                 const QVariant& value) {
    if (window.isEmpty() || name.isEmpty())
        return false;
    m_settings->setValue(controlKey(window, name), value);
    return true;
}

std::optional<QVariant> TRegistrySave::readControl(const QString& window,
                                                   const QString& name) const {
    return read(controlKey(window, name));
}

bool TRegistrySave::WriteValue(const QString& typedName, const QVariant& value) {
    const auto typed = splitTypedName(typedName);
    if (!typed)
        return false;
    const QVariant stored = storedForm(typed->first, value);
    if (!stored.isValid())
        return false;
    m_settings->setValue(valueKey(typed->second), stored);
    return true;
}

bool TRegistrySave::ReadValue(const QString& typedName, QVariant& value) const {
    const auto typed = splitTypedName(typedName);
    if (!typed)
        return false;
    const auto stored = read(valueKey(typed->second));
    if (!stored)
        return false;
    const QVariant converted = typedForm(typed->first, *stored);
    if (!converted.isValid())
        return false;
    value = converted;
    return true;
}

bool TRegistrySave::RemoveValue(const QString& name) {
    const QString key = valueKey(name);
    if (name.isEmpty() || !m_settings->contains(key))
        return false;
    m_settings->remove(key);
    return true;
}

bool TRegistrySave::WriteInt(const QString& name, int value) {
    return WriteValue(QStringLiteral("I:") + name, value);
}

std::optional<int> TRegistrySave::ReadInt(const QString& name) const {
    if (name.isEmpty())
        return std::nullopt;
    return toInt(read(valueKey(name)));
}

bool TRegistrySave::SavePlacement(const QString& window, const WindowPlacement& placement) {
    if (window.isEmpty())
        return false;
    const std::pair<const char*, std::optional<int>> values[] = {
        {kWindowState, placement.windowState},
        {kMonitor, placement.monitor},
        {kPosX, placement.left},
        {kPosY, placement.top},
        {kSizeX, placement.width},
        {kSizeY, placement.height}};
    for (const auto& [suffix, value] : values) {
        const QString key = valueKey(window + QLatin1String(suffix));
        if (value)
            m_settings->setValue(key, *value);
        else
            m_settings->remove(key);
    }
    return true;
}

WindowPlacement TRegistrySave::RestorePlacement(const QString& window,
                                                const WindowPlacement& current,
                                                const QList<QRect>& screens) const {
    auto stored = [&](const char* suffix, const std::optional<int>& fallback) {
        const auto value = ReadInt(window + QLatin1String(suffix));
        return value ? value : fallback;
    };
    WindowPlacement placement;
    placement.left = stored(kPosX, current.left);
    placement.top = stored(kPosY, current.top);
    placement.width = stored(kSizeX, current.width);
    placement.height = stored(kSizeY, current.height);
    placement.windowState = stored(kWindowState, current.windowState);
    placement.monitor = stored(kMonitor, current.monitor);
    if (placement.windowState && (*placement.windowState < 0 || *placement.windowState > 2))
        placement.windowState = current.windowState;
    if (screens.isEmpty() || !placement.left || !placement.top || !placement.width ||
        !placement.height)
        return placement;
    // A window whose screen has gone (a monitor unplugged) would open where nobody can
    // reach it, so it is brought onto the first screen instead.
    const bool knownScreen =
        placement.monitor && *placement.monitor >= 0 && *placement.monitor < screens.size();
    if (!knownScreen)
        placement.monitor = 0;
    const QRect moved =
        clampToScreen(QRect(*placement.left, *placement.top, std::max(*placement.width, 0),
                            std::max(*placement.height, 0)),
                      screens[*placement.monitor]);
    placement.left = moved.left();
    placement.top = moved.top();
    return placement;
}

bool TRegistrySave::sync() {
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QRect clampToScreen(const QRect& window, const QRect& screen) {
    QRect moved = window;
    // Right and bottom first, so that a window larger than the screen keeps its title bar
    // and left edge on screen.
    if (moved.x() + moved.width() > screen.x() + screen.width())
        moved.moveLeft(screen.x() + screen.width() - moved.width());
    if (moved.x() < screen.x())
        moved.moveLeft(screen.x());
    if (moved.y() + moved.height() > screen.y() + screen.height())
        moved.moveTop(screen.y() + screen.height() - moved.height());
    if (moved.y() < screen.y())
        moved.moveTop(screen.y());
    return moved;
}

QString formatColumnLayout(const QList<ColumnState>& displayOrder) {
    QString text;
    for (const ColumnState& column : displayOrder)
        text += QStringLiteral("%1,%2;").arg(column.index).arg(column.width);
    return text;
}

ColumnLayout parseColumnLayout(const QString& text, int columnCount) {
    ColumnLayout layout;
    QList<int> order;
    const QStringList entries = text.split(QLatin1Char(';'));
    for (const QString& rawEntry : entries) {
        const QString entry = rawEntry.trimmed();
        if (entry.isEmpty() || order.size() == columnCount)
            break;
        const qsizetype comma = entry.indexOf(QLatin1Char(','));
        bool ok = false;
        const int index = entry.left(comma).trimmed().toInt(&ok);
        // A column named twice would make the display order invalid; stop there too.
        if (!ok || index < 0 || index >= columnCount || order.contains(index))
            break;
        const int width = comma < 0 ? 0 : entry.mid(comma + 1).trimmed().toInt(&ok);
        layout.widths.append({index, ok && width > 0 ? width : 0});
        order.append(index);
    }
    if (columnCount > 0 && order.size() == columnCount)
        layout.order = order;
    return layout;
}

QString encodeMemoText(const QString& text) {
    QString stored = text;
    stored.replace(QLatin1String("\r\n"), QLatin1String("~~"));
    stored.replace(QLatin1Char('\n'), QLatin1String("~~"));
    return stored;
}

QString decodeMemoText(const QString& stored) {
    QString text = stored;
    return text.replace(QLatin1String("~~"), QLatin1String("\r\n"));
}

QString encodeCheckStates(const QList<bool>& checked) {
    QString stored;
    for (bool state : checked)
        stored += state ? QLatin1Char('1') : QLatin1Char('0');
    return stored;
}

QList<bool> decodeCheckStates(const QString& stored, int itemCount) {
    QList<bool> checked;
    for (int i = 0; i < itemCount; ++i)
        checked.append(i < stored.size() && stored[i] == QLatin1Char('1'));
    return checked;
}

} // namespace settings
