#pragma once

#include <QByteArray>
#include <QHash>
#include <QSize>
#include <QString>
#include <optional>

namespace kelvano {

/// The width and height a picture file gives in its header (JPEG, PNG, GIF, BMP), read without
/// decoding its pixels; nullopt when the file is missing or not one of these. The core holds no image
/// library (they belong to the windows), and these four headers are a few bytes each.
std::optional<QSize> pictureFileSize(const QString& path);

/// The sizes of the pictures of a page run, by file name in the image folder, each read once.
class PictureSizes {
public:
    explicit PictureSizes(QString imageFolder) : m_imageFolder(std::move(imageFolder)) {}
    /// The size of the picture named `name` (stored bytes) in the image folder.
    std::optional<QSize> of(QByteArrayView name);

private:
    QString m_imageFolder;
    QHash<QByteArray, std::optional<QSize>> m_known;
};

} // namespace kelvano
