#include "core/store/file_names.h"

#include "core/store/io_error.h"
#include "core/store/shift_jis.h"

#include <QFileInfo>
#include <cerrno>

namespace kelvano {

bool isPathOfThisSystem(QStringView path) {
    return path.startsWith(u'/');
}

void requirePathOfThisSystem(const QString& path) {
    if (!isPathOfThisSystem(path)) {
        throw IoError::fromErrorNumber(path, ENOENT);
    }
}

bool isUsableFileName(QStringView name) {
    if (name.isEmpty() || name == u"." || name.startsWith(u"..")) {
        return false;
    }
    for (const QChar c : name) {
        const char16_t code = c.unicode();
        const bool control = code < 0x20 || (code >= 0x7F && code <= 0x9F);
        // A byte that is no character reads as U+FFFD: the name would reach another file than stored.
        if (control || code == u'/' || code == u'\\' || c == QChar::ReplacementCharacter) {
            return false;
        }
    }
    return true;
}

bool isUsableStoredFileName(QByteArrayView fileName) {
    return isUsableFileName(ShiftJis::decode(fileName));
}

namespace {

template <typename Text, typename Separator> Text appendSeparator(Text folder, Separator separator) {
    if (!folder.isEmpty() && !folder.endsWith(separator)) {
        folder += separator;
    }
    return folder;
}

} // namespace

QString withTrailingSeparator(const QString& folder) {
    return appendSeparator(folder, u'/');
}

QByteArray withTrailingSeparator(QByteArrayView folder) {
    // "/" is below the range of the second byte of a double-byte character, so a byte test is exact.
    return appendSeparator(folder.toByteArray(), '/');
}

} // namespace kelvano
