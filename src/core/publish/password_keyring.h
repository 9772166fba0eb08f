#pragma once

#include "core/store/server_settings.h"

#include <QString>
#include <optional>

namespace kelvano {

/// The server's password in the desktop's keyring (the Secret Service, through QtKeychain), under the
/// service "Kelvano" and the server's label (protocol, account, host, port, folder). Never a file:
/// where there is no keyring, nothing is stored. Each call waits for the keyring's answer in a local
/// event loop, on the calling thread.
namespace PasswordKeyring {

/// The password kept for the server; nullopt when none is kept or there is no keyring.
std::optional<QString> read(const ServerSettings& server);
/// Keeps the password; false when there is no keyring to keep it in.
bool store(const ServerSettings& server, const QString& password);
/// Forgets the password kept for the server, if any.
void remove(const ServerSettings& server);
/// Whether a keyring answers here.
bool isAvailable();

} // namespace PasswordKeyring
} // namespace kelvano
