#include "strutil/line_filters.h"

#include "store/io_error.h"
#include "store/save_file.h"
#include "store/text_lines.h"
#include "strutil/text_edits.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace kelvano::StringUtil {
namespace {

enum class Match { WholeLine, Beginning };

QString scratchPathFor(const QString& fileName) {
    return AddEndPath(fileName.left(fileName.lastIndexOf(u'/') + 1)) + ScratchFileName;
}

/// Removes a scratch file left by a failure and passes the failure on.
[[noreturn]] void discardScratch(QFile& scratch, const IoError& error) {
    scratch.close();
    scratch.remove();
    throw error;
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

    const QString scratchPath = scratchPathFor(fileName);
    if (QFileInfo(scratchPath) == QFileInfo(fileName)) {
        replaceWholeFile(fileName, filtered);
        return;
    }
    // Unbuffered, so that a short write (a full disk) shows in writeAll and not only at close.
    QFile scratch(scratchPath);
    if (!scratch.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        return;
    }
    try {
        writeAll(scratch, filtered);
    } catch (const IoError& error) {
        discardScratch(scratch, error);
    }
    if (::fsync(scratch.handle()) != 0) {
        discardScratch(scratch, IoError::fromErrorNumber(scratchPath, errno));
    }
    scratch.setPermissions(given.permissions());
    scratch.close();
    if (scratch.error() != QFileDevice::NoError) {
        discardScratch(scratch, IoError::fromFile(scratch));
    }
    given.close();
    // rename() replaces the old file in one step, so there is no moment without it.
    if (std::rename(QFile::encodeName(scratchPath).constData(), QFile::encodeName(fileName).constData()) !=
        0) {
        discardScratch(scratch, IoError::fromErrorNumber(fileName, errno));
    }
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
