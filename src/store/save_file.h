#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>

class QIODevice;

namespace kelvano {

/// Replaces a whole file atomically: `write` fills a temporary file in the same folder, which is then
/// renamed over the old one. On any failure the old file stays as it was and an IoError is thrown.
/// `write` must write through writeAll (the device is unbuffered; write larger pieces than single lines).
void replaceWholeFile(const QString& path, const std::function<void(QIODevice&)>& write);
void replaceWholeFile(const QString& path, QByteArrayView contents);
/// The same, reporting failure as false instead of an IoError.
bool saveWholeFile(const QString& path, QByteArrayView contents);

/// Writes all bytes to an open device; an IoError when the device takes fewer.
void writeAll(QIODevice& device, QByteArrayView bytes);

} // namespace kelvano
