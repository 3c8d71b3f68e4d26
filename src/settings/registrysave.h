#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

namespace settings {

/// Where and how a window was placed; a field without value was not stored.
struct WindowPlacement {
    std::optional<int> windowState; ///< 0 normal, 1 minimised, 2 maximised
    std::optional<int> monitor;     ///< index of the screen that holds the window
    std::optional<int> left;
    std::optional<int> top;
    std::optional<int> width;
    std::optional<int> height;

    bool operator==(const WindowPlacement&) const = default;
};

/// One column of a list as shown: its index in the column collection and its width.
struct ColumnState {
    int index = 0;
    int width = 0;

    bool operator==(const ColumnState&) const = default;
};

/// What a stored column layout asks of a list with a given number of columns.
struct ColumnLayout {
    QList<std::pair<int, int>> widths; ///< (column index, width), in the order read
    QList<int> order;                  ///< display order; empty when it is to stay as it is

    bool operator==(const ColumnLayout&) const = default;
};

/// The settings store: one INI file (the user's config folder, "Halvern/Varlo.ini") in
/// which the groups mirror the historic key layout below "Software\Halvern\Varlo":
/// "Settings" holds the named and typed values and window placements, "Settings/<window>"
/// the persisted controls of that window, "Toolbars" the toolbar layout.
///
/// Keys are case-sensitive, so every value name is spelt by one constant in its caller.
class TRegistrySave {
public:
    /// The store of the current user.
    TRegistrySave();
    /// A store on the given INI file (tests, portable set-ups).
    explicit TRegistrySave(const QString& filePath);
    ~TRegistrySave();

    /// The group of the named values, "Settings" unless changed. A historic key such as
    /// "Software\Halvern\Varlo\Settings" is accepted and mapped to its group.
    QString Path() const { return m_path; }
    void setPath(const QString& path);

    /// Persisted controls of a window: group Path()/window, value name = control name.
    bool writeControl(const QString& window, const QString& name, const QVariant& value);
    std::optional<QVariant> readControl(const QString& window, const QString& name) const;

    /// Typed values "B:", "D:", "I:", "S:" in the group Path(). Names of another form and
    /// values of the wrong type write nothing and return false.
    bool WriteValue(const QString& typedName, const QVariant& value);
    /// Reads a typed value into `value` when it exists; otherwise `value` keeps its default.
    bool ReadValue(const QString& typedName, QVariant& value) const;

    /// Removes a value of the group Path(); false when there was none.
    bool RemoveValue(const QString& name);

    /// Shorthand for "I:" values; absent (or not a number) is std::nullopt.
    bool WriteInt(const QString& name, int value);
    std::optional<int> ReadInt(const QString& name) const;

    bool SavePlacement(const QString& window, const WindowPlacement& placement);
    /// The stored placement of a window, moved so that the window is fully visible on the
    /// stored screen (or on the first screen when that one no longer exists). `current` gives
    /// the values for fields that were not stored.
    WindowPlacement RestorePlacement(const QString& window, const WindowPlacement& current,
                                     const QList<QRect>& screens) const;

    /// Writes pending changes to disk; false when the file could not be written.
    bool sync();

    /// The underlying settings object, e.g. for the toolbar layout in "Toolbars".
    QSettings& backend() { return *m_settings; }
    const QSettings& backend() const { return *m_settings; }

private:
    QString controlKey(const QString& window, const QString& name) const;
    QString valueKey(const QString& name) const;
    std::optional<QVariant> read(const QString& key) const;

    std::unique_ptr<QSettings> m_settings;
    QString m_path = QStringLiteral("Settings");
};

/// Moves a rectangle (keeping its size) so that it lies inside `screen`; a rectangle larger
/// than the screen is aligned with the screen's left and top edges.
QRect clampToScreen(const QRect& window, const QRect& screen);

/// The column layout text, "%d,%d;" per column in display order: "0,200;2,80;1,120;".
QString formatColumnLayout(const QList<ColumnState>& displayOrder);
/// Reads a column layout text for a list of `columnCount` columns. Widths are taken up to
/// the first bad entry; the display order only when every column was named exactly once.
ColumnLayout parseColumnLayout(const QString& text, int columnCount);

/// Memo texts are stored on one line, line breaks as "~~".
QString encodeMemoText(const QString& text);
QString decodeMemoText(const QString& stored);

/// Check lists are stored as one "1" or "0" per item; items beyond the text are unchecked.
QString encodeCheckStates(const QList<bool>& checked);
QList<bool> decodeCheckStates(const QString& stored, int itemCount);

} // namespace settings
