#include "optionsdialog.h"

#include "settings/browsewith.h"
#include "settings/multilanguage.h"
#include "settings/registrysave.h"
#include "settings/settings.h"
#include "settings/ui/translatewidgets.h"
#include "tags/genres.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTreeWidget>

namespace settings {

namespace {

QString withoutShortcut(const char* caption) {
    return QString::fromUtf8(caption).remove(QLatin1Char('&'));
}

/// A short list is as high as its items, so that its page does not look stretched.
void fitToContents(QListWidget* list) {
    list->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    list->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
}

/// The label beside the player's start position: the value with "%".
QString percentText(int value) {
    return QStringLiteral("%1%").arg(value);
}

QListWidget* checkListEditor(const OptionSpec& spec) {
    auto* list = new QListWidget;
    fitToContents(list);
    for (const QString& item : spec.items) {
        auto* row = new QListWidgetItem(item, list);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(Qt::Unchecked);
    }
    return list;
}

QStringList listItems(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

} // namespace

TSettings::TSettings(Settings& settings, TRegistrySave& store, TMultiLanguage& languages,
                     QWidget* parent)
    : QDialog(parent), m_settings(settings), m_store(store), m_languages(languages),
      m_languageNames(languages.LanguageNames()) {
    setObjectName(QLatin1String(kOptionsWindow));
    setWindowTitle(tr("Options"));
    m_pages = new QTreeWidget;
    m_pages->setHeaderHidden(true);
    auto* root = new QTreeWidgetItem(m_pages, {windowTitle()});
    m_stack = new QStackedWidget;
    const QStringList captions = pageCaptions();
    for (int page = 0; page < captions.size(); ++page) {
        new QTreeWidgetItem(root, {captions[page]});
        m_stack->addWidget(buildPage(Page(page)));
    }
    m_pages->expandAll();
    connect(m_pages, &QTreeWidget::currentItemChanged, this, [this, root](QTreeWidgetItem* item) {
        if (item && item->parent() == root)
            m_stack->setCurrentIndex(root->indexOfChild(item));
    });
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                     QDialogButtonBox::Apply);
    connect(m_buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &TSettings::Apply);
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
        Apply();
        accept();
    });
    connect(m_buttons, &QDialogButtonBox::rejected, this, [this] {
        Cancel();
        reject();
    });
    auto* body = new QHBoxLayout;
    body->addWidget(m_pages, 1);
    body->addWidget(m_stack, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(m_buttons);
    showValues(m_settings.values());
    m_pages->setCurrentItem(root->child(0));
    translateWidget(this, m_languages);
}

QWidget* TSettings::buildPage(Page page) {
    auto* widget = new QWidget;
    auto* form = new QFormLayout(widget);
    // Numbers and choices keep their natural width; texts and lists take the page's width.
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    for (const OptionSpec& spec : optionSpecs()) {
        if (spec.page != page)
            continue;
        QWidget* editor = buildEditor(spec);
        if (!editor->findChild<QWidget*>(QLatin1String(spec.name)))
            editor->setObjectName(QLatin1String(spec.name));
        if (spec.kind == Kind::Check)
            form->addRow(editor);
        else
            form->addRow(withoutShortcut(spec.caption), editor);
    }
    addPageExtras(page, widget);
    if (page == Page::Save)
        connect(widget->findChild<QCheckBox*>(QLatin1String(names::ZeroPadding)),
                &QCheckBox::toggled, this, &TSettings::enablePaddingValues);
    return widget;
}

void TSettings::addPageExtras(Page page, QWidget* pageWidget) {
    auto* form = static_cast<QFormLayout*>(pageWidget->layout());
    auto addText = [form](const QString& text) {
        auto* label = new QLabel(text);
        label->setWordWrap(true);
        form->insertRow(0, label);
    };
    switch (page) {
    case Page::Genre:
        addText(tr("Select genre types that you want displayed on Short genre list button."));
        form->addRow(buildGenreList());
        break;
    case Page::Shell:
        addText(tr("Select to integrate Varlo into shell context menu."));
        m_shellStatus = new QLabel;
        m_shellStatus->setWordWrap(true);
        form->addRow(m_shellStatus);
        break;
    case Page::Cache:
        form->addRow(buildCacheCommands());
        break;
    case Page::FileAssociation:
        form->addRow(buildAllNoneButtons(names::FileTypeAssociations));
        break;
    default:
        break;
    }
}

