#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// Line-oriented Shift-JIS text files: every line ends in CR LF, the last one too.

namespace kelvano {

/// Splits file contents into lines; a line ends at LF, with a CR before it dropped. A last line
/// without a line end still counts.
QList<QByteArray> splitLines(QByteArrayView contents);
/// Joins lines, each followed by CR LF.
QByteArray joinLines(const QList<QByteArray>& lines);

/// The lines of a file; nullopt when it cannot be opened. An IoError when reading fails.
std::optional<QList<QByteArray>> readLinesFile(const QString& path);
/// The lines of a file, creating it empty when it is missing; nullopt when it can be neither read
/// nor created.
std::optional<QList<QByteArray>> readOrCreateLinesFile(const QString& path);

} // namespace kelvano
