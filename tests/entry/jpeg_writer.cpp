#include "jpeg_writer.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace kelvano::test {

namespace {

QByteArray compress(int width, int height, int components, J_COLOR_SPACE space, const unsigned char* pixel,
                    bool progressive = false) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_CreateCompress(&info, JPEG_LIB_VERSION, sizeof(jpeg_compress_struct));
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(std::size_t(width) * std::size_t(components));
    for (std::size_t x = 0; x < std::size_t(width); ++x) {
        for (std::size_t component = 0; component < std::size_t(components); ++component) {
            row[x * std::size_t(components) + component] = pixel[component];
        }
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rowPointer = row.data();
        jpeg_write_scanlines(&info, &rowPointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes;
}

} // namespace

QByteArray jpegBytes(int width, int height, QColor colour) {
    const unsigned char pixel[3] = {static_cast<unsigned char>(colour.red()),
                                    static_cast<unsigned char>(colour.green()),
                                    static_cast<unsigned char>(colour.blue())};
    return compress(width, height, 3, JCS_RGB, pixel);
}

QByteArray progressiveJpegBytes(int width, int height, QColor colour) {
    const unsigned char pixel[3] = {static_cast<unsigned char>(colour.red()),
                                    static_cast<unsigned char>(colour.green()),
                                    static_cast<unsigned char>(colour.blue())};
    return compress(width, height, 3, JCS_RGB, pixel, true);
}

QByteArray withDeclaredSize(QByteArray jpeg, int width, int height) {
    // The frame header: FF C0 (baseline) or FF C2 (progressive), length, precision, height, width.
    for (qsizetype at = 2; at + 9 <= jpeg.size(); ++at) {
        const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
        if (static_cast<unsigned char>(jpeg[at]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[at + 5] = static_cast<char>(height >> 8);
            jpeg[at + 6] = static_cast<char>(height & 0xFF);
            jpeg[at + 7] = static_cast<char>(width >> 8);
            jpeg[at + 8] = static_cast<char>(width & 0xFF);
            break;
        }
    }
    return jpeg;
}

QByteArray cmykJpegBytes(int width, int height, const unsigned char (&invertedInks)[4]) {
    return compress(width, height, 4, JCS_CMYK, invertedInks);
}

} // namespace kelvano::test
