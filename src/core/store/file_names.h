#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace kelvano {

/// Whether a path or folder text names a place on this system: an absolute path ("/..."). A Windows
/// drive path ("D:\\Web\\"), a UNC path ("\\\\server\\share\\"), a relative or an empty text names
/// none, and no file is read or created through it: it would land in whatever the working folder is.
bool isPathOfThisSystem(QStringView path);
/// Throws the IoError of a missing folder (ENOENT) for a path that names no place on this system.
void requirePathOfThisSystem(const QString& path);

/// Whether a table's FileName can name its files (FileName + ".TBL", ".html", ...) inside their
/// folders. Refused: an empty name, one holding "/", "\\", NUL or any other control character, and
/// "." or ".." or any name beginning with "..", which would reach a parent folder, and one holding a
/// byte that is no character (read as U+FFFD).
bool isUsableFileName(QStringView name);
/// The same for a FileName as a definition stores it (Shift-JIS): a 0x5C byte that is the second
/// byte of a double-byte character is part of that character, not a "\\".
bool isUsableStoredFileName(QByteArrayView fileName);

/// The folder text ending in the folder separator "/": the text itself when it ends in one, otherwise
/// the text followed by one. An empty text stays empty (the current folder). Every folder text the
/// program completes goes through here.
QString withTrailingSeparator(const QString& folder);
/// The same for a folder text as the settings store it (Shift-JIS).
QByteArray withTrailingSeparator(QByteArrayView folder);

} // namespace kelvano
