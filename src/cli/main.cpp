#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QTextStream(stderr) << "usage: varlo-cli COMMAND ...\n";
    return 2;
}
