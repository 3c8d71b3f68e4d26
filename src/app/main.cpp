#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Halvern"));
    QApplication::setApplicationName(QStringLiteral("Varlo"));
    app::TFormMain window;
    window.show();
    return application.exec();
}
