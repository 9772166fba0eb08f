#include "store/record_file.h"

#include "store/io_error.h"

namespace kelvano {

RecordFile::RecordFile(const QString& path, qsizetype recordSize) : m_file(path), m_recordSize(recordSize) {}

bool RecordFile::open() {
    return m_file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
}

bool RecordFile::openForReading() {
    return m_file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly);
}

bool RecordFile::openOrCreate() {
    if (open()) {
        return true;
    }
    if (m_file.exists()) {
        return false;
    }
    return m_file.open(QIODevice::ReadWrite | QIODevice::NewOnly);
}

qint64 RecordFile::recordCount() const {
    return m_file.size() / m_recordSize;
}

QByteArray RecordFile::read(qint64 number) {
    if (number < 0 || number >= recordCount()) {
        throw IoError(m_file.fileName(), QStringLiteral("ファイルの終わりを越えて読み込もうとしました"));
    }
    if (!m_file.seek(number * m_recordSize)) {
        throw IoError::fromFile(m_file);
    }
    QByteArray record = m_file.read(m_recordSize);
    if (record.size() != m_recordSize) {
        throw IoError::fromFile(m_file);
    }
    return record;
}

void RecordFile::write(qint64 number, QByteArrayView record) {
    Q_ASSERT(record.size() == m_recordSize);
    if (number < 0 || number > recordCount()) {
        throw IoError(m_file.fileName(), QStringLiteral("ファイルの終わりを越えた位置には書き込めません"));
    }
    if (!m_file.seek(number * m_recordSize) || m_file.write(record.data(), record.size()) != record.size() ||
        !m_file.flush()) {
        throw IoError::fromFile(m_file);
    }
}

} // namespace kelvano
