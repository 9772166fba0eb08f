#include "core/store/plain_file.h"

#include "core/store/io_error.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvano {

int openPlainFile(const QString& path, int flags, int& error) {
    const int descriptor = ::open(QFile::encodeName(path).constData(), flags | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        error = errno;
        return -1;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        error = errno;
    } else if (!S_ISREG(status.st_mode)) {
        error = S_ISDIR(status.st_mode) ? EISDIR : NotAPlainFileError;
    } else {
        error = 0;
    }
    if (error != 0) {
        ::close(descriptor);
        return -1;
    }
    // A plain file never blocks; the flag is taken off so that nothing later depends on it.
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    return descriptor;
}

bool openPlainFile(QFile& file, QIODevice::OpenMode mode, int& error) {
    const int flags = mode.testFlag(QIODevice::WriteOnly) ? O_RDWR : O_RDONLY;
    const int descriptor = openPlainFile(file.fileName(), flags, error);
    if (descriptor < 0) {
        return false;
    }
    if (!file.open(descriptor, mode, QFileDevice::AutoCloseHandle)) {
        error = EIO;
        ::close(descriptor);
        return false;
    }
    return true;
}

} // namespace kelvano
