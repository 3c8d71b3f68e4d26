#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QPushButton;

namespace settings {
class Settings;
class TRegistrySave;
} // namespace settings

namespace app {

/// The start assistant, "Getting started": one button per common first step. A button stays
/// disabled until the window that owns its feature hands in the command with setCommand().
/// Closing stores "CheckBoxShowStartAssistant" as the opposite of "Don't show this windows
/// again".
class TStartWizard : public QDialog {
    Q_OBJECT
public:
    enum Command { BrowseFolders, SearchFiles, FindDuplicates, ImportDataCD, CommandCount };

    TStartWizard(settings::Settings& settings, settings::TRegistrySave& store,
                 QWidget* parent = nullptr);

    /// Enables the button of `command`; pressing it runs `action` and closes the assistant.
    void setCommand(Command command, std::function<void()> action);

protected:
    void done(int result) override;

private:
    settings::Settings& m_settings;
    settings::TRegistrySave& m_store;
    std::array<QPushButton*, CommandCount> m_buttons{};
    std::array<std::function<void()>, CommandCount> m_actions;
    QCheckBox* m_dontShow = nullptr;
};

} // namespace app
