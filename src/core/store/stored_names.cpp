#include "core/store/stored_names.h"

#include "core/store/file_names.h"
#include "core/store/shift_jis.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace kelvano {
namespace {

bool isUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

/// The entries of a folder of the wanted kind whose names `wanted` accepts, as their bytes. The kind is
/// looked at only for the names accepted: a large image folder costs one listing, not a call per file.
template <typename Wanted>
QList<QByteArray> entriesOf(const QString& folder, StoredEntry kind, Wanted wanted) {
    QList<QByteArray> names;
    DIR* directory = ::opendir(QFile::encodeName(folder).constData());
    if (directory == nullptr) {
        return names;
    }
    const int descriptor = ::dirfd(directory);
    while (const dirent* entry = ::readdir(directory)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == ".." || !wanted(name)) {
            continue;
        }
        struct stat status {};
        if (::fstatat(descriptor, entry->d_name, &status, 0) == 0 &&
            S_ISDIR(status.st_mode) == (kind == StoredEntry::Folder)) {
            names.append(name);
        }
    }
    ::closedir(directory);
    return names;
}

} // namespace

bool isShiftJisName(QByteArrayView name) {
    return !isUtf8(name) && !ShiftJis::decode(name).contains(QChar::ReplacementCharacter);
}

QString decodeNameOnDisk(QByteArrayView name) {
    return isShiftJisName(name) ? ShiftJis::decode(name) : QFile::decodeName(name.toByteArray());
}

QString StoredNameMatch::nameOnDisk() const {
    return decodeNameOnDisk(used);
}

bool StoredNameMatch::inShiftJis() const {
    return found() && isShiftJisName(used);
}

StoredNameMatch matchStoredName(const QString& folder, const QString& name, StoredEntry kind) {
    StoredNameMatch match{{}, {}, folder + name};
    if (!isPathOfThisSystem(folder) || name.isEmpty()) {
        return match;
    }
    const QByteArray exact = QFile::encodeName(name);
    match.names = entriesOf(folder, kind, [&exact, &name](const QByteArray& entry) {
        return entry == exact || (isUtf8(entry) ? QFile::decodeName(entry) : ShiftJis::decode(entry))
                                         .compare(name, Qt::CaseInsensitive) == 0;
    });
    // The stored name itself first, then byte order: the same choice whatever order the folder lists.
    std::sort(match.names.begin(), match.names.end(), [&exact](const QByteArray& a, const QByteArray& b) {
        if ((a == exact) != (b == exact)) {
            return a == exact;
        }
        return a < b;
    });
    const auto openable =
        std::find_if(match.names.cbegin(), match.names.cend(), [](const QByteArray& n) { return isUtf8(n); });
    if (openable != match.names.cend()) {
        match.used = *openable;
        match.path = folder + QFile::decodeName(*openable);
    } else if (match.found()) {
        match.used = match.names.first();
    }
    match.differs = match.found() && match.used != exact;
    return match;
}

QString resolveStoredPath(const QString& path) {
    if (!isPathOfThisSystem(path) || QFileInfo::exists(path)) {
        return path;
    }
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return matchStoredName(path.left(slash + 1), path.mid(slash + 1)).path;
}

} // namespace kelvano
