#include "core/html/picture_sizes.h"

#include "core/store/shift_jis.h"

#include <QFile>

namespace kelvano {
namespace {

quint32 bigEndian(const QByteArray& bytes, qsizetype at, int size) {
    quint32 value = 0;
    for (int i = 0; i < size; ++i) {
        value = (value << 8) | static_cast<quint8>(bytes[at + i]);
    }
    return value;
}

quint32 littleEndian(const QByteArray& bytes, qsizetype at, int size) {
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<quint8>(bytes[at + i]);
    }
    return value;
}

std::optional<QSize> sizeOf(quint32 width, quint32 height) {
    // A header that claims nothing, or more than any page could show, gives no size.
    constexpr quint32 Largest = 65535;
    if (width == 0 || height == 0 || width > Largest || height > Largest) {
        return std::nullopt;
    }
    return QSize(static_cast<int>(width), static_cast<int>(height));
}

/// The frame header (SOF0 to SOF15 but DHT, JPG and DAC) of a JPEG file, walking the segments from the
/// start; the file is read a segment header at a time.
std::optional<QSize> jpegSize(QFile& file) {
    qint64 at = 2;
    for (int segments = 0; segments < 1024; ++segments) {
        if (!file.seek(at)) {
            return std::nullopt;
        }
        QByteArray head = file.read(9);
        if (head.size() < 4 || static_cast<quint8>(head[0]) != 0xFF) {
            return std::nullopt;
        }
        const quint8 marker = static_cast<quint8>(head[1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        const quint32 length = bigEndian(head, 2, 2);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (head.size() < 9) {
                return std::nullopt;
            }
            return sizeOf(bigEndian(head, 7, 2), bigEndian(head, 5, 2));
        }
        if (marker == 0xD9 || marker == 0xDA || length < 2) { // end of image, start of scan
            return std::nullopt;
        }
        at += 2 + length;
    }
    return std::nullopt;
}

} // namespace

std::optional<QSize> pictureFileSize(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray head = file.read(30);
    if (head.startsWith("\xFF\xD8")) {
        return jpegSize(file);
    }
    if (head.size() >= 24 && head.startsWith("\x89PNG\r\n\x1A\n") && head.mid(12, 4) == "IHDR") {
        return sizeOf(bigEndian(head, 16, 4), bigEndian(head, 20, 4));
    }
    if (head.size() >= 10 && (head.startsWith("GIF87a") || head.startsWith("GIF89a"))) {
        return sizeOf(littleEndian(head, 6, 2), littleEndian(head, 8, 2));
    }
    if (head.size() >= 26 && head.startsWith("BM")) {
        // Rows stored top-down have a negative height.
        const auto height = static_cast<qint32>(littleEndian(head, 22, 4));
        return sizeOf(littleEndian(head, 18, 4), static_cast<quint32>(height < 0 ? -qint64{height} : height));
    }
    return std::nullopt;
}

std::optional<QSize> PictureSizes::of(QByteArrayView name) {
    const QByteArray key = name.toByteArray();
    auto known = m_known.find(key);
    if (known == m_known.end()) {
        known = m_known.insert(key, name.isEmpty() ? std::nullopt
                                                   : pictureFileSize(m_imageFolder + ShiftJis::decode(name)));
    }
    return *known;
}

} // namespace kelvano
