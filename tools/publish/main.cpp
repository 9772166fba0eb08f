#include "publish_command.h"

#include <QCoreApplication>
#include <csignal>

int main(int argc, char* argv[]) {
    // A write past the file-size limit then fails with EFBIG and is reported, instead of ending the
    // run without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication application(argc, argv);
    // The same name as the program, so that both find the same application data folder.
    QCoreApplication::setApplicationName(QStringLiteral("Kelvano"));
    return kelvano::runPublishCommand(QCoreApplication::arguments().mid(1),
                                      QCoreApplication::applicationDirPath(), stdout, stderr);
}
