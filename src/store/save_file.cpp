#include "store/save_file.h"

#include "store/io_error.h"

#include <QSaveFile>

namespace kelvano {

void replaceWholeFile(const QString& path, const std::function<void(QIODevice&)>& write) {
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk, a size limit) reaches writeAll as a short count:
    // a buffered QSaveFile can lose the error at commit and rename a truncated file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        throw IoError::fromFile(file);
    }
    write(file);
    if (!file.commit()) {
        throw IoError::fromFile(file);
    }
}

void replaceWholeFile(const QString& path, QByteArrayView contents) {
    replaceWholeFile(path, [contents](QIODevice& device) { writeAll(device, contents); });
}

bool saveWholeFile(const QString& path, QByteArrayView contents) {
    try {
        replaceWholeFile(path, contents);
        return true;
    } catch (const IoError&) {
        return false;
    }
}

void writeAll(QIODevice& device, QByteArrayView bytes) {
    if (device.write(bytes.data(), bytes.size()) != bytes.size()) {
        const auto* file = qobject_cast<QFileDevice*>(&device);
        throw file ? IoError::fromFile(*file) : IoError(QString(), device.errorString());
    }
}

} // namespace kelvano