QListWidget* TSettings::buildGenreList() {
    m_genres = new QListWidget;
    m_genres->setObjectName(QStringLiteral("GenreList"));
    QList<int> genres;
    for (int genre = 0; genre < tags::GenreNames::kCount; ++genre)
        genres << genre;
    std::sort(genres.begin(), genres.end(), [](int a, int b) {
        return tags::GenreNames::NameOf(a).localeAwareCompare(tags::GenreNames::NameOf(b)) < 0;
    });
    for (int genre : genres) {
        auto* item = new QListWidgetItem(tags::GenreNames::NameOf(genre), m_genres);
        item->setData(Qt::UserRole, genre);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    connect(m_genres, &QListWidget::itemChanged, this, &TSettings::markChanged);
    return m_genres;
}

QWidget* TSettings::buildCacheCommands() {
    struct Command {
        QString caption;
        QString description;
        void (TSettings::*signal)();
    };
    const Command commands[] = {{tr("Build cache"),
                                 tr("Clear complete cache and build new one from HD content."),
                                 &TSettings::buildCacheRequested},
                                {tr("Synchronize"), tr("Synchronize cache with HD content."),
                                 &TSettings::synchronizeCacheRequested},
                                {tr("Clean cache"), tr("Clear all obsolete items from cache."),
                                 &TSettings::cleanCacheRequested}};
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    for (const Command& command : commands) {
        auto* button = new QPushButton(command.caption);
        connect(button, &QPushButton::clicked, this, command.signal);
        auto* description = new QLabel(command.description);
        description->setWordWrap(true);
        grid->addWidget(button, row, 0);
        grid->addWidget(description, row++, 1);
    }
    grid->setColumnStretch(1, 1);
    m_cacheStatus = new QLabel;
    m_cacheProgress = new QProgressBar;
    m_cacheProgress->setRange(0, 1);
    m_cacheProgress->setValue(0);
    m_cacheProgress->setTextVisible(false);
    grid->addWidget(m_cacheStatus, row++, 0, 1, 2);
    grid->addWidget(m_cacheProgress, row, 0, 1, 2);
    return box;
}

QWidget* TSettings::buildAllNoneButtons(const char* listName) {
    auto* box = new QWidget;
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const auto& [caption, state] :
         {std::pair{tr("All"), Qt::Checked}, std::pair{tr("None"), Qt::Unchecked}}) {
        auto* button = new QPushButton(caption);
        connect(button, &QPushButton::clicked, this, [this, listName, state = state] {
            auto* list = findChild<QListWidget*>(QLatin1String(listName));
            for (int i = 0; i < list->count(); ++i)
                list->item(i)->setCheckState(state);
        });
        layout->addWidget(button);
    }
    layout->addStretch();
    return box;
}

QWidget* TSettings::buildEditor(const OptionSpec& spec) {
    switch (spec.kind) {
    case Kind::Check: {
        auto* box = new QCheckBox(QString::fromUtf8(spec.caption));
        connect(box, &QCheckBox::toggled, this, &TSettings::markChanged);
        return box;
    }
    case Kind::Edit: {
        auto* edit = new QLineEdit;
        connect(edit, &QLineEdit::textEdited, this, &TSettings::markChanged);
        return edit;
    }
    case Kind::Spin: {
        auto* spin = new QSpinBox;
        spin->setRange(spec.minimum, spec.maximum);
        spin->setSingleStep(spec.step);
        connect(spin, &QSpinBox::valueChanged, this, &TSettings::markChanged);
        return spin;
    }
    case Kind::Track: {
        auto* container = new QWidget;
        auto* slider = new QSlider(Qt::Horizontal);
        slider->setObjectName(QLatin1String(spec.name));
        slider->setRange(spec.minimum, spec.maximum);
        auto* value = new QLabel(percentText(spec.maximum));
        value->setMinimumWidth(value->sizeHint().width());
        connect(slider, &QSlider::valueChanged, value,
                [value](int position) { value->setText(percentText(position)); });
        connect(slider, &QSlider::valueChanged, this, &TSettings::markChanged);
        auto* layout = new QHBoxLayout(container);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(slider, 1);
        layout->addWidget(value);
        return container;
    }
    case Kind::Choice:
    case Kind::Key: {
        auto* combo = new QComboBox;
        combo->addItems(spec.kind == Kind::Choice ? spec.items : m_languageNames);
        // Without a language file there is nothing to choose; English texts are built in.
        combo->setEnabled(combo->count() > 0);
        connect(combo, &QComboBox::currentIndexChanged, this, &TSettings::markChanged);
        return combo;
    }
    case Kind::ItemList:
        return buildSeparatorEditor(spec);
    case Kind::CheckList: {
        QListWidget* list = checkListEditor(spec);
        connect(list, &QListWidget::itemChanged, this, &TSettings::markChanged);
        return list;
    }
    }
    return new QWidget;
}

