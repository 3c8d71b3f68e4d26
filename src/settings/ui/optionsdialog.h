#pragma once

#include "settings/optionsmodel.h"

#include <QDialog>
#include <QHash>

class QDialogButtonBox;
class QPushButton;
class QStackedWidget;
class QTreeWidget;

namespace settings {

class Settings;
class TMultiLanguage;
class TRegistrySave;

/// The options dialog: one page per settings page, one editor per setting of the options
/// table, named after the setting. It edits a copy of the settings; Apply and Ok hand the
/// copy to the Settings object and write it to the store, Cancel shows the settings in force
/// again. Nothing else reads its widgets.
class TSettings : public QDialog {
    Q_OBJECT
public:
    TSettings(Settings& settings, TRegistrySave& store, const TMultiLanguage& languages,
              QWidget* parent = nullptr);

    /// The values the editors show.
    OptionValues shownValues() const;
    /// Shows values in the editors (clamped into range).
    void showValues(const OptionValues& values);

    /// Puts the shown values in force and stores them.
    void Apply();
    /// Discards unapplied changes.
    void Cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildPage(Page page);
    QWidget* buildEditor(const OptionSpec& spec);
    /// The separator list with its edit box and "Add to list" / "Remove from list".
    QWidget* buildSeparatorEditor(const OptionSpec& spec);
    void markChanged();

    Settings& m_settings;
    TRegistrySave& m_store;
    QStringList m_languageNames;
    QTreeWidget* m_pages = nullptr;
    QStackedWidget* m_stack = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QHash<QObject*, QPushButton*> m_enterTargets; ///< edit boxes whose Enter presses a button
};

} // namespace settings
