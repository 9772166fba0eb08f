#include "core/store/positioned_io.h"

#include <cerrno>
#include <unistd.h>

namespace kelvano {

int writeFullyAt(int descriptor, qint64 offset, QByteArrayView bytes) {
    const char* data = bytes.data();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written =
            ::pwrite(descriptor, data, static_cast<size_t>(left), static_cast<off_t>(offset));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return ENOSPC;
        }
        data += written;
        left -= written;
        offset += written;
    }
    return 0;
}

qsizetype readFullyAt(int descriptor, qint64 offset, char* into, qsizetype size, int& error) {
    qsizetype got = 0;
    while (got < size) {
        const ssize_t n = ::pread(descriptor, into + got, static_cast<size_t>(size - got),
                                  static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            error = errno;
            return -1;
        }
        if (n == 0) {
            break;
        }
        got += n;
    }
    return got;
}

} // namespace kelvano
