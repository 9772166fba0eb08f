#pragma once

#include <QString>

namespace kelvano {

/// The folder of TAVELO.DAT and TABLE.DAT, ending in "/": the executable's folder when it is writable
/// (a portable installation, or the build tree) and its path can be stored in a folder setting,
/// otherwise the user's application data folder.
QString resolveProgramFolder(const QString& executableFolder);

} // namespace kelvano
