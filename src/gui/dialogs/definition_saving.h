#pragma once

class QWidget;

namespace kelvano {

class DefinitionHost;

/// What the close buttons of both formatting dialogs do: gather the definition on the host, hide the
/// dialog, and on Yes write the definition at the number the host shows. Without a host the dialog
/// only hides.
void closeAndOfferToSave(QWidget* dialog, DefinitionHost* host);

} // namespace kelvano
