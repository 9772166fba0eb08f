#include "dialogs/definition_saving.h"

#include "app/main_window.h"
#include "app/user_dialogs.h"
#include "app/windows.h"
#include "store/table_definition_file.h"

#include <QLineEdit>

namespace kelvano {

void closeAndOfferToSave(QWidget* dialog) {
    TForm1* const mainWindow = windows().Form1;
    if (mainWindow == nullptr) {
        dialog->hide();
        return;
    }
    mainWindow->GatherDefinition();
    dialog->hide();
    if (!UserDialogs::askYesNo(dialog, MessageIcon::None, Messages::SaveSettings)) {
        return;
    }
    bool numbered = false;
    const int number = mainWindow->Edit3->text().toInt(&numbered);
    // With no stored definition selected (the main window was reset while the dialog was open) there
    // is no record of this definition to write; another definition's record must not be touched.
    if (!numbered || number < 0) {
        UserDialogs::show(dialog, MessageIcon::Error, Messages::SelectTable);
        return;
    }
    UserDialogs::guarded(dialog, [mainWindow, number] {
        TableDefinitionFile(mainWindow->programFolder()).write(number, mainWindow->currentDefinition());
    });
}

} // namespace kelvano
