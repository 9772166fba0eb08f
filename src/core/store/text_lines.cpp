#include "core/store/text_lines.h"

#include "core/store/file_names.h"
#include "core/store/io_error.h"
#include "core/store/plain_file.h"

#include <QFile>

namespace kelvano {

QList<QByteArray> splitLines(QByteArrayView contents) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < contents.size()) {
        qsizetype end = contents.indexOf('\n', start);
        const qsizetype next = end < 0 ? contents.size() : end + 1;
        if (end < 0) {
            end = contents.size();
        }
        const qsizetype length = (end > start && contents[end - 1] == '\r') ? end - 1 - start : end - start;
        lines.append(contents.sliced(start, length).toByteArray());
        start = next;
    }
    return lines;
}

QByteArray joinLines(const QList<QByteArray>& lines) {
    QByteArray contents;
    for (const QByteArray& line : lines) {
        contents += line;
        contents += "\r\n";
    }
    return contents;
}

std::optional<QList<QByteArray>> readLinesFile(const QString& path) {
    if (!isPathOfThisSystem(path)) {
        return std::nullopt;
    }
    QFile file(path);
    if (int error = 0; !openPlainFile(file, QIODevice::ReadOnly, error)) {
        // A pipe or a device is told (it would hang or never end); a folder is no file, as before.
        if (error == NotAPlainFileError) {
            throw IoError::fromErrorNumber(path, error);
        }
        return std::nullopt;
    }
    const QByteArray contents = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw IoError::fromFile(file);
    }
    return splitLines(contents);
}

std::optional<QList<QByteArray>> readOrCreateLinesFile(const QString& path) {
    if (auto lines = readLinesFile(path)) {
        return lines;
    }
    QFile file(path);
    if (!isPathOfThisSystem(path) || file.exists() || !file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return std::nullopt;
    }
    return QList<QByteArray>{};
}

} // namespace kelvano
