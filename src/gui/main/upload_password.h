#pragma once

#include "core/store/server_settings.h"

#include <QString>
#include <optional>

class QWidget;

namespace kelvano {

/// The password of a server for this run of the program: held in memory only, asked once (without
/// echo) when it is not known yet.
namespace UploadPassword {

std::optional<QString> remembered(const ServerSettings& server);
void remember(const ServerSettings& server, const QString& password);
void forget(const ServerSettings& server);
/// The remembered password, else one typed into a password box (then remembered); nullopt when the box
/// was cancelled. Agent authentication needs none.
std::optional<QString> obtain(QWidget* owner, const ServerSettings& server);

} // namespace UploadPassword
} // namespace kelvano
