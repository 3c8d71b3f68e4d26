#pragma once

#include "settings/optionsmodel.h"

#include <QDialog>
#include <QHash>
#include <QSet>

class QDialogButtonBox;
class QLabel;
class QListWidget;
class QProgressBar;
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
/// again. Nothing else reads its widgets: the rest of the program listens to Settings and to
/// the signals below.
class TSettings : public QDialog {
    Q_OBJECT
public:
    /// `languages` is the program's translator: Apply switches it to the chosen language.
    TSettings(Settings& settings, TRegistrySave& store, TMultiLanguage& languages,
              QWidget* parent = nullptr);

    /// The values the editors show.
    OptionValues shownValues() const;
    /// Shows values in the editors (clamped into range).
    void showValues(const OptionValues& values);

    /// Puts the shown values in force and stores them.
    void Apply();
    /// Discards unapplied changes.
    void Cancel();

    /// While a cache command runs, the buttons and the other pages are disabled.
    void setCacheBusy(bool busy);
    /// The cache page's status text and progress (`total` 0: no progress to show).
    void showCacheProgress(const QString& status, int done, int total);

signals:
    /// The cache page's commands; the main window runs them and reports back through
    /// setCacheBusy() and showCacheProgress().
    void buildCacheRequested();
    void synchronizeCacheRequested();
    void cleanCacheRequested();
    /// Apply switched the translator to another language; open windows translate themselves.
    void languageChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildPage(Page page);
    /// What a page shows besides its settings: the genre list, the cache commands ...
    void addPageExtras(Page page, QWidget* pageWidget);
    QListWidget* buildGenreList();
    QWidget* buildCacheCommands();
    QWidget* buildAllNoneButtons(const char* listName);
    QWidget* buildEditor(const OptionSpec& spec);
    /// The separator list with its edit box and "Add to list" / "Remove from list".
    QWidget* buildSeparatorEditor(const OptionSpec& spec);
    void markChanged();
    void showShortGenreList(const QSet<int>& genres);
    QSet<int> checkedGenres() const;
    void applyLanguage();
    /// The padding values count only while zero padding is on.
    void enablePaddingValues();
    void applyBrowseWith();

    Settings& m_settings;
    TRegistrySave& m_store;
    TMultiLanguage& m_languages;
    QStringList m_languageNames;
    QListWidget* m_genres = nullptr;
    QLabel* m_cacheStatus = nullptr;
    QProgressBar* m_cacheProgress = nullptr;
    QLabel* m_shellStatus = nullptr;
    QTreeWidget* m_pages = nullptr;
    QStackedWidget* m_stack = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QHash<QObject*, QPushButton*> m_enterTargets; ///< edit boxes whose Enter presses a button
};

} // namespace settings
