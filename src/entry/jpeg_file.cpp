#include "entry/jpeg_file.h"

#include "store/io_error.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace kelvano {
namespace {

// Larger pictures are refused rather than allocated: a damaged header can claim any size.
constexpr unsigned long long MaxPixels = 100'000'000ULL;

// libjpeg reports a fatal error by calling error_exit, which must not return. It jumps back to the
// decoding function below, which holds no C++ objects with destructors between setjmp and longjmp.
struct DecoderErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void exitWithError(j_common_ptr info) {
    auto* errors = reinterpret_cast<DecoderErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void ignoreMessage(j_common_ptr) {}

struct RawPicture {
    unsigned char* pixels = nullptr; // RGB, width * 3 bytes a row, from malloc
    unsigned width = 0;
    unsigned height = 0;
};

// Packs CMYK pixels into RGB in place. Adobe's files store the four inks inverted.
void cmykToRgb(unsigned char* pixels, unsigned long long count, bool inverted) {
    for (unsigned long long index = 0; index < count; ++index) {
        const unsigned char* ink = pixels + index * 4;
        unsigned char* rgb = pixels + index * 3;
        const unsigned key = inverted ? ink[3] : 255u - ink[3];
        const unsigned channels[3] = {ink[0], ink[1], ink[2]};
        for (int channel = 0; channel < 3; ++channel) {
            const unsigned value = inverted ? channels[channel] : 255u - channels[channel];
            rgb[channel] = static_cast<unsigned char>(value * key / 255u);
        }
    }
}

// Plain C-style on purpose: every object here is trivially destructible, so the jump is safe.
bool decodeRaw(const unsigned char* data, unsigned long size, RawPicture* out, char* message) {
    jpeg_decompress_struct info;
    DecoderErrors errors;
    unsigned char* volatile pixels = nullptr;
    volatile bool created = false;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = exitWithError;
    errors.manager.output_message = ignoreMessage;
    errors.message[0] = '\0';
    if (setjmp(errors.jump) != 0) {
        std::strncpy(message, errors.message, JMSG_LENGTH_MAX);
        std::free(pixels);
        if (created) {
            jpeg_destroy_decompress(&info);
        }
        return false;
    }
    jpeg_CreateDecompress(&info, JPEG_LIB_VERSION, sizeof(jpeg_decompress_struct));
    created = true;
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    // libjpeg turns CMYK into nothing else; it is converted below.
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    const int components = cmyk ? 4 : 3;
    const unsigned long long pixelCount =
        static_cast<unsigned long long>(info.output_width) * info.output_height;
    if (info.output_components != components || pixelCount == 0 || pixelCount > MaxPixels) {
        std::snprintf(message, JMSG_LENGTH_MAX, "Unsupported JPEG picture (%u x %u)", info.output_width,
                      info.output_height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    const std::size_t stride = std::size_t(info.output_width) * std::size_t(components);
    pixels = static_cast<unsigned char*>(std::malloc(stride * info.output_height));
    if (!pixels) {
        std::snprintf(message, JMSG_LENGTH_MAX, "Not enough memory for the picture");
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + std::size_t(info.output_scanline) * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
    if (cmyk) {
        cmykToRgb(pixels, pixelCount, info.saw_Adobe_marker != 0);
    }
    jpeg_finish_decompress(&info);
    out->width = info.output_width;
    out->height = info.output_height;
    jpeg_destroy_decompress(&info);
    out->pixels = pixels;
    return true;
}

} // namespace

bool IsJpegName(QStringView path) {
    for (qsizetype dot = path.indexOf(u'.'); dot >= 0; dot = path.indexOf(u'.', dot + 1)) {
        const QStringView after = path.mid(dot + 1);
        if (after.startsWith(u"jpg") || after.startsWith(u"JPG") || after.startsWith(u"jpeg") ||
            after.startsWith(u"JPEG")) {
            return true;
        }
    }
    return false;
}

QImage decodeJpeg(QByteArrayView bytes, QString* error) {
    RawPicture raw;
    char message[JMSG_LENGTH_MAX] = {};
    if (!decodeRaw(reinterpret_cast<const unsigned char*>(bytes.data()),
                   static_cast<unsigned long>(bytes.size()), &raw, message)) {
        if (error) {
            *error = QString::fromLocal8Bit(message);
        }
        return {};
    }
    const QImage view(raw.pixels, int(raw.width), int(raw.height), int(raw.width * 3), QImage::Format_RGB888);
    QImage picture = view.copy();
    std::free(raw.pixels);
    return picture;
}

QImage decodeJpegFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw IoError::fromFile(file);
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw IoError::fromFile(file);
    }
    QString error;
    QImage picture = decodeJpeg(bytes, &error);
    if (picture.isNull()) {
        throw IoError(path, error);
    }
    return picture;
}

} // namespace kelvano
