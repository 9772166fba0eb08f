#pragma once

class QCoreApplication;

namespace kelvano {

/// Loads Qt's own Japanese texts (the standard buttons はい/いいえ/キャンセル, the colour dialog, the
/// edit boxes' menus) from Qt's translations folder into the application. False when they are not
/// installed; Qt then speaks English.
bool installQtTranslation(QCoreApplication* application);

} // namespace kelvano
