#include "splashscreen.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPropertyAnimation>
#include <QScreen>
#include <QVBoxLayout>

namespace app {

namespace {

constexpr int kSide = 300;
constexpr int kFadeMs = 260;

} // namespace

TSplashScreen::TSplashScreen(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_fade(new QPropertyAnimation(this, "windowOpacity", this)) {
    setObjectName(QStringLiteral("SplashScreen"));
    setFixedSize(kSide, kSide);
    auto* label = new QLabel(QStringLiteral("Starting ..."), this);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    label->setFont(font);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    setAutoFillBackground(true);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_fade->setDuration(kFadeMs);
    connect(m_fade, &QPropertyAnimation::finished, this, [this] {
        if (m_closing) {
            close();
            emit closed();
        }
    });
}

void TSplashScreen::showFading() {
    setWindowOpacity(0.0);
    show();
    fadeTo(1.0);
}

void TSplashScreen::closeFading() {
    if (m_closing)
        return;
    m_closing = true;
    if (isVisible()) {
        fadeTo(0.0);
        return;
    }
    emit closed();
}

void TSplashScreen::fadeTo(qreal opacity) {
    m_fade->stop();
    m_fade->setStartValue(windowOpacity());
    m_fade->setEndValue(opacity);
    m_fade->start();
}

} // namespace app
