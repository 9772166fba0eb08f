#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace kelvano {

/// Whether the picture picker previews a path as JPEG: after some "." in it (every one is tried, not
/// only the last) come "jpg" or "JPG", or "jpeg" or "JPEG"; case counts, so "Jpg" does not.
bool IsJpegName(QStringView path);

/// Decodes a JPEG file with libjpeg. Throws IoError (the path and the decoder's message) when the
/// file cannot be read or decoded. See decodeJpeg for `cover`.
QImage decodeJpegFile(const QString& path, QSize cover = QSize());

/// Decodes JPEG bytes; a null image and the decoder's message on failure. With a `cover` area the
/// picture is decoded reduced (libjpeg's DCT scaling: 1/2, 1/4 or 1/8) as far as it still covers
/// that area; a side shorter than the area stays whole. A picture whose decoding would take more than
/// 64 MB is refused. A picture cut short gives what decoded, the rest grey.
QImage decodeJpeg(QByteArrayView bytes, QString* error, QSize cover = QSize());

} // namespace kelvano
