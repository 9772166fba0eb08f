#include "app/main_window.h"
#include "app/windows.h"
#include "entry/link_list.h"
#include "entry/table_data_editor.h"
#include "entry/table_data_reference.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvano"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kelvano"));

    // The main window first, then the secondary windows in number order, all hidden.
    kelvano::Windows& all = kelvano::windows();
    kelvano::TForm1 mainWindow;
    all.Form1 = &mainWindow;
    kelvano::TForm5 tableDataEditor;
    all.Form5 = &tableDataEditor;
    kelvano::TForm6 tableDataReference;
    all.Form6 = &tableDataReference;
    kelvano::TForm8 linkList;
    all.Form8 = &linkList;

    mainWindow.show();
    const int exitCode = QApplication::exec();
    all = {};
    return exitCode;
}
