#include "core/store/io_error.h"

#include "core/store/failure_reasons.h"

#include <QFileDevice>

namespace kelvano {

IoError::IoError(QString path, QString reason, int errorNumber)
    : std::runtime_error((path + QStringLiteral(": ") + reason).toStdString()), m_path(std::move(path)),
      m_reason(std::move(reason)), m_errorNumber(errorNumber) {}

IoError IoError::fromErrorNumber(QString path, int errorNumber) {
    return IoError(std::move(path), systemErrorReason(errorNumber), errorNumber);
}

namespace {

/// The error numbers that have a Japanese reason.
constexpr int KnownErrorNumbers[] = {ENOENT, EACCES,       EPERM,   ENOSPC, EDQUOT, EFBIG, EROFS,
                                     EISDIR, ENAMETOOLONG, ENOTDIR, EIO,    EEXIST, ELOOP};

} // namespace

IoError IoError::fromFile(const QFileDevice& file, int errorNumber) {
    // Qt keeps the system's text of the failure it saw; errno may since have been changed by other
    // calls Qt made, so the text is asked first and the number only when Qt gave no text.
    const QString text = file.errorString();
    for (const int known : KnownErrorNumbers) {
        if (text == qt_error_string(known)) {
            return fromErrorNumber(file.fileName(), known);
        }
    }
    if (!text.isEmpty() && text != QStringLiteral("Unknown error")) {
        return IoError(file.fileName(), text);
    }
    if (errorNumber != 0) {
        return fromErrorNumber(file.fileName(), errorNumber);
    }
    return IoError(file.fileName(), Messages::UnknownIoReason);
}

QString IoError::message() const {
    return m_path + QStringLiteral("\n") + m_reason;
}

QString systemErrorReason(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
        return Messages::NoSuchFileOrFolder;
    case EACCES:
    case EPERM:
        return Messages::PermissionDenied;
    case ENOSPC:
    case EDQUOT:
        return Messages::DiskFull;
    case EFBIG:
        return Messages::FileTooLarge;
    case EROFS:
        return Messages::ReadOnlyFileSystem;
    case ENAMETOOLONG:
        return Messages::NameTooLong;
    case ENOTDIR:
        return Messages::NotAFolder;
    case EISDIR:
        return Messages::IsAFolder;
    case EIO:
        return Messages::DeviceError;
    case EEXIST:
        return Messages::AlreadyThere;
    case ELOOP:
        return Messages::LinkLoop;
    case NotAPlainFileError:
        return Messages::NotAPlainFile;
    case FileChangedError:
        return Messages::FileChangedSinceRead;
    default:
        return qt_error_string(errorNumber);
    }
}

} // namespace kelvano
