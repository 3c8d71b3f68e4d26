#include "translatewidgets.h"

#include "settings/multilanguage.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTableWidget>
#include <QTreeWidget>

#include <optional>

namespace settings {

namespace {

/// The translatable texts of an object, each read and written as a list of texts.
enum class Slot { Caption, Hint, Items, Columns };
constexpr Slot kSlots[] = {Slot::Caption, Slot::Hint, Slot::Items, Slot::Columns};

QByteArray originalProperty(Slot slot) {
    static const char* const names[] = {"varloOriginalCaption", "varloOriginalHint",
                                        "varloOriginalItems", "varloOriginalColumns"};
    return names[int(slot)];
}

std::optional<QStringList> captionOf(QObject* object) {
    if (auto* action = qobject_cast<QAction*>(object))
        return QStringList{action->text()};
    if (auto* menu = qobject_cast<QMenu*>(object))
        return QStringList{menu->title()};
    if (auto* button = qobject_cast<QAbstractButton*>(object))
        return QStringList{button->text()};
    if (auto* label = qobject_cast<QLabel*>(object))
        return QStringList{label->text()};
    if (auto* group = qobject_cast<QGroupBox*>(object))
        return QStringList{group->title()};
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && (widget->isWindow() || qobject_cast<QDockWidget*>(widget)))
        return QStringList{widget->windowTitle()};
    return std::nullopt;
}

void setCaption(QObject* object, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(object))
        action->setText(text);
    else if (auto* menu = qobject_cast<QMenu*>(object))
        menu->setTitle(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(object))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(object))
        label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(object))
        group->setTitle(text);
    else if (auto* widget = qobject_cast<QWidget*>(object))
        widget->setWindowTitle(text);
}

std::optional<QStringList> itemsOf(QObject* object) {
    QStringList items;
    if (auto* combo = qobject_cast<QComboBox*>(object))
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
    else if (auto* list = qobject_cast<QListWidget*>(object))
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
    else
        return std::nullopt;
    return items;
}

/// Changes item texts only: items are the program's, their number and selection stay.
void setItems(QObject* object, const QStringList& items) {
    if (auto* combo = qobject_cast<QComboBox*>(object))
        for (int i = 0; i < std::min<int>(combo->count(), int(items.size())); ++i)
            combo->setItemText(i, items[i]);
    else if (auto* list = qobject_cast<QListWidget*>(object))
        for (int i = 0; i < std::min<int>(list->count(), int(items.size())); ++i)
            list->item(i)->setText(items[i]);
}

std::optional<QStringList> columnsOf(QObject* object) {
    QStringList columns;
    if (auto* tree = qobject_cast<QTreeWidget*>(object))
        for (int i = 0; i < tree->columnCount(); ++i)
            columns << tree->headerItem()->text(i);
    else if (auto* table = qobject_cast<QTableWidget*>(object))
        for (int i = 0; i < table->columnCount(); ++i)
            columns << (table->horizontalHeaderItem(i) ? table->horizontalHeaderItem(i)->text()
                                                       : QString());
    else
        return std::nullopt;
    return columns;
}

void setColumns(QObject* object, const QStringList& columns) {
    if (auto* tree = qobject_cast<QTreeWidget*>(object))
        for (int i = 0; i < std::min<int>(tree->columnCount(), int(columns.size())); ++i)
            tree->headerItem()->setText(i, columns[i]);
    else if (auto* table = qobject_cast<QTableWidget*>(object))
        for (int i = 0; i < std::min<int>(table->columnCount(), int(columns.size())); ++i)
            if (table->horizontalHeaderItem(i))
                table->horizontalHeaderItem(i)->setText(columns[i]);
}

std::optional<QStringList> textsOf(QObject* object, Slot slot) {
    switch (slot) {
    case Slot::Caption:
        return captionOf(object);
    case Slot::Hint:
        if (auto* action = qobject_cast<QAction*>(object))
            return QStringList{action->toolTip()};
        if (auto* widget = qobject_cast<QWidget*>(object))
            return QStringList{widget->toolTip()};
        return std::nullopt;
    case Slot::Items:
        return itemsOf(object);
    case Slot::Columns:
        return columnsOf(object);
    }
    return std::nullopt;
}

