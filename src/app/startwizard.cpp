#include "startwizard.h"

#include "settings/optionnames.h"
#include "settings/registrysave.h"
#include "settings/settings.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

namespace {

/// Button captions, in Command order.
const std::array<const char*, TStartWizard::CommandCount> kCaptions = {
    "Browse folders", "Search for files", "Find duplicates", "Import Data CD"};

} // namespace

TStartWizard::TStartWizard(settings::Settings& settings, settings::TRegistrySave& store,
                           QWidget* parent)
    : QDialog(parent), m_settings(settings), m_store(store) {
    setObjectName(QStringLiteral("StartWizard"));
    setWindowTitle(QStringLiteral("Getting started"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("What would you like to do first?"), this));
    for (int command = 0; command < CommandCount; ++command) {
        auto* button = new QPushButton(QLatin1String(kCaptions[command]), this);
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, [this, command] {
            accept();
            m_actions[command]();
        });
        layout->addWidget(button);
        m_buttons[command] = button;
    }
    m_dontShow = new QCheckBox(QStringLiteral("Don't show this windows again"), this);
    m_dontShow->setChecked(!m_settings.showStartAssistant());
    layout->addWidget(m_dontShow);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(close);
}

void TStartWizard::setCommand(Command command, std::function<void()> action) {
    m_actions[command] = std::move(action);
    m_buttons[command]->setEnabled(bool(m_actions[command]));
}

void TStartWizard::done(int result) {
    m_settings.setValue(QLatin1String(settings::names::CheckBoxShowStartAssistant),
                        !m_dontShow->isChecked());
    m_settings.save(m_store);
    m_store.sync();
    QDialog::done(result);
}

} // namespace app
