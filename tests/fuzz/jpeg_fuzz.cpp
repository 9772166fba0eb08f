// The JPEG reader of the picture picker's preview over any bytes.

#include "fuzz_support.h"
#include "gui/entry/jpeg_file.h"

using namespace kelvano;
using kelvano::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const QImage picture = decodeJpeg(bytes, &error);
    if (picture.isNull()) {
        require(!error.isEmpty(), "a refused picture says why");
    } else {
        require(error.isEmpty(), "a decoded picture reports no error");
        require(picture.width() > 0 && picture.height() > 0, "a decoded picture has pixels");
        require(picture.format() == QImage::Format_RGB888, "a decoded picture is RGB");
    }

    // The name test looks only at what follows a ".".
    const QString name = QString::fromLatin1(bytes);
    if (!name.contains(QLatin1Char('.'))) {
        require(!IsJpegName(name), "a name without a dot is no JPEG");
    }
    require(IsJpegName(name + QStringLiteral(".jpg")) && IsJpegName(name + QStringLiteral(".JPEG")),
            "a .jpg or .JPEG name is a JPEG");
    return 0;
}
