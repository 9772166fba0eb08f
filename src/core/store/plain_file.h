#pragma once

#include <QIODevice>
#include <QString>

class QFile;

namespace kelvano {

/// Opens a stored file only when it is a plain file: opened without blocking (a named pipe in its
/// place must not hang the program, a device may never end), checked, then read and written as usual.
/// The descriptor, or -1 with the error number in `error`: the system's, EISDIR for a folder,
/// NotAPlainFileError for a pipe, a device or a socket. `flags` are open(2)'s, without O_CREAT.
int openPlainFile(const QString& path, int flags, int& error);
/// The same for `file`, whose name is set: true when it is open in `mode` (ReadOnly or ReadWrite, with
/// Unbuffered if wanted); false with the error number in `error`.
bool openPlainFile(QFile& file, QIODevice::OpenMode mode, int& error);

} // namespace kelvano
