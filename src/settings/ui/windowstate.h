#pragma once

#include "settings/registrysave.h"

class QHeaderView;
class QMainWindow;
class QWidget;

namespace settings {

/// The group of the store that holds the toolbar and dock layouts of the windows.
inline constexpr char kToolbarsGroup[] = "Toolbars";

/// Saves a main window's toolbar and dock layout (group "Toolbars", value named after the
/// window's object name), the sizes of its docked panels (controls "<panel>.Width" or
/// "<panel>.Height" of the window) and its placement. Toolbars and panels need object names.
void saveWindowState(TRegistrySave& store, const QMainWindow& window);
/// Restores what saveWindowState stored; what is missing stays as it is.
void restoreWindowState(const TRegistrySave& store, QMainWindow& window);

/// A window's placement as the store keeps it (a maximised window gives its normal frame).
WindowPlacement placementOf(const QWidget& window);
void savePlacement(TRegistrySave& store, const QWidget& window);
/// Puts the window where it was, moved fully onto the screen it was on (or the first screen
/// when that one is gone). A window stored minimised comes back normal: a program that
/// starts without any visible window looks as if it had not started.
void restorePlacement(const TRegistrySave& store, QWidget& window);

/// Applies a column layout read by parseColumnLayout: widths of the named columns (0 hides
/// a column), and the display order when the layout named every column.
void applyColumnLayout(QHeaderView* header, const ColumnLayout& layout);
/// The header's layout: every column in display order with its width (0 when hidden).
ColumnLayout columnLayoutOf(const QHeaderView* header);
/// The same in the stored text form, "0,200;2,80;1,0;".
QString columnLayoutText(const QHeaderView* header);
void applyColumnLayoutText(QHeaderView* header, const QString& text);

} // namespace settings
