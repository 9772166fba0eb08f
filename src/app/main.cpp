#include "app/main_window.h"
#include "app/windows.h"
#include "entry/picture_picker.h"
#include "shell/directory_picker.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvano"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kelvano"));

    kelvano::Windows& windows = kelvano::windows();
    kelvano::TForm1 mainWindow;
    windows.Form1 = &mainWindow;
    kelvano::TForm2 directoryPicker;
    windows.Form2 = &directoryPicker;
    kelvano::TForm7 picturePicker;
    windows.Form7 = &picturePicker;

    mainWindow.show();
    const int result = QApplication::exec();
    windows = {};
    return result;
}
