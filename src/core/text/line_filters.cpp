#include "core/text/line_filters.h"

#include "core/store/io_error.h"
#include "core/store/save_file.h"
#include "core/store/text_lines.h"
#include "core/text/text_edits.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

namespace kelvano::StringUtil {
namespace {

enum class Match { WholeLine, Beginning };

QString scratchPathFor(const QString& fileName) {
    return AddEndPath(fileName.left(fileName.lastIndexOf(u'/') + 1)) + ScratchFileName;
}

/// Rewrites the file with every matching line replaced by `replacement`, or dropped without one.
void filterLines(const QString& fileName, QByteArrayView key, Match match,
                 std::optional<QByteArrayView> replacement) {
    QFile given(fileName);
    if (!given.open(QIODevice::ReadOnly)) {
        return;
    }
    // Read whole before the scratch file is created, which truncates a file of its name: the given
    // file may be that very file.
    const QByteArray contents = given.readAll();
    if (given.error() != QFileDevice::NoError) {
        throw IoError::fromFile(given);
    }
    QByteArray filtered;
    filtered.reserve(contents.size());
    for (const QByteArray& line : splitLines(contents)) {
        const bool matches = match == Match::WholeLine ? line == key : line.startsWith(key);
        if (!matches) {
            filtered += line;
        } else if (replacement) {
            filtered += *replacement;
        } else {
            continue;
        }
        filtered += "\r\n";
    }

    given.close();
    const QString scratchPath = scratchPathFor(fileName);
    // A file that is itself named like the scratch file is replaced through one of a unique name.
    FileReplacement rewrite(fileName,
                            QFileInfo(scratchPath) == QFileInfo(fileName) ? QString() : scratchPath);
    if (!rewrite.open()) {
        return;
    }
    writeAll(rewrite.device(), filtered);
    rewrite.commit();
}

} // namespace

void Cutline(const QString& fileName, QByteArrayView key) {
    filterLines(fileName, key, Match::WholeLine, std::nullopt);
}

void FCutline(const QString& fileName, QByteArrayView key) {
    filterLines(fileName, key, Match::Beginning, std::nullopt);
}

void Exline(const QString& fileName, QByteArrayView key, QByteArrayView newLine) {
    filterLines(fileName, key, Match::WholeLine, newLine);
}

void FExline(const QString& fileName, QByteArrayView key, QByteArrayView newLine) {
    filterLines(fileName, key, Match::Beginning, newLine);
}

} // namespace kelvano::StringUtil
