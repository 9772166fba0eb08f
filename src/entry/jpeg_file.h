#pragma once

#include <QImage>
#include <QString>

namespace kelvano {

/// Whether the picture picker previews a path as JPEG: after some "." in it (every one is tried, not
/// only the last) come "jpg" or "JPG", or "jpeg" or "JPEG"; case counts, so "Jpg" does not.
bool IsJpegName(QStringView path);

/// Decodes a JPEG file with libjpeg. Throws IoError (the path and the decoder's message) when the
/// file cannot be read or decoded.
QImage decodeJpegFile(const QString& path);

/// Decodes JPEG bytes; a null image and the decoder's message on failure.
QImage decodeJpeg(QByteArrayView bytes, QString* error);

} // namespace kelvano
