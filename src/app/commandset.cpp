#include "commandset.h"

#include "commandwidgets.h"
#include "settings/multilanguage.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace app {

namespace {

const QStringList kVersionCommands = {
    QStringLiteral("VersionID3v1"), QStringLiteral("VersionID3v2"), QStringLiteral("VersionMixed")};
constexpr int kMixed = 3;

QString withoutAccelerators(QString text) {
    return text.remove(QLatin1Char('&'));
}

/// "&Tag/&Track numbers" -> "TagTrackNumbersMenu", so that menus can be found by name.
QString menuObjectName(const QString& path) {
    QString name;
    for (const QString& word : withoutAccelerators(path).split(
             QRegularExpression(QStringLiteral("[/ ]")), Qt::SkipEmptyParts))
        name += word.at(0).toUpper() + word.mid(1);
    return name + QStringLiteral("Menu");
}

/// A command widget made visible again for the toolbar that takes it (a toolbar leaves
/// widgets hidden that were hidden before).
QWidget* shown(QWidget* widget) {
    widget->show();
    return widget;
}

/// The text of a language key, else the English caption.
QString captionFor(const CommandSpec& spec, const settings::TMultiLanguage* language) {
    const QString english = QString::fromUtf8(spec.caption);
    QString text;
    if (*spec.languageKey)
        text = language ? language->Lookup(QLatin1String(spec.languageKey))
                        : settings::lookupText(QLatin1String(spec.languageKey));
    else if (language)
        text = language->translation(withoutAccelerators(english));
    return text.isEmpty() ? english : text;
}

} // namespace

TCommandSet::TCommandSet(QWidget* window, std::unique_ptr<ChangeWarning> warning)
    : QObject(window), m_window(window), m_warning(std::move(warning)) {
    Q_ASSERT(window);
    if (!m_warning)
        m_warning = std::make_unique<TChangeWarningDialog>(window);
    createActions(window);
    createModeGroups();

    // The widgets stay hidden until a toolbar takes them.
    m_renameBar = new TRenameBar(window);
    m_genreDropDown = new TGenreDropDown(window);
    m_playButton = new TPlayButton(window);
    m_trackButton = new TTrackButton(window);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{m_renameBar, m_genreDropDown, m_playButton, m_trackButton})
        widget->hide();
    m_playButton->setDefaultAction(action(QStringLiteral("Play")));
    m_favouritesMenu = newMenu(QStringLiteral("Add to favourites"), window);
    m_favouritesMenu->setObjectName(QStringLiteral("AddToFavouritesMenu"));

    connectBuiltIns();
    applyEnabling();
}

TCommandSet::~TCommandSet() = default;

void TCommandSet::createActions(QWidget* window) {
    QMenu* templates = nullptr; // the latest template list
    for (const CommandSpec& spec : commandTable()) {
        auto* action = new QAction(captionFor(spec, nullptr), window);
        action->setObjectName(QLatin1String(spec.name));
        if (*spec.shortcut)
            action->setShortcut(QKeySequence(QLatin1String(spec.shortcut)));
        action->setCheckable(spec.flags & Checkable);
        action->setChecked(spec.flags & StartsChecked);
        // Shortcuts work even while the command's toolbar is hidden.
        window->addAction(action);

        const int index = int(m_commands.size());
        m_index.insert(action->objectName(), index);
        m_commands.append({&spec, action, {}});
        connect(action, &QAction::triggered, this, [this, index] { run(m_commands[index]); });
        if (spec.flags & TemplateMenu) {
            templates = newMenu(action->text(), window);
            templates->setObjectName(action->objectName() + QStringLiteral("Templates"));
            m_templateMenus.insert(action->objectName(), templates);
        }
        if ((spec.flags & InTemplateMenu) && templates) {
            templates->addAction(action);
            templates->addSeparator();
        }
    }
}

void TCommandSet::createModeGroups() {
    // Exclusive groups: the handlers of the items report the user's choice.
    auto* tagModes = new QActionGroup(this);
    tagModes->addAction(action(QStringLiteral("ModeCommon")));
    tagModes->addAction(action(QStringLiteral("ModeAdvanced")));
    auto* versions = new QActionGroup(this);
    for (const QString& name : kVersionCommands)
        versions->addAction(action(name));
}