QWidget* TSettings::buildSeparatorEditor(const OptionSpec& spec) {
    auto* container = new QWidget;
    auto* list = new QListWidget;
    list->setObjectName(QLatin1String(spec.name));
    fitToContents(list);
    auto* edit = new QLineEdit;
    edit->setPlaceholderText(tr("Edit separator:"));
    auto* add = new QPushButton(tr("Add to list"));
    auto* remove = new QPushButton(tr("Remove from list"));
    auto change = [this, list, edit](const QStringList& items) {
        if (items != listItems(list)) {
            list->clear();
            list->addItems(items);
            markChanged();
        }
        edit->clear();
    };
    connect(add, &QPushButton::clicked, this,
            [list, edit, change] { change(withSeparatorAdded(listItems(list), edit->text())); });
    connect(remove, &QPushButton::clicked, this,
            [list, edit, change] { change(withSeparatorRemoved(listItems(list), edit->text())); });
    // Enter in the edit box adds the separator instead of pressing "Ok".
    m_enterTargets.insert(edit, add);
    edit->installEventFilter(this);
    connect(list, &QListWidget::currentTextChanged, edit, [edit](const QString& text) {
        edit->setText(text);
        edit->selectAll();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(edit);
    buttons->addWidget(add);
    buttons->addWidget(remove);
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list);
    layout->addLayout(buttons);
    return container;
}

bool TSettings::eventFilter(QObject* watched, QEvent* event) {
    const auto* key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
    QPushButton* target = m_enterTargets.value(watched);
    if (key && target && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        target->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

OptionValues TSettings::shownValues() const {
    OptionValues values = m_settings.values();
    for (const OptionSpec& spec : optionSpecs()) {
        QWidget* editor = findChild<QWidget*>(QLatin1String(spec.name));
        if (!editor) // settings without a page keep the value in force
            continue;
        QVariant value;
        if (auto* box = qobject_cast<QCheckBox*>(editor))
            value = box->isChecked();
        else if (auto* edit = qobject_cast<QLineEdit*>(editor))
            value = edit->text();
        else if (auto* spin = qobject_cast<QSpinBox*>(editor))
            value = spin->value();
        else if (auto* slider = qobject_cast<QSlider*>(editor))
            value = slider->value();
        else if (auto* combo = qobject_cast<QComboBox*>(editor))
            value = spec.kind == Kind::Key ? QVariant(combo->currentText())
                                           : QVariant(combo->currentIndex());
        else if (auto* list = qobject_cast<QListWidget*>(editor)) {
            QStringList items;
            QList<bool> checked;
            for (int i = 0; i < list->count(); ++i) {
                items << list->item(i)->text();
                checked << (list->item(i)->checkState() == Qt::Checked);
            }
            value = spec.kind == Kind::CheckList ? QVariant::fromValue(checked) : QVariant(items);
        }
        values.insert(QLatin1String(spec.name), clampValue(spec, value));
    }
    return values;
}

void TSettings::showValues(const OptionValues& values) {
    for (const OptionSpec& spec : optionSpecs()) {
        const QVariant value = clampValue(spec, values.value(QLatin1String(spec.name)));
        QWidget* editor = findChild<QWidget*>(QLatin1String(spec.name));
        const QSignalBlocker editorBlocker(editor);
        if (auto* box = qobject_cast<QCheckBox*>(editor))
            box->setChecked(value.toBool());
        else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            edit->setText(value.toString());
            edit->setCursorPosition(0); // long word lists show their start
        } else if (auto* spin = qobject_cast<QSpinBox*>(editor))
            spin->setValue(value.toInt());
        else if (auto* slider = qobject_cast<QSlider*>(editor)) {
            slider->setValue(value.toInt());
            slider->parentWidget()->findChild<QLabel*>()->setText(percentText(value.toInt()));
        } else if (auto* combo = qobject_cast<QComboBox*>(editor))
            combo->setCurrentIndex(spec.kind == Kind::Key ? combo->findText(value.toString())
                                                          : value.toInt());
        else if (auto* list = qobject_cast<QListWidget*>(editor);
                 list && spec.kind == Kind::CheckList) {
            const QList<bool> checked = value.value<QList<bool>>();
            for (int i = 0; i < list->count(); ++i)
                list->item(i)->setCheckState(checked.value(i) ? Qt::Checked : Qt::Unchecked);
        } else if (list) {
            list->clear();
            list->addItems(value.toStringList());
        }
    }
    showShortGenreList(m_settings.shortGenreList());
    enablePaddingValues();
    m_buttons->button(QDialogButtonBox::Apply)->setEnabled(false);
}

void TSettings::enablePaddingValues() {
    const bool padding = findChild<QCheckBox*>(QLatin1String(names::ZeroPadding))->isChecked();
    for (const char* name : {names::PaddingPerc, names::MinPadding}) {
        auto* field = findChild<QWidget*>(QLatin1String(name));
        field->setEnabled(padding);
        auto* form = qobject_cast<QFormLayout*>(field->parentWidget()->layout());
        if (QWidget* label = form ? form->labelForField(field) : nullptr)
            label->setEnabled(padding);
    }
}

void TSettings::Apply() {
    m_buttons->button(QDialogButtonBox::Apply)->setEnabled(false);
    m_settings.setValues(shownValues());
    m_settings.setShortGenreList(checkedGenres());
    applyLanguage();
    applyBrowseWith();
    m_settings.save(m_store);
    m_store.sync();
}

void TSettings::Cancel() {
    showValues(m_settings.values());
}

void TSettings::setCacheBusy(bool busy) {
    if (busy == !m_buttons->isEnabled()) // the wait cursor is set and restored once
        return;
    m_buttons->setEnabled(!busy);
    m_pages->setEnabled(!busy);
    for (int page = 0; page < m_stack->count(); ++page)
        m_stack->widget(page)->setEnabled(!busy || page == int(Page::Cache));
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TSettings::showCacheProgress(const QString& status, int done, int total) {
    m_cacheStatus->setText(status);
    m_cacheProgress->setTextVisible(total > 0);
    m_cacheProgress->setRange(0, std::max(total, 1));
    m_cacheProgress->setValue(total > 0 ? std::clamp(done, 0, total) : 0);
}

void TSettings::showShortGenreList(const QSet<int>& genres) {
    const QSignalBlocker blocker(m_genres);
    for (int i = 0; i < m_genres->count(); ++i) {
        QListWidgetItem* item = m_genres->item(i);
        item->setCheckState(genres.contains(item->data(Qt::UserRole).toInt()) ? Qt::Checked
                                                                              : Qt::Unchecked);
    }
}

QSet<int> TSettings::checkedGenres() const {
    QSet<int> genres;
    for (int i = 0; i < m_genres->count(); ++i)
        if (m_genres->item(i)->checkState() == Qt::Checked)
            genres.insert(m_genres->item(i)->data(Qt::UserRole).toInt());
    return genres;
}

void TSettings::applyLanguage() {
    const int language = m_languages.chooseLanguage(m_settings.language());
    if (language == m_languages.Language())
        return;
    m_languages.setLanguage(language);
    translateWidget(this, m_languages);
    emit languageChanged();
}

void TSettings::applyBrowseWith() {
    QString error;
    const bool ok =
        TBrowseWithEntry::apply(m_settings.browseWith(), QCoreApplication::applicationFilePath(),
                                lookupText(QStringLiteral("ShellDesc")), &error);
    m_shellStatus->setText(ok ? QString() : error);
}

void TSettings::markChanged() {
    m_buttons->button(QDialogButtonBox::Apply)->setEnabled(true);
}

} // namespace settings
