#include "core/store/file_stamp.h"

#include "core/store/positioned_io.h"

#include <QFile>
#include <QHashFunctions>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kelvano {
namespace {

/// Any seed but 0: with 0, Qt's fast hash of long inputs is not used.
constexpr std::size_t HashSeed = 0x4B656C76;

} // namespace

FileStamp FileStamp::of(const QString& path) {
    FileStamp stamp;
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) {
        return stamp;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return stamp;
    }
    stamp.exists = true;
    stamp.size = status.st_size;
    std::vector<char> buffer(std::size_t(1) << 20);
    std::size_t hash = HashSeed;
    qint64 offset = 0;
    for (;;) {
        int error = 0;
        const qsizetype got = readFullyAt(descriptor, offset, buffer.data(), qsizetype(buffer.size()), error);
        if (got < 0 || error != 0) {
            stamp.exists = false; // unreadable: nothing known of its bytes
            break;
        }
        if (got == 0) {
            break;
        }
        hash = qHashBits(buffer.data(), std::size_t(got), hash);
        offset += got;
        if (got < qsizetype(buffer.size())) {
            break;
        }
    }
    ::close(descriptor);
    stamp.contentHash = hash;
    return stamp;
}

bool FileStamp::changedSince(const QString& path, const FileStamp& earlier) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return false;
    }
    if (!earlier.exists || status.st_size != earlier.size) {
        return true;
    }
    const FileStamp now = of(path);
    return !now.exists || now.size != earlier.size || now.contentHash != earlier.contentHash;
}

} // namespace kelvano
