#include "app/window_links.h"

#include "app/main_window.h"
#include "app/windows.h"
#include "entry/picture_picker.h"
#include "entry/table_data_editor.h"
#include "shell/directory_picker.h"
#include "store/shift_jis.h"

#include <QLineEdit>

namespace kelvano {

void linkWindows(const Windows& windows) {
    if (windows.Form1 && windows.Form2) {
        QObject::connect(windows.Form2, &TForm2::folderPicked, windows.Form1, &TForm1::FolderPicked);
    }
    if (TForm5* editor = windows.Form5; editor && windows.Form7) {
        TForm7* picker = windows.Form7;
        // The picker opens on the program folder with the cell's current picture or background in
        // its reference box.
        QObject::connect(editor, &TForm5::picturePickerRequested, picker, [editor, picker](int mode) {
            picker->OpenFor(mode, editor->settings(), editor->programFolder());
            picker->Edit1->setText(ShiftJis::decode(editor->currentPicturePath(mode)));
        });
        QObject::connect(picker, &TForm7::pictureChosen, editor, &TForm5::AttachPicture);
    }
}

} // namespace kelvano
