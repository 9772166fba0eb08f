#include "core/store/unchanged_file.h"

#include "core/store/io_error.h"
#include "core/store/positioned_io.h"
#include "core/store/save_file.h"

#include <QFile>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvano {
namespace {

constexpr qsizetype PieceSize = 256 * 1024;

} // namespace

UnchangedFileCheck::UnchangedFileCheck(const QString& path, std::function<QIODevice&()> startScratch)
    : m_path(path), m_startScratch(std::move(startScratch)) {
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    // Only a plain file is compared, never through a link (which the replacement replaces by a file),
    // and only up to the size where comparing pays.
    m_old = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat status {};
    if (m_old >= 0 &&
        (::fstat(m_old, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > ComparedUpTo)) {
        closeOld();
    }
    m_oldSize = m_old >= 0 ? status.st_size : 0;
    // With nothing to compare the scratch file is started at once, so that a folder where none can be
    // made is told before anything is written.
    if (m_old < 0) {
        diverge();
    }
}

UnchangedFileCheck::~UnchangedFileCheck() {
    closeOld();
}

void UnchangedFileCheck::closeOld() {
    if (m_old >= 0) {
        ::close(m_old);
        m_old = -1;
    }
}

void UnchangedFileCheck::diverge() {
    m_scratch = &m_startScratch();
    // The old file's start that the new bytes repeat is copied, not made again.
    m_buffer.resize(size_t(PieceSize));
    for (qint64 copied = 0; copied < m_matched;) {
        int error = 0;
        const qsizetype got = readFullyAt(m_old, copied, m_buffer.data(),
                                          qsizetype(std::min<qint64>(PieceSize, m_matched - copied)), error);
        if (got <= 0) {
            throw IoError::fromErrorNumber(m_path, got < 0 ? error : EIO);
        }
        writeAll(*m_scratch, QByteArrayView(m_buffer.data(), got));
        copied += got;
    }
    closeOld();
    m_buffer = {};
}

qint64 UnchangedFileCheck::writeData(const char* data, qint64 size) {
    // An exception does not go through QIODevice::write: it is kept, and writeAll throws it.
    try {
        return compareOrWrite(data, size);
    } catch (const IoError& error) {
        m_failure = error;
        setErrorString(error.reason());
        return -1;
    }
}

qint64 UnchangedFileCheck::compareOrWrite(const char* data, qint64 size) {
    if (m_scratch == nullptr && m_old >= 0 && m_matched + size <= m_oldSize) {
        m_buffer.resize(size_t(PieceSize));
        qint64 same = 0;
        while (same < size) {
            int error = 0;
            const qsizetype wanted = qsizetype(std::min<qint64>(PieceSize, size - same));
            const qsizetype got = readFullyAt(m_old, m_matched + same, m_buffer.data(), wanted, error);
            if (got != wanted || std::memcmp(m_buffer.data(), data + same, size_t(wanted)) != 0) {
                break;
            }
            same += wanted;
        }
        if (same == size) {
            m_matched += size;
            return size;
        }
    }
    if (m_scratch == nullptr) {
        diverge();
    }
    writeAll(*m_scratch, QByteArrayView(data, size));
    return size;
}

bool UnchangedFileCheck::finish() {
    if (m_scratch == nullptr && m_old >= 0 && m_matched == m_oldSize) {
        closeOld();
        return true;
    }
    if (m_scratch == nullptr) {
        diverge(); // the new bytes are a shorter start of the old ones, or there is no old file
    }
    return false;
}

} // namespace kelvano
