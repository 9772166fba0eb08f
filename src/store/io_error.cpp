#include "store/io_error.h"

#include "store/messages.h"

#include <QFileDevice>

namespace kelvano {

IoError::IoError(QString path, QString reason, int errorNumber)
    : std::runtime_error((path + QStringLiteral(": ") + reason).toStdString()), m_path(std::move(path)),
      m_reason(std::move(reason)), m_errorNumber(errorNumber) {}

IoError IoError::fromErrorNumber(QString path, int errorNumber) {
    return IoError(std::move(path), systemErrorReason(errorNumber), errorNumber);
}

IoError IoError::fromFile(const QFileDevice& file, int errorNumber) {
    if (errorNumber != 0) {
        return fromErrorNumber(file.fileName(), errorNumber);
    }
    // Qt says "Unknown error" when the system gave no number (a short write, say).
    const QString text = file.errorString();
    const bool told = !text.isEmpty() && text != QStringLiteral("Unknown error");
    return IoError(file.fileName(), told ? text : Messages::UnknownIoReason);
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
    case EIO:
        return Messages::DeviceError;
    default:
        return qt_error_string(errorNumber);
    }
}

} // namespace kelvano
