#pragma once

#include <QWidget>

class QPropertyAnimation;

namespace app {

/// The start window: a borderless 300 x 300 square with "Starting ...", centred on the
/// screen and kept on top. It fades in when shown and fades out before it closes; where the
/// window system cannot make windows translucent it simply shows and hides.
class TSplashScreen : public QWidget {
    Q_OBJECT
public:
    explicit TSplashScreen(QWidget* parent = nullptr);

    /// Shows the window and fades it in.
    void showFading();
    /// Fades the window out and then closes it; emits closed() once it is gone
    /// (at once when it was not visible).
    void closeFading();

signals:
    void closed();

private:
    void fadeTo(qreal opacity);

    QPropertyAnimation* m_fade = nullptr;
    bool m_closing = false;
};

} // namespace app
