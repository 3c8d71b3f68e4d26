#include "commandwidgets.h"

#include "settings/multilanguage.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>

#include <algorithm>

namespace app {

namespace {

constexpr int kMaxNameBytes = 255;

/// A language text, or the English one while no language file provides it.
QString textOr(const char* key, const QString& english) {
    const QString text = settings::lookupText(QLatin1String(key));
    return text.isEmpty() ? english : text;
}

} // namespace

// ---- file-name filter ----

bool FileNameValidator::hasOnlyNameCharacters(const QString& text) {
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == u'/' || c.isNull() || c.category() == QChar::Other_Control;
    });
}

bool FileNameValidator::isAcceptableName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && hasOnlyNameCharacters(name) &&
           name.toUtf8().size() <= kMaxNameBytes;
}

QValidator::State FileNameValidator::validate(QString& input, int&) const {
    return hasOnlyNameCharacters(input) ? Acceptable : Invalid;
}

// ---- rename bar ----

TRenameBar::TRenameBar(QWidget* parent) : QToolBar(QStringLiteral("Rename"), parent) {
    setObjectName(QStringLiteral("RenameToolBar"));
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("RenameEdit"));
    m_field->setValidator(new FileNameValidator(m_field));
    m_field->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_field->installEventFilter(this);
    addWidget(m_field);
    connect(m_field, &QLineEdit::editingFinished, this, &TRenameBar::commit);
    // Queued, so that the name is applied before the focus moves back to the list.
    connect(m_field, &QLineEdit::returnPressed, this, &TRenameBar::finished, Qt::QueuedConnection);
}

void TRenameBar::showName(const QString& name) {
    m_startName = name;
    m_field->setText(name);
}

void TRenameBar::clearName() {
    showName(QString());
}

void TRenameBar::commit() {
    const QString name = m_field->text();
    if (m_startName.isEmpty() || name == m_startName)
        return;
    if (!FileNameValidator::isAcceptableName(name)) {
        // Never rename to nothing, to "." or "..": the row keeps its name.
        m_field->setText(m_startName);
        return;
    }
    m_startName = name;
    emit renameAccepted(name);
}

bool TRenameBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_field && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        // Escape discards the typing, so that losing the focus does not apply it.
        m_field->setText(m_startName);
        hide();
        emit finished();
        return true;
    }
    return QToolBar::eventFilter(watched, event);
}

// ---- genre drop-down ----

TGenreDropDown::TGenreDropDown(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("SetGenreDropDown"));
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(this, &QComboBox::activated, this,
            [this](int index) { emit genreChosen(itemData(index).toString()); });
    setGenres({});
}

void TGenreDropDown::setGenres(const QStringList& names) {
    const QString chosen = genre();
    QStringList sorted = names;
    sorted.removeAll(QString());
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    clear();
    addItem(textOr("None", QStringLiteral("None")), QString());
    for (const QString& name : sorted)
        addItem(name, name);
    setGenre(chosen);
}

QString TGenreDropDown::genre() const {
    return currentData().toString();
}

void TGenreDropDown::setGenre(const QString& name) {
    setCurrentIndex(std::max(0, findData(name)));
}

// ---- play button ----

TPlayButton::TPlayButton(QWidget* parent) : QToolButton(parent) {
    setObjectName(QStringLiteral("PlayButton"));
    setPopupMode(QToolButton::MenuButtonPopup);
    setMenu(new QMenu(this));
    // The entries are checked afresh at every opening, as the mode may be set from outside.
    connect(menu(), &QMenu::aboutToShow, this, &TPlayButton::checkChosen);
    setChoices({QStringLiteral("Enqueue && Play"), QStringLiteral("Play"),
                QStringLiteral("Enqueue"), QStringLiteral("External")});
}

void TPlayButton::setChoices(const QStringList& captions) {
    menu()->clear();
    auto* group = new QActionGroup(menu());
    for (int i = 0; i < captions.size(); ++i) {
        QAction* entry = menu()->addAction(captions.at(i));
        entry->setCheckable(true);
        group->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, i] {
            m_playMode = i;
            emit playModeChosen(i);
        });
    }
    checkChosen();
}

void TPlayButton::setPlayMode(int mode) {
    m_playMode = mode;
    checkChosen();
}

void TPlayButton::checkChosen() {
    const QList<QAction*> entries = menu()->actions();
    for (int i = 0; i < entries.size(); ++i)
        entries.at(i)->setChecked(i == m_playMode);
}

// ---- sticky track button ----

TTrackButton::TTrackButton(QWidget* parent) : QToolButton(parent) {
    setObjectName(QStringLiteral("TrackButton"));
    setCheckable(true);
    connect(this, &QToolButton::toggled, this, [this](bool on) {
        if (on)
            m_counter = 1;
        showCounter();
    });
    showCounter();
}

int TTrackButton::takeNextTrack() {
    const int track = m_counter++;
    showCounter();
    return track;
}

void TTrackButton::showCounter() {
    const QString format = textOr("TrackNumMode", QStringLiteral("Track: %1"));
    setText(format.arg(isChecked() ? QString::number(m_counter) : QStringLiteral("?")));
}

// ---- change warning ----

ChangeWarning::Answer TChangeWarningDialog::ask() {
    QMessageBox box(QMessageBox::Warning, textOr("Warning", QStringLiteral("Warning")),
                    QStringLiteral("You are about to make changes on all selected files.\n"
                                   "Do you want to perform this action now?"),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(QMessageBox::Yes);
    auto* dontShow = new QCheckBox(QStringLiteral("Don't show this reminder again"), &box);
    box.setCheckBox(dontShow);
    const bool yes = box.exec() == QMessageBox::Yes;
    return {yes, dontShow->isChecked()};
}

} // namespace app