void TCommandSet::connectBuiltIns() {
    auto builtIn = [this](const char* name, std::function<void()> handler) {
        m_commands[m_index.value(QLatin1String(name))].handler = std::move(handler);
    };
    builtIn("ModeCommon", [this] { switchTagMode(true); });
    builtIn("ModeAdvanced", [this] { switchTagMode(false); });
    for (int version = 1; version <= kMixed; ++version)
        builtIn(kVersionCommands.at(version - 1).toLatin1().constData(),
                [this, version] { chooseVersion(version); });
    builtIn("ViewModeButton", [this] { chooseVersion(displayedVersion() % kMixed + 1); });
    builtIn("EditTagButton", [this] { routeTo({editTagCommandFor(m_state)}); });
    builtIn("RemoveTagButton", [this] { routeTo(removeTagCommandsFor(m_state)); });
    builtIn("RenameToolbarAct", [this] {
        const bool show = action(QStringLiteral("RenameToolbarAct"))->isChecked();
        m_renameBar->setVisible(show);
        if (show)
            m_renameBar->field()->setFocus();
    });
    connect(m_renameBar, &QToolBar::visibilityChanged, this, [this](bool visible) {
        action(QStringLiteral("RenameToolbarAct"))->setChecked(visible);
    });
    connect(m_genreDropDown, &TGenreDropDown::genreChosen, this,
            [this] { action(QStringLiteral("SetGenre"))->trigger(); });
    connect(m_playButton, &TPlayButton::playModeChosen, this,
            [this] { action(QStringLiteral("Play"))->trigger(); });
}

QAction* TCommandSet::action(const QString& name) const {
    const auto it = m_index.constFind(name);
    return it == m_index.cend() ? nullptr : m_commands.at(*it).action;
}

void TCommandSet::setHandler(const QString& name, std::function<void()> handler) {
    const auto it = m_index.constFind(name);
    if (it == m_index.cend() || (m_commands.at(*it).spec->flags & BuiltIn)) {
        qWarning("TCommandSet: no command %s takes a handler", qPrintable(name));
        return;
    }
    m_commands[*it].handler = std::move(handler);
    applyEnabling();
}

bool TCommandSet::hasHandler(const QString& name) const {
    const auto it = m_index.constFind(name);
    return it != m_index.cend() && bool(m_commands.at(*it).handler);
}

void TCommandSet::run(Command& command) {
    // A save run pumps events; nothing else may start meanwhile.
    if (m_state.saving || !command.handler)
        return;
    m_fromMenu = m_menuEventPending;
    m_runAnswer.reset();
    m_trackButton->setChecked(false);
    emit commandStarted(command.action->objectName());
    const std::function<void()> handler = command.handler; // it may replace itself
    handler();
    m_fromMenu = false;
}

bool TCommandSet::confirmChange() {
    if (!m_showWarning || m_fromMenu)
        return true;
    // Asked at most once per command; a "No" stays a "No" for the rest of it.
    if (!m_runAnswer) {
        const ChangeWarning::Answer answer = m_warning->ask();
        m_runAnswer = answer.proceed;
        if (answer.dontShowAgain) {
            m_showWarning = false;
            emit showChangeWarningChanged(false);
        }
    }
    return *m_runAnswer;
}

bool TCommandSet::eventFilter(QObject* watched, QEvent* event) {
    // A menu activates its action while it handles the click or key, so a flag raised here
    // and dropped at the next turn of the event loop tells run() where the command came from.
    if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyPress) {
        m_menuEventPending = true;
        QTimer::singleShot(0, this, [this] { m_menuEventPending = false; });
    }
    return QObject::eventFilter(watched, event);
}

QMenu* TCommandSet::newMenu(const QString& title, QWidget* parent) {
    auto* menu = new QMenu(title, parent);
    menu->installEventFilter(this);
    return menu;
}

// ---- menus ----

QMenu* TCommandSet::menuAt(QMenuBar* bar, const QString& path) {
    if (QMenu* known = m_menus.value(path))
        return known;
    const int cut = path.lastIndexOf(QLatin1Char('/'));
    QMenu* menu = newMenu(path.mid(cut + 1), bar);
    menu->setObjectName(menuObjectName(path));
    if (cut < 0)
        bar->addMenu(menu);
    else
        menuAt(bar, path.left(cut))->addMenu(menu);
    m_menus.insert(path, menu);
    return menu;
}

