#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace kelvano::ListTexts {

/// The size column: size / 1024 + 1 kilobytes, right-aligned in eight characters and followed by
/// "KB" ("%8d%s"). Sizes beyond 32 bits keep their full count.
QString sizeText(qint64 size);

/// The date column: the local time of a last write at two-second resolution, "yy/mm/dd hh:nn".
QString dateText(const QDateTime& lastWrite);

/// The text with ASCII letters upper-cased and every other character kept.
QString upperAscii(QStringView text);

/// The extension of a parsing name: from the last "." of its last path component on, the dot
/// included; empty when that component has no ".".
QString extensionOf(QStringView parsingName);

/// Whether a file list with this mask lists the item: every item for an empty mask, every folder, and
/// otherwise an item whose extension, upper-cased, equals an entry upper-cased the same way.
bool passesMask(const QStringList& mask, QStringView parsingName, bool folder);

} // namespace kelvano::ListTexts
