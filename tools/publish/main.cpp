#include "publish_command.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    // The same name as the program, so that both find the same application data folder.
    QCoreApplication::setApplicationName(QStringLiteral("Kelvano"));
    return kelvano::runPublishCommand(QCoreApplication::arguments().mid(1),
                                      QCoreApplication::applicationDirPath(), stdout, stderr);
}
