#pragma once

#include "gui/shell/file_system_namespace.h"

#include <memory>

// What the file-system namespace and its folders share: the kind bytes that start the elements of
// its identifiers, and the folders themselves. Only gui/shell's file-system files include this.

namespace kelvano::FileSystemItems {

constexpr char HomeKind = 'H';
constexpr char DrivesKind = 'D';
constexpr char RootKind = 'R';
constexpr char VolumeKind = 'V';
constexpr char FolderKind = 'd';
constexpr char FileKind = 'f';

/// The element of kind `kind` whose name, as the file system stores it, is `name`.
ItemIdList kindElement(char kind, const QByteArray& name = {});
/// `name` in `folder`.
QString joinPath(const QString& folder, const QString& name);
/// Whether `name` can name an entry of a folder: not empty, not "." or "..", no '/' or NUL.
bool isUsableName(const QString& name);

/// The folder of `provider` at `absolute`: the desktop, the drives folder or a file-system folder.
std::unique_ptr<ShellFolder> makeFolder(const FileSystemNamespace& provider, ItemIdList absolute);

} // namespace kelvano::FileSystemItems
