#include "windowstate.h"

#include <QDockWidget>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QScreen>

namespace settings {

namespace {

QString layoutKey(const QWidget& window) {
    return QLatin1String(kToolbarsGroup) + QLatin1Char('/') + window.objectName();
}

bool dockedSideways(const QMainWindow& window, const QDockWidget* dock) {
    const Qt::DockWidgetArea area = window.dockWidgetArea(const_cast<QDockWidget*>(dock));
    return area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
}

/// The value name of a docked panel's size: its width when docked left or right, its height
/// when docked at the top or bottom.
QString sizeName(const QMainWindow& window, const QDockWidget* dock) {
    return dock->objectName() + QLatin1String(dockedSideways(window, dock) ? ".Width" : ".Height");
}

QList<QDockWidget*> dockedPanels(const QMainWindow& window) {
    QList<QDockWidget*> docks;
    for (QDockWidget* dock : window.findChildren<QDockWidget*>())
        if (!dock->objectName().isEmpty() && !dock->isFloating() &&
            window.dockWidgetArea(dock) != Qt::NoDockWidgetArea)
            docks << dock;
    return docks;
}

QList<QRect> availableScreens() {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    return screens;
}

} // namespace

void saveWindowState(TRegistrySave& store, const QMainWindow& window) {
    store.backend().setValue(layoutKey(window), window.saveState());
    for (const QDockWidget* dock : dockedPanels(window)) {
        const int size = dockedSideways(window, dock) ? dock->width() : dock->height();
        store.writeControl(window.objectName(), sizeName(window, dock), size);
    }
    savePlacement(store, window);
}

void restoreWindowState(const TRegistrySave& store, QMainWindow& window) {
    restorePlacement(store, window);
    const QByteArray layout = store.backend().value(layoutKey(window)).toByteArray();
    if (!layout.isEmpty())
        window.restoreState(layout);
    for (QDockWidget* dock : dockedPanels(window)) {
        bool ok = false;
        const auto stored = store.readControl(window.objectName(), sizeName(window, dock));
        const int size = stored ? stored->toInt(&ok) : 0;
        if (ok && size > 0)
            window.resizeDocks({dock}, {size},
                               dockedSideways(window, dock) ? Qt::Horizontal : Qt::Vertical);
    }
}

WindowPlacement placementOf(const QWidget& window) {
    const QRect frame =
        window.isMaximized() || window.isMinimized() ? window.normalGeometry() : window.geometry();
    WindowPlacement placement;
    placement.windowState = window.isMaximized() ? 2 : window.isMinimized() ? 1 : 0;
    const qsizetype screen = QGuiApplication::screens().indexOf(window.screen());
    if (screen >= 0)
        placement.monitor = int(screen);
    placement.left = frame.x();
    placement.top = frame.y();
    placement.width = frame.width();
    placement.height = frame.height();
    return placement;
}

void savePlacement(TRegistrySave& store, const QWidget& window) {
    store.SavePlacement(window.objectName(), placementOf(window));
}

void restorePlacement(const TRegistrySave& store, QWidget& window) {
    const WindowPlacement current = placementOf(window);
    const WindowPlacement placement =
        store.RestorePlacement(window.objectName(), current, availableScreens());
    if (placement == current)
        return;
    window.setGeometry(placement.left.value_or(0), placement.top.value_or(0),
                       placement.width.value_or(window.width()),
                       placement.height.value_or(window.height()));
    const Qt::WindowStates others =
        window.windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized);
    window.setWindowState(placement.windowState == 2 ? others | Qt::WindowMaximized : others);
}

void applyColumnLayout(QHeaderView* header, const ColumnLayout& layout) {
    for (const auto& [column, width] : layout.widths) {
        if (column < 0 || column >= header->count())
            break;
        header->setSectionHidden(column, width <= 0);
        if (width > 0)
            header->resizeSection(column, width);
    }
    if (layout.order.size() != header->count())
        return;
    for (int position = 0; position < layout.order.size(); ++position)
        header->moveSection(header->visualIndex(layout.order[position]), position);
}

ColumnLayout columnLayoutOf(const QHeaderView* header) {
    ColumnLayout layout;
    for (int position = 0; position < header->count(); ++position) {
        const int column = header->logicalIndex(position);
        const int width = header->isSectionHidden(column) ? 0 : header->sectionSize(column);
        layout.widths.append({column, width});
        layout.order.append(column);
    }
    return layout;
}

QString columnLayoutText(const QHeaderView* header) {
    QList<ColumnState> columns;
    for (const auto& [column, width] : columnLayoutOf(header).widths)
        columns.append({column, width});
    return formatColumnLayout(columns);
}

void applyColumnLayoutText(QHeaderView* header, const QString& text) {
    applyColumnLayout(header, parseColumnLayout(text, header->count()));
}

} // namespace settings
