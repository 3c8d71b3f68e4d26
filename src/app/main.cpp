#include "app/startup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication::setOrganizationName(QStringLiteral("Halvern"));
    QApplication::setApplicationName(QStringLiteral("Varlo"));
    QApplication application(argc, argv);
    app::TStartup startup(QApplication::arguments().mid(1));
    return startup.run();
}
