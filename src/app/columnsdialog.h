#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QHeaderView;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSpinBox;

namespace app {

/// One column as the chooser lists it.
struct ColumnEntry {
    QString caption;
    int id = 0;    ///< the column's logical index, which layout texts name
    int width = 0; ///< the width it gets when shown
    bool checked = false;

    bool operator==(const ColumnEntry&) const = default;
};

/// "Column Settings": lets the user choose which columns of a list are shown, in which order
/// and how wide. Works on a copy of the header's layout; only OK applies it, as a layout text
/// of the same form the window state stores, so Cancel leaves the list untouched.
class TFormColumns : public QDialog {
    Q_OBJECT
public:
    /// Width a column gets when it is shown without a width of its own.
    static constexpr int kShownWidth = 60;

    explicit TFormColumns(QHeaderView* header, QWidget* parent = nullptr);

    /// The header's columns in on-screen order, captioned from the model's header texts;
    /// checked when the column is shown with a width above 0.
    static QList<ColumnEntry> entriesOf(const QHeaderView* header);
    /// The layout text of the entries: "id,width;" each, in list order, width 0 when unchecked.
    static QString layoutTextOf(const QList<ColumnEntry>& entries);

    /// The entries as the user has arranged them so far.
    const QList<ColumnEntry>& entries() const { return m_entries; }

public slots:
    void moveUp();
    void moveDown();
    void showEntry();
    void hideEntry();
    /// Applies the arranged layout to the header and closes the dialog.
    void accept() override;

private:
    QWidget* buildButtonColumn();
    void fillList();
    void fitListHeight(int rows);
    int currentRow() const;
    void selectRow(int row);
    void moveCurrentBy(int step);
    void setChecked(int row, bool checked);
    void storeWidth(int width);
    void onItemChanged(QListWidgetItem* item);
    void updateControls();
    bool hasShownColumn() const;

    QHeaderView* m_header;
    QList<ColumnEntry> m_entries;
    QListWidget* m_list = nullptr;
    QSpinBox* m_width = nullptr;
    QPushButton* m_moveUp = nullptr;
    QPushButton* m_moveDown = nullptr;
    QPushButton* m_show = nullptr;
    QPushButton* m_hide = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace app
