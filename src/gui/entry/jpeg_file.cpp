#include "gui/entry/jpeg_file.h"

#include "core/store/io_error.h"

#include <QFile>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace kelvano {
namespace {

// What one preview may cost: the decoded picture plus what libjpeg holds while decoding. A damaged
// or hostile header can claim any size (65500 x 65500), so the cost is worked out from the header
// and a picture above it refused before anything is allocated.
constexpr unsigned long long MemoryBudget = 64ULL * 1024 * 1024;

// libjpeg reports a fatal error by calling error_exit, which must not return. It jumps back to the
// decoding function below, which holds no C++ objects with destructors between setjmp and longjmp.
// Warnings (a picture cut short, say) go to emit_message and are not errors: what decoded is shown.
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
    unsigned char* pixels = nullptr; // RGB rows of `stride` bytes, from malloc
    unsigned width = 0;
    unsigned height = 0;
    std::size_t stride = 0;
};

// Turns one row of CMYK pixels into RGB. Adobe's files store the four inks inverted.
void cmykRowToRgb(const unsigned char* inks, unsigned char* rgb, unsigned width, bool inverted) {
    for (unsigned index = 0; index < width; ++index) {
        const unsigned char* ink = inks + std::size_t(index) * 4;
        const unsigned key = inverted ? ink[3] : 255u - ink[3];
        for (int channel = 0; channel < 3; ++channel) {
            const unsigned value = inverted ? ink[channel] : 255u - ink[channel];
            rgb[std::size_t(index) * 3 + std::size_t(channel)] =
                static_cast<unsigned char>(value * key / 255u);
        }
    }
}

unsigned scaledSize(unsigned size, unsigned denominator) {
    return (size + denominator - 1) / denominator;
}

// The smallest DCT scale, 1/8 at most, at which the picture still covers the area wherever it is
// large enough to: a side shorter than the area is kept whole.
unsigned scaleDenominator(unsigned width, unsigned height, unsigned coverWidth, unsigned coverHeight) {
    if (coverWidth == 0 || coverHeight == 0) {
        return 1;
    }
    for (const unsigned denominator : {8u, 4u, 2u}) {
        if (scaledSize(width, denominator) >= std::min(width, coverWidth) &&
            scaledSize(height, denominator) >= std::min(height, coverHeight)) {
            return denominator;
        }
    }
    return 1;
}

// The memory a decode takes: the RGB rows, a strip of full-width rows for libjpeg's working buffers
// and, for a progressive (multi-scan) file, the coefficients of the whole picture, which libjpeg keeps
// at full size whatever the scale.
unsigned long long decodingCost(jpeg_decompress_struct& info, std::size_t stride) {
    unsigned long long cost = static_cast<unsigned long long>(stride) * info.output_height;
    cost += static_cast<unsigned long long>(info.image_width) * unsigned(info.num_components) * 64;
    if (jpeg_has_multiple_scans(&info)) {
        for (int index = 0; index < info.num_components; ++index) {
            const jpeg_component_info& component = info.comp_info[index];
            const unsigned long long columns = component.width_in_blocks + unsigned(component.h_samp_factor);
            const unsigned long long rows = component.height_in_blocks + unsigned(component.v_samp_factor);
            cost += columns * rows * DCTSIZE2 * sizeof(JCOEF);
        }
    }
    return cost;
}

