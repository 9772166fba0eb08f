#pragma once

#include <QString>
#include <stdexcept>

class QFileDevice;

namespace kelvano {

/// An I/O failure after a file was opened: the file's path and the operating system's error text.
class IoError : public std::runtime_error {
public:
    IoError(QString path, QString reason);

    /// The failure of the last operation on an open file.
    static IoError fromFile(const QFileDevice& file);

    const QString& path() const { return m_path; }
    const QString& reason() const { return m_reason; }
    /// The text shown to the user: the path, then the reason.
    QString message() const;

private:
    QString m_path;
    QString m_reason;
};

} // namespace kelvano
