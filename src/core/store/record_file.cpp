#include "core/store/record_file.h"

#include "core/store/failure_reasons.h"
#include "core/store/file_names.h"
#include "core/store/io_error.h"
#include "core/store/plain_file.h"
#include "core/store/positioned_io.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvano {

RecordFile::RecordFile(const QString& path, qsizetype recordSize) : m_file(path), m_recordSize(recordSize) {}

bool RecordFile::open() {
    if (!isPathOfThisSystem(m_file.fileName())) {
        m_openError = ENOENT;
        return false;
    }
    return openPlainFile(m_file, QIODevice::ReadWrite | QIODevice::Unbuffered, m_openError);
}

bool RecordFile::openForReading() {
    if (!isPathOfThisSystem(m_file.fileName())) {
        m_openError = ENOENT;
        return false;
    }
    return openPlainFile(m_file, QIODevice::ReadOnly | QIODevice::Unbuffered, m_openError);
}

bool RecordFile::openOrCreate() {
    if (open()) {
        return true;
    }
    if (m_openError != ENOENT || !isPathOfThisSystem(m_file.fileName())) {
        return false;
    }
    return m_file.open(QIODevice::ReadWrite | QIODevice::NewOnly | QIODevice::Unbuffered);
}

qint64 RecordFile::recordCount() const {
    return m_file.size() / m_recordSize;
}

QByteArray RecordFile::read(qint64 number) {
    // One positioned read: a record that is not there whole lies past the end of the file.
    QByteArray record = number < 0 ? QByteArray() : bytesAt(number * m_recordSize, m_recordSize);
    if (record.size() != m_recordSize) {
        throw IoError(m_file.fileName(), Messages::ReadPastEnd);
    }
    return record;
}

void RecordFile::write(qint64 number, QByteArrayView record) {
    Q_ASSERT(record.size() == m_recordSize);
    if (number < 0 || number > recordCount()) {
        throw IoError(m_file.fileName(), Messages::WritePastEnd);
    }
    // Written past Qt's buffers, so that a write stopped part-way is seen with its error number and
    // undone: the file keeps whole records, never a torn one.
    const int descriptor = m_file.handle();
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        throw IoError::fromErrorNumber(m_file.fileName(), errno);
    }
    const qint64 oldSize = status.st_size;
    const qint64 offset = number * m_recordSize;
    const QByteArray previous =
        bytesAt(offset, std::min(m_recordSize, std::max<qint64>(oldSize - offset, 0)));
    const int error = writeFullyAt(descriptor, offset, record);
    if (error != 0) {
        writeFullyAt(descriptor, offset, previous);
        // Should cutting back fail too, the write's own error is still the one to report.
        [[maybe_unused]] const int cut = ::ftruncate(descriptor, oldSize);
        throw IoError::fromErrorNumber(m_file.fileName(), error);
    }
}

QByteArray RecordFile::bytesAt(qint64 offset, qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    int error = 0;
    const qsizetype got = readFullyAt(m_file.handle(), offset, bytes.data(), size, error);
    if (got < 0) {
        throw IoError::fromErrorNumber(m_file.fileName(), error);
    }
    bytes.truncate(got);
    return bytes;
}

} // namespace kelvano
