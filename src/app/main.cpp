#include "app/main_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvano"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kelvano"));

    kelvano::TForm1 mainWindow;
    mainWindow.show();
    return QApplication::exec();
}
