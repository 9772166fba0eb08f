#pragma once

#include <QByteArray>
#include <QColor>

namespace kelvano::test {

/// A baseline JPEG of one colour, made with libjpeg, for the decoder and the preview to read.
QByteArray jpegBytes(int width, int height, QColor colour);

/// The same picture written progressive (several scans).
QByteArray progressiveJpegBytes(int width, int height, QColor colour);

/// The JPEG with its frame header claiming another size: the data then ends long before the picture.
QByteArray withDeclaredSize(QByteArray jpeg, int width, int height);

/// A CMYK JPEG of one colour with the inks stored inverted, as Adobe's programs write them.
QByteArray cmykJpegBytes(int width, int height, const unsigned char (&invertedInks)[4]);

} // namespace kelvano::test
