#pragma once

#include <QString>
#include <cerrno>
#include <stdexcept>

class QFileDevice;

namespace kelvano {

/// An I/O failure: the file's path, the reason shown to the user and, when the system gave one, its error
/// number.
class IoError : public std::runtime_error {
public:
    IoError(QString path, QString reason, int errorNumber = 0);

    /// The failure the system reported with `errorNumber`, its reason in Japanese where one is known.
    static IoError fromErrorNumber(QString path, int errorNumber);
    /// The failure of the last operation on a file, from the system text Qt kept for it; when Qt kept
    /// none (a short write, say), from `errorNumber` (errno by default: call it right after the
    /// failing call).
    static IoError fromFile(const QFileDevice& file, int errorNumber = errno);

    const QString& path() const { return m_path; }
    const QString& reason() const { return m_reason; }
    /// The system error number behind the failure; 0 when the program itself found the fault.
    int errorNumber() const { return m_errorNumber; }
    /// The text shown to the user: the path, then the reason.
    QString message() const;

private:
    QString m_path;
    QString m_reason;
    int m_errorNumber;
};

/// The error number of a stored file that is no plain file (a pipe, a device, a socket), which the
/// system has none for.
inline constexpr int NotAPlainFileError = -1;
/// The error number of a file read twice that no longer holds what the first reading saw (another size
/// or modification time).
inline constexpr int FileChangedError = -2;

/// The reason a system error number stands for: a Japanese text for the common ones, the system's own
/// text for the rest.
QString systemErrorReason(int errorNumber);

} // namespace kelvano