void TCommandSet::buildMenus(QMenuBar* bar) {
    for (const Command& command : std::as_const(m_commands)) {
        const CommandSpec& spec = *command.spec;
        if (!*spec.menuPath)
            continue;
        QMenu* menu = menuAt(bar, QString::fromUtf8(spec.menuPath));
        if ((spec.flags & SeparatorBefore) && !menu->isEmpty())
            menu->addSeparator();
        if (QMenu* templates = m_templateMenus.value(command.action->objectName()))
            menu->addMenu(templates);
        else
            menu->addAction(command.action);
    }
    QAction* renameBarAction = action(QStringLiteral("RenameToolbarAct"));
    QMenu* toolBars = newMenu(QStringLiteral("Toolbars"), bar);
    toolBars->setObjectName(QStringLiteral("ToolbarsMenu"));
    connect(toolBars, &QMenu::aboutToShow, this, [this, toolBars] { fillToolBarsMenu(toolBars); });
    for (QMenu* menu : std::as_const(m_menus))
        if (menu->actions().contains(renameBarAction))
            menu->insertMenu(renameBarAction, toolBars);
    applyEnabling();
}

void TCommandSet::fillToolBarsMenu(QMenu* menu) {
    menu->clear();
    for (const QPointer<QToolBar>& bar : std::as_const(m_listedToolBars))
        if (bar && (bar != m_playerToolBar ||
                    action(QStringLiteral("InternalPlayerIntegratedInToolBar"))->isChecked()))
            menu->addAction(bar->toggleViewAction());
}

// ---- toolbars ----

QList<QToolBar*> TCommandSet::buildToolBars(QMainWindow* window) {
    QList<QToolBar*> bars;
    for (ToolBarId id : {ToolBarId::Basic, ToolBarId::EditTag, ToolBarId::EditFilename,
                         ToolBarId::View, ToolBarId::Player, ToolBarId::Tools}) {
        auto* bar = new QToolBar(toolBarTitle(id), window);
        bar->setObjectName(toolBarObjectName(id));
        for (const Command& command : std::as_const(m_commands)) {
            if (command.spec->toolBar != id)
                continue;
            const QString name = command.action->objectName();
            if (QMenu* templates = m_templateMenus.value(name)) {
                auto* button = new QToolButton(bar);
                button->setDefaultAction(command.action);
                button->setMenu(templates);
                button->setPopupMode(QToolButton::MenuButtonPopup);
                bar->addWidget(button);
            } else if (command.action == m_playButton->defaultAction()) {
                bar->addWidget(shown(m_playButton));
            } else {
                bar->addAction(command.action);
            }
            if (name == QLatin1String("SetGenre"))
                bar->addWidget(shown(m_genreDropDown));
        }
        if (id == ToolBarId::EditTag)
            bar->addWidget(shown(m_trackButton));
        window->addToolBar(bar);
        bars.append(bar);
        if (id == ToolBarId::EditFilename)
            window->addToolBarBreak();
        if (id != ToolBarId::Tools)
            m_listedToolBars.append(bar);
    }
    m_playerToolBar = bars.at(4);
    QAction* integrated = action(QStringLiteral("InternalPlayerIntegratedInToolBar"));
    m_playerToolBar->setVisible(integrated->isChecked());
    connect(integrated, &QAction::toggled, m_playerToolBar.data(), &QToolBar::setVisible);

    window->addToolBarBreak();
    window->addToolBar(m_renameBar);
    m_renameBar->setVisible(action(QStringLiteral("RenameToolbarAct"))->isChecked());
    bars.append(m_renameBar);
    applyEnabling();
    return bars;
}

// ---- context menu ----

QMenu* TCommandSet::contextMenu() {
    if (!m_contextMenu) {
        m_contextMenu = newMenu(QString(), m_window);
        m_contextMenu->setObjectName(QStringLiteral("FileListContextMenu"));
        connect(m_contextMenu, &QMenu::aboutToShow, this, &TCommandSet::aboutToShowContextMenu);
        buildContextMenu();
    }
    return m_contextMenu;
}

void TCommandSet::setExtendedContextMenu(bool extended) {
    m_extendedContext = extended;
    if (m_contextMenu)
        buildContextMenu();
}

void TCommandSet::buildContextMenu() {
    m_contextMenu->clear();
    QList<const Command*> entries;
    for (const Command& command : std::as_const(m_commands))
        if (command.spec->contextOrder > 0)
            entries.append(&command);
    std::stable_sort(entries.begin(), entries.end(), [](const Command* a, const Command* b) {
        return a->spec->contextOrder < b->spec->contextOrder;
    });
    int group = -1;
    for (const Command* command : std::as_const(entries)) {
        const int entryGroup = command->spec->contextOrder / 10;
        if (group >= 0 && entryGroup != group)
            m_contextMenu->addSeparator();
        group = entryGroup;
        QMenu* templates = m_templateMenus.value(command->action->objectName());
        if (templates && m_extendedContext)
            m_contextMenu->addMenu(templates);
        else
            m_contextMenu->addAction(command->action);
        if (command->action->objectName() == QLatin1String("ActAddSelectionToPlayList"))
            m_contextMenu->addMenu(m_favouritesMenu);
    }
}

