#include "app/main_window.h"
#include "app/window_links.h"
#include "app/windows.h"
#include "entry/link_list.h"
#include "entry/picture_picker.h"
#include "entry/table_data_editor.h"
#include "entry/table_data_reference.h"
#include "shell/directory_picker.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvano"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kelvano"));

    // The main window first, then the secondary windows in number order, all hidden.
    kelvano::Windows& all = kelvano::windows();
    kelvano::TForm1 mainWindow;
    all.Form1 = &mainWindow;
    kelvano::TForm2 directoryPicker;
    all.Form2 = &directoryPicker;
    kelvano::TForm5 tableDataEditor;
    all.Form5 = &tableDataEditor;
    kelvano::TForm6 tableDataReference;
    all.Form6 = &tableDataReference;
    kelvano::TForm7 picturePicker;
    all.Form7 = &picturePicker;
    kelvano::TForm8 linkList;
    all.Form8 = &linkList;
    kelvano::linkWindows(all);

    mainWindow.show();
    const int exitCode = QApplication::exec();
    all = {};
    return exitCode;
}
