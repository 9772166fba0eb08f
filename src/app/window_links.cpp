#include "app/window_links.h"

#include "core/store/shift_jis.h"
#include "gui/base/user_dialogs.h"
#include "gui/dialogs/cell_colour_dialog.h"
#include "gui/dialogs/table_settings_dialog.h"
#include "gui/entry/link_list.h"
#include "gui/entry/picture_picker.h"
#include "gui/entry/table_data_editor.h"
#include "gui/entry/table_data_reference.h"
#include "gui/main/main_window.h"
#include "gui/shell/directory_picker.h"

namespace kelvano {
namespace {

/// Gives `target` the `peer` through `setter` for as long as the peer lives.
template <typename Target, typename Setter, typename Peer>
void lend(Target* target, Setter setter, Peer* peer) {
    (target->*setter)(peer);
    QObject::connect(peer, &QObject::destroyed, target, [target, setter] { (target->*setter)(nullptr); });
}

/// The main window and one formatting dialog: the dialog shows, resets and gives back the definition
/// the main window edits, and stores it through the main window.
template <typename Dialog> void linkDefinitionDialog(TForm1* mainWindow, Dialog* dialog) {
    mainWindow->addDefinitionPage(dialog);
    QObject::connect(dialog, &QObject::destroyed, mainWindow,
                     [mainWindow, dialog] { mainWindow->removeDefinitionPage(dialog); });
    lend(dialog, &Dialog::setDefinitionHost, mainWindow);
}

void linkMainWindow(const Windows& windows) {
    TForm1* const mainWindow = windows.Form1;
    if (TForm2* picker = windows.Form2) {
        QObject::connect(mainWindow, &TForm1::folderPickerRequested, picker, &TForm2::Open);
        QObject::connect(picker, &TForm2::folderPicked, mainWindow, &TForm1::FolderPicked);
    }
    if (TForm3* tableSettings = windows.Form3) {
        linkDefinitionDialog(mainWindow, tableSettings);
        QObject::connect(mainWindow, &TForm1::tableSettingsRequested, tableSettings, [tableSettings] {
            tableSettings->show();
            tableSettings->raise();
            tableSettings->activateWindow();
        });
    }
    if (TForm4* cellColours = windows.Form4) {
        linkDefinitionDialog(mainWindow, cellColours);
        QObject::connect(mainWindow, &TForm1::cellSettingsRequested, cellColours, &TForm4::showFromStart);
    }
    if (TForm5* editor = windows.Form5) {
        // Closing the main window asks the editor first about rows not yet saved.
        lend(mainWindow, &TForm1::setEditedTable, editor);
        QObject::connect(mainWindow, &TForm1::tableOpenRequested, editor, &TForm5::OpenTable);
        QObject::connect(editor, &TForm5::columnCountStored, mainWindow, &TForm1::followColumnCount);
    }
    if (TForm7* picker = windows.Form7) {
        QObject::connect(mainWindow, &TForm1::pictureFolderChosen, picker, &TForm7::SelectFolder);
    }
}

void linkEditor(const Windows& windows) {
    TForm5* const editor = windows.Form5;
    if (TForm6* reference = windows.Form6) {
        QObject::connect(editor, &TForm5::referenceRequested, reference,
                         [editor, reference](const TableDataFiles& files, QPoint topLeft) {
                             UserDialogs::guarded(editor, [&] { reference->OpenAt(files, topLeft); });
                         });
        QObject::connect(reference, &TForm6::textChosen, editor, &TForm5::SetCurrentCellText);
    }
    if (TForm7* picker = windows.Form7) {
        // The picker opens on the program folder with the cell's current picture or background in
        // its reference box.
        QObject::connect(editor, &TForm5::picturePickerRequested, picker, [editor, picker](PictureUse use) {
            picker->OpenFor(use, editor->settings(), editor->programFolder());
            picker->showReferencePath(ShiftJis::decode(editor->currentPicturePath(use)));
        });
        QObject::connect(picker, &TForm7::pictureChosen, editor, &TForm5::AttachPicture);
    }
    if (TForm8* linkList = windows.Form8) {
        // While the editor is there the list follows the table it holds.
        lend(linkList, &TForm8::setEditedTable, editor);
        QObject::connect(editor, &TForm5::linkListRequested, linkList, &TForm8::Open);
        QObject::connect(linkList, &TForm8::linkChosen, editor, &TForm5::SetCurrentCellLink);
    }
}

} // namespace

void linkWindows(const Windows& windows) {
    if (windows.Form1 != nullptr) {
        linkMainWindow(windows);
    }
    if (windows.Form5 != nullptr) {
        linkEditor(windows);
    }
}

} // namespace kelvano
