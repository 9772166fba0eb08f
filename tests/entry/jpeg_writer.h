#pragma once

#include <QByteArray>
#include <QColor>

namespace kelvano::test {

/// A baseline JPEG of one colour, made with libjpeg, for the decoder and the preview to read.
QByteArray jpegBytes(int width, int height, QColor colour);

} // namespace kelvano::test
