#include "store/io_error.h"

#include <QFileDevice>

namespace kelvano {

IoError::IoError(QString path, QString reason)
    : std::runtime_error((path + QStringLiteral(": ") + reason).toStdString()), m_path(std::move(path)),
      m_reason(std::move(reason)) {}

IoError IoError::fromFile(const QFileDevice& file) {
    return IoError(file.fileName(), file.errorString());
}

QString IoError::message() const {
    return m_path + QStringLiteral("\n") + m_reason;
}

} // namespace kelvano
