#include "rowicons.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace app {

namespace {

struct Badge {
    const char* label;
    QColor colour;
};

/// Badges by icon index; an odd index is the changed variant of the one before it.
Badge badgeFor(int index) {
    switch (index & ~1) {
    case 0:
        return {"W", QColor(0x2e, 0x7d, 0x32)};
    case 2:
        return {"O", QColor(0x6a, 0x1b, 0x9a)};
    case 4:
        return {"1", QColor(0x15, 0x65, 0xc0)};
    case 6:
        return {"2", QColor(0x00, 0x83, 0x8f)};
    case 8:
        return {"12", QColor(0x28, 0x35, 0x93)};
    case 10:
        return {"~", QColor(0x6d, 0x4c, 0x41)};
    case 12:
        return {"i", QColor(0x75, 0x75, 0x75)};
    default:
        return {"", QColor(0xbd, 0xbd, 0xbd)};
    }
}

QPixmap drawBadge(int index, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const Badge badge = badgeFor(index);
    const QRectF body(0.5, 1.5, size - 1.0, size - 3.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(badge.colour);
    painter.drawRoundedRect(body, size / 5.0, size / 5.0);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(qstrlen(badge.label) > 1 ? size / 2 : size * 2 / 3);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(body, Qt::AlignCenter, QString::fromLatin1(badge.label));
    if (index % 2 == 1 && index != 13) {
        painter.setBrush(QColor(0xe5, 0x39, 0x35));
        painter.setPen(QPen(Qt::white, size / 16.0));
        const qreal mark = size * 0.45;
        painter.drawEllipse(QRectF(size - mark, size - mark, mark, mark));
    }
    return pixmap;
}

} // namespace

QIcon rowIcon(int index) {
    static QHash<int, QIcon> cache;
    auto found = cache.constFind(index);
    if (found != cache.constEnd())
        return *found;
    QIcon icon;
    for (int size : {16, 24, 32})
        icon.addPixmap(drawBadge(index, size));
    cache.insert(index, icon);
    return icon;
}

} // namespace app
