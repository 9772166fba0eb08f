#pragma once

#include "core/store/server_settings.h"

#include <QString>
#include <optional>

class QWidget;

namespace kelvano {

/// The password of a server for this run of the program: held in memory, taken from the desktop's
/// keyring when the user chose to keep it there, else asked once (without echo).
namespace UploadPassword {

std::optional<QString> remembered(const ServerSettings& server);
void remember(const ServerSettings& server, const QString& password);
void forget(const ServerSettings& server);
/// The remembered password, else the keyring's (when the server's settings keep it there), else one
/// typed into a password box (then remembered, and kept in the keyring when asked for); nullopt when
/// the box was cancelled. Agent authentication needs none.
std::optional<QString> obtain(QWidget* owner, const ServerSettings& server);

} // namespace UploadPassword
} // namespace kelvano