// Plain C-style on purpose: every object here is trivially destructible, so the jump is safe.
bool decodeRaw(const unsigned char* data, unsigned long size, unsigned coverWidth, unsigned coverHeight,
               RawPicture* out, char* message) {
    jpeg_decompress_struct info;
    DecoderErrors errors;
    unsigned char* volatile pixels = nullptr;
    unsigned char* volatile inkRow = nullptr;
    volatile bool created = false;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = exitWithError;
    errors.manager.output_message = ignoreMessage;
    errors.message[0] = '\0';
    if (setjmp(errors.jump) != 0) {
        std::strncpy(message, errors.message, JMSG_LENGTH_MAX);
        std::free(pixels);
        std::free(inkRow);
        if (created) {
            jpeg_destroy_decompress(&info);
        }
        return false;
    }
    jpeg_CreateDecompress(&info, JPEG_LIB_VERSION, sizeof(jpeg_decompress_struct));
    created = true;
    // A second guard: libjpeg refuses whole-picture buffers beyond this rather than allocating them.
    info.mem->max_memory_to_use = static_cast<long>(MemoryBudget);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    // libjpeg turns CMYK into nothing else; it is converted below.
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    info.scale_num = 1;
    info.scale_denom = scaleDenominator(info.image_width, info.image_height, coverWidth, coverHeight);
    jpeg_calc_output_dimensions(&info);
    const int components = cmyk ? 4 : 3;
    // Rows 4-byte aligned, as QImage wants them.
    const std::size_t stride = (std::size_t(info.output_width) * 3 + 3) & ~std::size_t(3);
    if (info.output_components != components || info.output_width == 0 || info.output_height == 0) {
        std::snprintf(message, JMSG_LENGTH_MAX, "Unsupported JPEG picture (%u x %u)", info.image_width,
                      info.image_height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    if (decodingCost(info, stride) > MemoryBudget) {
        std::snprintf(message, JMSG_LENGTH_MAX, "JPEG picture too large to preview (%u x %u)",
                      info.image_width, info.image_height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    pixels = static_cast<unsigned char*>(std::malloc(stride * info.output_height));
    if (cmyk) {
        inkRow = static_cast<unsigned char*>(std::malloc(std::size_t(info.output_width) * 4));
    }
    if (!pixels || (cmyk && !inkRow)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "Not enough memory for the picture");
        std::free(pixels);
        std::free(inkRow);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        unsigned char* row = pixels + std::size_t(info.output_scanline) * stride;
        JSAMPROW target = cmyk ? inkRow : row;
        if (jpeg_read_scanlines(&info, &target, 1) != 1) {
            // Not expected from a source in memory; the rows not decoded are left grey.
            const std::size_t done = std::size_t(info.output_scanline) * stride;
            std::memset(pixels + done, 0x80, stride * info.output_height - done);
            break;
        }
        if (cmyk) {
            cmykRowToRgb(inkRow, row, info.output_width, info.saw_Adobe_marker != 0);
        }
    }
    std::free(inkRow);
    inkRow = nullptr;
    out->width = info.output_width;
    out->height = info.output_height;
    out->stride = stride;
    jpeg_abort_decompress(&info);
    jpeg_destroy_decompress(&info);
    out->pixels = pixels;
    return true;
}

void freePixels(void* pixels) {
    std::free(pixels);
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

QImage decodeJpeg(QByteArrayView bytes, QString* error, QSize cover) {
    RawPicture raw;
    char message[JMSG_LENGTH_MAX] = {};
    const unsigned coverWidth = cover.isValid() ? unsigned(cover.width()) : 0;
    const unsigned coverHeight = cover.isValid() ? unsigned(cover.height()) : 0;
    if (!decodeRaw(reinterpret_cast<const unsigned char*>(bytes.data()),
                   static_cast<unsigned long>(bytes.size()), coverWidth, coverHeight, &raw, message)) {
        if (error) {
            *error = QString::fromUtf8(message);
        }
        return {};
    }
    // The image takes the decoded rows over as they are: no second copy of the picture.
    return QImage(raw.pixels, int(raw.width), int(raw.height), qsizetype(raw.stride), QImage::Format_RGB888,
                  freePixels, raw.pixels);
}

QImage decodeJpegFile(const QString& path, QSize cover) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw IoError::fromFile(file);
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw IoError::fromFile(file);
    }
    QString error;
    QImage picture = decodeJpeg(bytes, &error, cover);
    if (picture.isNull()) {
        throw IoError(path, error);
    }
    return picture;
}

} // namespace kelvano
