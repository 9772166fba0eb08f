#pragma once

class QWidget;

namespace kelvano {

/// What the close buttons of both formatting dialogs do: gather the definition on the main window,
/// hide the dialog, and on Yes write the definition at the number the main window shows.
void closeAndOfferToSave(QWidget* dialog);

} // namespace kelvano
