#pragma once

class QWidget;

namespace kelvano {

class DefinitionHost;

/// What the close buttons of both formatting dialogs do: gather the definition on the host, hide the
/// dialog, and, when the gathered definition differs from the one stored at the number the host shows,
/// ask and on Yes write it there. Without a host the dialog only hides.
void closeAndOfferToSave(QWidget* dialog, DefinitionHost* host);

} // namespace kelvano
