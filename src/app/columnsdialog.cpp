#include "columnsdialog.h"

#include "settings/ui/windowstate.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace app {

namespace {

/// Wide enough for any column a screen can show, small enough to keep the field narrow.
constexpr int kMaxWidth = 9999;
/// How many entries the list shows before it scrolls.
constexpr int kVisibleRows = 20;

QPushButton* makeButton(const char* objectName, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QLatin1String(objectName));
    button->setAutoDefault(false); // Enter belongs to OK
    return button;
}

} // namespace

TFormColumns::TFormColumns(QHeaderView* header, QWidget* parent)
    : QDialog(parent), m_header(header), m_entries(entriesOf(header)) {
    setObjectName(QStringLiteral("FormColumns"));
    setWindowTitle(QStringLiteral("Column Settings"));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstColumns"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_width = new QSpinBox(this);
    m_width->setObjectName(QStringLiteral("edtWidth"));
    m_width->setRange(0, kMaxWidth);
    m_width->setSuffix(QStringLiteral(" px"));
    m_width->setKeyboardTracking(false); // store the number once it is typed, not each digit
    auto* widthRow = new QFormLayout;
    widthRow->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    widthRow->addRow(QStringLiteral("&Width:"), m_width);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_list, 0, 0);
    grid->addWidget(buildButtonColumn(), 0, 1);
    grid->addLayout(widthRow, 1, 0);
    grid->addWidget(buttons, 2, 0, 1, 2);

    fillList();
    fitListHeight(kVisibleRows);
    connect(m_list, &QListWidget::currentRowChanged, this, &TFormColumns::updateControls);
    connect(m_list, &QListWidget::itemChanged, this, &TFormColumns::onItemChanged);
    connect(m_width, &QSpinBox::valueChanged, this, &TFormColumns::storeWidth);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormColumns::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFormColumns::reject);
    selectRow(0);
    updateControls();
}

QWidget* TFormColumns::buildButtonColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    m_moveUp = makeButton("btnMoveUp", "Move &Up", column);
    m_moveDown = makeButton("btnMoveDown", "Move &Down", column);
    m_show = makeButton("btnShow", "&Show", column);
    m_hide = makeButton("btnHide", "&Hide", column);
    for (QPushButton* button : {m_moveUp, m_moveDown, m_show, m_hide})
        layout->addWidget(button);
    layout->addStretch();
    connect(m_moveUp, &QPushButton::clicked, this, &TFormColumns::moveUp);
    connect(m_moveDown, &QPushButton::clicked, this, &TFormColumns::moveDown);
    connect(m_show, &QPushButton::clicked, this, &TFormColumns::showEntry);
    connect(m_hide, &QPushButton::clicked, this, &TFormColumns::hideEntry);
    return column;
}

QList<ColumnEntry> TFormColumns::entriesOf(const QHeaderView* header) {
    QList<ColumnEntry> entries;
    const QAbstractItemModel* model = header->model();
    for (const auto& [column, width] : settings::columnLayoutOf(header).widths) {
        const QString caption =
            model ? model->headerData(column, header->orientation()).toString() : QString();
        entries.append({caption, column, width, width > 0});
    }
    return entries;
}

QString TFormColumns::layoutTextOf(const QList<ColumnEntry>& entries) {
    QString text;
    for (const ColumnEntry& entry : entries)
        text += QStringLiteral("%1,%2;").arg(entry.id).arg(entry.checked ? entry.width : 0);
    return text;
}

void TFormColumns::fillList() {
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    for (const ColumnEntry& entry : m_entries) {
        auto* item = new QListWidgetItem(entry.caption, m_list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.checked ? Qt::Checked : Qt::Unchecked);
    }
}

/// Lists are short (some thirty columns), so show most of them at once.
void TFormColumns::fitListHeight(int rows) {
    const int rowHeight = m_list->count() > 0 ? m_list->sizeHintForRow(0) : 0;
    const int shown = std::min(rows, int(m_list->count()));
    m_list->setMinimumHeight(rowHeight * shown + 2 * m_list->frameWidth());
}

int TFormColumns::currentRow() const {
    return m_list->currentRow();
}

void TFormColumns::selectRow(int row) {
    if (row >= 0 && row < m_list->count())
        m_list->setCurrentRow(row);
}

void TFormColumns::moveUp() {
    moveCurrentBy(-1);
}

void TFormColumns::moveDown() {
    moveCurrentBy(1);
}

/// Swaps the selected entry with its neighbour; the selection follows the entry so that
/// repeated clicks keep moving it.
void TFormColumns::moveCurrentBy(int step) {
    const int row = currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= m_entries.size())
        return;
    m_entries.swapItemsAt(row, target);
    const QSignalBlocker blocker(m_list);
    QListWidgetItem* item = m_list->takeItem(row);
    m_list->insertItem(target, item);
    m_list->setCurrentRow(target);
    updateControls();
}

void TFormColumns::showEntry() {
    setChecked(currentRow(), true);
}

void TFormColumns::hideEntry() {
    setChecked(currentRow(), false);
}

/// Showing gives a column without a width a usable one; hiding forgets the width.
void TFormColumns::setChecked(int row, bool checked) {
    if (row < 0 || row >= m_entries.size())
        return;
    ColumnEntry& entry = m_entries[row];
    entry.checked = checked;
    if (!checked)
        entry.width = 0;
    else if (entry.width <= 0)
        entry.width = kShownWidth;
    {
        const QSignalBlocker blocker(m_list);
        m_list->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    updateControls();
}

/// A shown column typed down to width 0 is hidden, so that the check marks always say
/// which columns the list will show.
void TFormColumns::storeWidth(int width) {
    const int row = currentRow();
    if (row < 0)
        return;
    m_entries[row].width = width;
    if (width == 0 && m_entries[row].checked)
        setChecked(row, false);
}

void TFormColumns::onItemChanged(QListWidgetItem* item) {
    const int row = m_list->row(item);
    if (row >= 0 && (item->checkState() == Qt::Checked) != m_entries[row].checked)
        setChecked(row, item->checkState() == Qt::Checked);
}

void TFormColumns::updateControls() {
    const int row = currentRow();
    const bool selected = row >= 0 && row < m_entries.size();
    const bool checked = selected && m_entries[row].checked;
    {
        const QSignalBlocker blocker(m_width);
        m_width->setValue(selected ? m_entries[row].width : 0);
    }
    m_width->setEnabled(selected);
    m_moveUp->setEnabled(selected && row > 0);
    m_moveDown->setEnabled(selected && row < m_entries.size() - 1);
    m_hide->setEnabled(checked);
    m_show->setEnabled(selected && !checked);
    // A list without any shown column would look empty and broken.
    m_ok->setEnabled(hasShownColumn());
}

bool TFormColumns::hasShownColumn() const {
    return std::any_of(m_entries.cbegin(), m_entries.cend(),
                       [](const ColumnEntry& entry) { return entry.checked; });
}

void TFormColumns::accept() {
    if (!hasShownColumn())
        return;
    settings::applyColumnLayoutText(m_header, layoutTextOf(m_entries));
    QDialog::accept();
}

} // namespace app
