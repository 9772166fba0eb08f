#include "gui/dialogs/definition_saving.h"

#include "core/store/table_definition_file.h"
#include "gui/base/user_dialogs.h"
#include "gui/dialogs/definition_host.h"

#include <QWidget>

namespace kelvano {

void closeAndOfferToSave(QWidget* dialog, DefinitionHost* host) {
    if (host == nullptr) {
        dialog->hide();
        return;
    }
    host->GatherDefinition();
    dialog->hide();
    const int number = host->editedNumber();
    // Nothing to save: the stored record already holds every field as gathered.
    if (number >= 0) {
        std::optional<TableDefinition> stored;
        UserDialogs::guarded(dialog,
                             [&] { stored = TableDefinitionFile(host->programFolder()).read(number); });
        if (stored && stored->encode() == host->currentDefinition().encode()) {
            return;
        }
    }
    if (!UserDialogs::askYesNo(dialog, MessageIcon::None, Messages::SaveSettings, Answer::Yes)) {
        return;
    }
    // With no stored definition selected (the main window was reset while the dialog was open) there
    // is no record of this definition to write; another definition's record must not be touched.
    if (number < 0) {
        UserDialogs::show(dialog, MessageIcon::Error, Messages::SelectTable);
        return;
    }
    UserDialogs::guarded(dialog, [host, number] {
        TableDefinitionFile(host->programFolder()).write(number, host->currentDefinition());
    });
}

} // namespace kelvano