void setTexts(QObject* object, Slot slot, const QStringList& texts) {
    switch (slot) {
    case Slot::Caption:
        setCaption(object, texts.value(0));
        break;
    case Slot::Hint:
        if (auto* action = qobject_cast<QAction*>(object))
            action->setToolTip(texts.value(0));
        else if (auto* widget = qobject_cast<QWidget*>(object))
            widget->setToolTip(texts.value(0));
        break;
    case Slot::Items:
        setItems(object, texts);
        break;
    case Slot::Columns:
        setColumns(object, texts);
        break;
    }
}

/// Puts back the texts the object was built with. Originals of a list whose number of items
/// changed since are dropped: the program has filled it anew.
void restoreOriginals(QObject* object) {
    for (Slot slot : kSlots) {
        const QVariant original = object->property(originalProperty(slot));
        if (!original.isValid())
            continue;
        const auto current = textsOf(object, slot);
        if (current && current->size() == original.toStringList().size())
            setTexts(object, slot, original.toStringList());
        else
            object->setProperty(originalProperty(slot), QVariant());
    }
}

/// Sets one text of a slot (all of them for index −1), keeping the original first.
void changeText(QObject* object, Slot slot, int index, const QString& text) {
    auto texts = textsOf(object, slot);
    if (!texts || index >= texts->size())
        return;
    if (!object->property(originalProperty(slot)).isValid())
        object->setProperty(originalProperty(slot), *texts);
    if (index < 0)
        *texts = text.split(QStringLiteral("\r\n"));
    else
        (*texts)[index] = text;
    setTexts(object, slot, *texts);
}

std::optional<int> indexAt(const QStringList& path, int position) {
    bool ok = false;
    const int index = path.value(position).toInt(&ok);
    return ok && index >= 0 ? std::optional<int>(index) : std::nullopt;
}

/// Applies one "Form." entry: "<object>.<Property>[.<index>[.Caption]]".
void applyFormEntry(QWidget* window, const QString& key, const QString& value) {
    const QStringList path = key.trimmed().split(QLatin1Char('.'));
    // An empty value is a missing translation; it never blanks a text.
    if (path.size() < 2 || value.isEmpty())
        return;
    QObject* object = path[0].isEmpty() ? window : window->findChild<QObject*>(path[0].trimmed());
    if (!object)
        return;
    const QString property = path[1];
    if (property == QLatin1String("Caption") && path.size() == 2)
        changeText(object, Slot::Caption, 0, value);
    else if (property == QLatin1String("Hint") && path.size() == 2)
        changeText(object, Slot::Hint, 0, value);
    else if (property == QLatin1String("Items") && path.size() == 2)
        changeText(object, Slot::Items, -1, value);
    else if (property == QLatin1String("Items") && path.size() == 3 && indexAt(path, 2))
        changeText(object, Slot::Items, *indexAt(path, 2), value);
    else if (property == QLatin1String("Columns") && indexAt(path, 2) &&
             (path.size() == 3 || (path.size() == 4 && path[3] == QLatin1String("Caption"))))
        changeText(object, Slot::Columns, *indexAt(path, 2), value);
}

/// Replaces designed captions and column headers that "Translations" knows.
void applyTranslations(QObject* object, const TMultiLanguage& language) {
    for (Slot slot : {Slot::Caption, Slot::Columns}) {
        const auto texts = textsOf(object, slot);
        for (int i = 0; texts && i < texts->size(); ++i) {
            const QString designed = QString(texts->at(i)).remove(QLatin1Char('&'));
            const QString translated =
                designed.isEmpty() ? QString() : language.translation(designed);
            if (!translated.isEmpty())
                changeText(object, slot, i, translated);
        }
    }
}

} // namespace

void translateWidget(QWidget* window, const TMultiLanguage& language) {
    if (!window)
        return;
    QList<QObject*> objects{window};
    objects += window->findChildren<QObject*>();
    for (QObject* object : objects)
        restoreOriginals(object);
    const QString section = QStringLiteral("Form.") + window->objectName();
    for (const auto& [key, value] : language.section(section))
        applyFormEntry(window, key, value);
    for (QObject* object : objects)
        applyTranslations(object, language);
}

} // namespace settings
