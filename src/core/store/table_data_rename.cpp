#include "core/store/table_data_rename.h"

#include "core/store/file_names.h"
#include "core/store/stored_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

namespace kelvano {
namespace {

/// The data files a table's FileName names, in the order they are renamed.
constexpr QStringView DataExtensions[] = {u".TBL", u".ALI", u".URL"};

/// The data file of `base` + `extension` found without regard to case; empty when there is none.
QString existingDataFile(const QString& base, QStringView extension) {
    const QString path = resolveStoredPath(base + extension.toString());
    return isPathOfThisSystem(path) && QFileInfo(path).isFile() ? path : QString();
}

/// A file in `folder` (not a folder) whose name matches `name` as a stored name does, other than
/// `except`; empty when there is none.
QString fileNamedIgnoringCase(const QString& folder, const QString& name, const QString& except) {
    for (const QByteArray& existing : matchStoredName(folder, name).names) {
        if (decodeNameOnDisk(existing) != except) {
            return folder + decodeNameOnDisk(existing);
        }
    }
    return QString();
}

} // namespace

int renameWithoutReplacing(const QString& from, const QString& to) {
    return renameWithoutReplacing(QFile::encodeName(from), QFile::encodeName(to));
}

int renameWithoutReplacing(const QByteArray& source, const QByteArray& target) {
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // A file system that cannot refuse a replacement itself: looked at first, then renamed.
    struct stat status {};
    if (::lstat(target.constData(), &status) == 0) {
        return EEXIST;
    }
    return std::rename(source.constData(), target.constData()) == 0 ? 0 : errno;
}

TableDataRename::TableDataRename(const QString& dataFolder, const QString& oldName, const QString& newName)
    : m_dataFolder(dataFolder), m_oldName(oldName), m_newName(newName),
      m_lock(TableDataFiles(dataFolder, oldName)) {}

bool TableDataRename::hasDataFiles() const {
    for (const QStringView extension : DataExtensions) {
        if (!existingDataFile(m_dataFolder + m_oldName, extension).isEmpty()) {
            return true;
        }
    }
    return false;
}

TableDataRename::Result TableDataRename::run() {
    Result result;
    // A lock file that cannot be made means that no one holds the lock (a holder made it); the renames
    // then tell for themselves whether the folder can be changed.
    if (m_lock.take() == TableLock::Taking::HeldElsewhere) {
        result.outcome = Outcome::Locked;
        return result;
    }
    QList<Move> planned;
    for (const QStringView extension : DataExtensions) {
        const QString from = existingDataFile(m_dataFolder + m_oldName, extension);
        const QString fromName = from.isEmpty() ? QString() : QFileInfo(from).fileName();
        // Every one of the three names counts, so that the table never takes up a stray file under its
        // new name. A name differing from the old one only in case finds the old file itself.
        const QString wanted = m_newName + extension.toString();
        const QString inTheWay = fileNamedIgnoringCase(m_dataFolder, wanted, fromName);
        if (!inTheWay.isEmpty()) {
            result.outcome = Outcome::TargetExists;
            result.inTheWay = inTheWay;
            return result;
        }
        if (!from.isEmpty()) {
            // The extension keeps the spelling it has on disk.
            planned.append({from, m_dataFolder + m_newName + fromName.right(extension.size())});
        }
    }
    for (const Move& move : std::as_const(planned)) {
        if (const int error = renameWithoutReplacing(move.from, move.to); error != 0) {
            result.outcome = Outcome::Failed;
            result.failedFrom = move.from;
            result.failedTo = move.to;
            result.error = IoError::fromErrorNumber(move.from, error);
            result.notPutBack = putBack();
            for (const Move& done : std::as_const(result.moves)) {
                if (!result.notPutBack.contains(done.to)) {
                    result.putBack.append(done.from);
                }
            }
            result.moves.clear();
            return result;
        }
        m_done.append(move);
        result.moves.append(move);
    }
    return result;
}

QStringList TableDataRename::putBack() {
    QStringList notPutBack;
    // Last renamed first, the way they were renamed undone.
    for (qsizetype i = m_done.size() - 1; i >= 0; --i) {
        const Move& move = m_done.at(i);
        if (renameWithoutReplacing(move.to, move.from) != 0) {
            notPutBack.prepend(move.to);
        }
    }
    m_done.clear();
    return notPutBack;
}

} // namespace kelvano