QMenu* TCommandSet::templateMenu(const QString& command) const {
    return m_templateMenus.value(command);
}

// ---- modes ----

bool TCommandSet::commonMode() const {
    return m_common;
}

void TCommandSet::setCommonMode(bool common) {
    m_common = common;
    action(common ? QStringLiteral("ModeCommon") : QStringLiteral("ModeAdvanced"))
        ->setChecked(true);
}

int TCommandSet::displayedVersion() const {
    return m_version;
}

void TCommandSet::setDisplayedVersion(int version) {
    if (version < 1 || version > kMixed)
        return;
    m_version = version;
    action(kVersionCommands.at(version - 1))->setChecked(true);
}

void TCommandSet::switchTagMode(bool common) {
    if (common == m_common)
        return;
    m_common = common;
    // Common mode always shows the mixed view; advanced mode gets its own view back.
    const int version = common ? kMixed : m_versionBeforeCommon;
    if (common)
        m_versionBeforeCommon = displayedVersion();
    emit tagModeChanged(common);
    chooseVersion(version);
}

void TCommandSet::chooseVersion(int version) {
    // A radio item is already checked when its handler runs; the member knows the old view.
    const int before = m_version;
    setDisplayedVersion(version);
    if (version != before)
        emit displayedVersionChanged(version);
}

void TCommandSet::routeTo(const QStringList& commands) {
    for (const QString& name : commands)
        action(name)->trigger();
}

// ---- enabling ----

void TCommandSet::updateEnabling(const CommandState& state) {
    m_state = state;
    applyEnabling();
}

void TCommandSet::applyEnabling() {
    const int page = m_state.page == CommandState::Page::Folder ? FolderList : SearchList;
    for (const Command& command : std::as_const(m_commands)) {
        const CommandSpec& spec = *command.spec;
        const Availability rule = availability(spec.rule, m_state);
        const bool onThisPage = spec.scope == NoList || (spec.scope & page);
        command.action->setVisible(rule.visible);
        command.action->setEnabled(rule.enabled && onThisPage && command.handler &&
                                   !m_state.saving);
        updateToolTip(command);
    }
    // The routing buttons work only when what they route to can run.
    QAction* editButton = action(QStringLiteral("EditTagButton"));
    editButton->setEnabled(editButton->isEnabled() &&
                           routedCommandsEnabled({editTagCommandFor(m_state)}));
    QAction* removeButton = action(QStringLiteral("RemoveTagButton"));
    removeButton->setEnabled(removeButton->isEnabled() &&
                             routedCommandsEnabled(removeTagCommandsFor(m_state)));

    for (auto it = m_templateMenus.cbegin(); it != m_templateMenus.cend(); ++it) {
        const QAction* owner = action(it.key());
        it.value()->menuAction()->setEnabled(owner->isEnabled());
        it.value()->menuAction()->setVisible(owner->isVisible());
    }
    m_genreDropDown->setEnabled(!m_state.saving);
    m_trackButton->setEnabled(availability(EnableRule::TrackButton, m_state).enabled &&
                              !m_state.saving);
}

bool TCommandSet::routedCommandsEnabled(const QStringList& commands) const {
    return !commands.isEmpty() &&
           std::all_of(commands.cbegin(), commands.cend(),
                       [this](const QString& name) { return action(name)->isEnabled(); });
}

void TCommandSet::updateToolTip(const Command& command) {
    QString tip = withoutAccelerators(command.action->text());
    if (!command.action->shortcut().isEmpty())
        tip += QStringLiteral(" (%1)").arg(
            command.action->shortcut().toString(QKeySequence::NativeText));
    if (!command.handler)
        tip += QStringLiteral(" - not available yet");
    command.action->setToolTip(tip);
}

void TCommandSet::retranslate(const settings::TMultiLanguage& language) {
    for (const Command& command : std::as_const(m_commands)) {
        command.action->setText(captionFor(*command.spec, &language));
        if (QMenu* templates = m_templateMenus.value(command.action->objectName()))
            templates->setTitle(command.action->text());
    }
    applyEnabling();
}

} // namespace app
