#include "mainwindow.h"

namespace app {

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Varlo"));
    resize(1000, 700);
}

} // namespace app
