#include "core/store/save_file.h"

#include "core/store/early_write_back.h"
#include "core/store/io_error.h"
#include "core/store/positioned_io.h"
#include "core/store/unchanged_file.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvano {

/// An unbuffered device over a file descriptor that keeps the error number of a failed write, which
/// QFile loses when a write stops part-way (a full disk, a file-size limit).
class ScratchDevice : public QIODevice {
public:
    /// `path` is the file the errors name.
    ScratchDevice(int descriptor, QString path) : m_descriptor(descriptor), m_path(std::move(path)) {
        QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    ~ScratchDevice() override { closeDescriptor(); }

    /// How many bytes go by between two early syncs of a large file; a smaller file is never synced
    /// before its owner syncs it.
    static constexpr qint64 EarlyWriteBackStep = 8 * 1024 * 1024;

    bool isSequential() const override { return true; }
    int descriptor() const { return m_descriptor; }
    const QString& path() const { return m_path; }
    int errorNumber() const { return m_errorNumber; }

    /// Closes the descriptor; the error number of a failing early sync or close, or 0.
    int closeDescriptor() {
        if (m_descriptor < 0) {
            return 0;
        }
        const int writeBackError = m_writeBack ? m_writeBack->stop() : 0;
        m_writeBack.reset();
        const int result = ::close(m_descriptor);
        m_descriptor = -1;
        if (writeBackError != 0) {
            return writeBackError;
        }
        return result == 0 ? 0 : errno;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        const int error = writeFullyAt(m_descriptor, m_written, QByteArrayView(data, size));
        if (error != 0) {
            m_errorNumber = error;
            setErrorString(systemErrorReason(error));
            return -1;
        }
        m_written += size;
        if (m_written >= m_nextWriteBack) {
            if (!m_writeBack) {
                m_writeBack = std::make_unique<EarlyWriteBack>(m_descriptor);
            }
            m_writeBack->request();
            m_nextWriteBack = m_written + EarlyWriteBackStep;
        }
        return size;
    }

private:
    int m_descriptor;
    QString m_path;
    qint64 m_written = 0;
    int m_errorNumber = 0;
    qint64 m_nextWriteBack = EarlyWriteBackStep;
    std::unique_ptr<EarlyWriteBack> m_writeBack;
};

namespace {

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

FileSyncCalls systemCalls;
FileSyncCalls* installedCalls = nullptr;

/// The permission bits of the file a new one replaces; nullopt when there is none (the new file then
/// gets the default the umask leaves).
std::optional<mode_t> permissionsOf(const QString& path) {
    struct stat status {};
    if (::stat(nativePath(path).constData(), &status) == 0) {
        return status.st_mode & 07777;
    }
    return std::nullopt;
}

/// The program never changes its umask, so it is asked once.
mode_t processUmask() {
    static const mode_t mask = [] {
        const mode_t current = ::umask(0);
        ::umask(current);
        return current;
    }();
    return mask;
}

/// Creates a file that is not there yet, never through a symbolic link; -1 and errno when it cannot.
int createNewFile(const QString& path, mode_t mode) {
    return ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
}

/// Removes a scratch file left at a fixed name by an earlier run: only a plain file of this user with
/// no other name, never a link, a folder or a file someone else made; true when it is gone.
bool removeLeftScratchFile(const QString& path) {
    struct stat status {};
    const QByteArray name = nativePath(path);
    if (::lstat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid() ||
        status.st_nlink != 1) {
        return false;
    }
    return ::unlink(name.constData()) == 0;
}

/// Makes a finished rename durable; a folder that cannot be synced (some file systems refuse) does not
/// undo the replacement.
void syncFolderOf(const QString& path) {
    const QString folderPath = QFileInfo(path).absolutePath();
    const int folder = ::open(nativePath(folderPath).constData(), O_RDONLY | O_CLOEXEC);
    if (folder >= 0) {
        FileSyncCalls::current().syncFile(folder, folderPath);
        ::close(folder);
    }
}

} // namespace

int FileSyncCalls::syncFile(int descriptor, const QString&) {
    return ::fsync(descriptor) == 0 ? 0 : errno;
}

int FileSyncCalls::syncFileSystem(int descriptor, const QString&) {
    return ::syncfs(descriptor) == 0 ? 0 : errno;
}

int FileSyncCalls::rename(const QString& from, const QString& to) {
    return std::rename(nativePath(from).constData(), nativePath(to).constData()) == 0 ? 0 : errno;
}

FileSyncCalls& FileSyncCalls::current() {
    return installedCalls != nullptr ? *installedCalls : systemCalls;
}

FileSyncCalls* FileSyncCalls::install(FileSyncCalls* calls) {
    return std::exchange(installedCalls, calls);
}

FileReplacement::FileReplacement(QString path, QString scratchPath)
    : m_path(std::move(path)), m_scratchPath(std::move(scratchPath)) {}

FileReplacement::~FileReplacement() {
    discard();
}

bool FileReplacement::open() {
    // The new file gets the permissions of the file it replaces.
    const std::optional<mode_t> kept = permissionsOf(m_path);
    const mode_t mode = kept.value_or(0666);
    const bool namedScratch = !m_scratchPath.isEmpty();
    int descriptor = -1;
    int error = 0;
    const auto create = [&] {
        descriptor = createNewFile(m_scratchPath, mode);
        error = descriptor < 0 ? errno : 0;
    };
    m_claim = ScratchClaim(QFileInfo(namedScratch ? m_scratchPath : m_path).absolutePath());
    if (namedScratch) {
        // A fixed name can be planted (a link to a file elsewhere, a file of someone else's): it is
        // only ever created new, after a scratch file that a run of ours left there is removed.
        create();
        if (error == EEXIST) {
            m_claim.whileUnclaimedElsewhere([&] {
                if (removeLeftScratchFile(m_scratchPath)) {
                    create();
                }
            });
        }
    } else {
        for (int attempt = 0; attempt < 100 && (attempt == 0 || error == EEXIST); ++attempt) {
            m_scratchPath = scratchNameBeside(m_path);
            create();
        }
    }
    if (descriptor < 0) {
        m_openError = error;
        m_claim = ScratchClaim();
        return false;
    }
    // Creating leaves out what the umask takes, which the old file's bits may hold; a named scratch
    // file may be left from before with bits of its own.
    const mode_t wanted = kept.value_or(0666 & ~processUmask());
    if (namedScratch || (mode & ~processUmask()) != wanted) {
        ::fchmod(descriptor, wanted);
    }
    // Errors name the file being replaced: the scratch file is never the user's.
    m_device = std::make_unique<ScratchDevice>(descriptor, m_path);
    return true;
}

QIODevice& FileReplacement::device() {
    Q_ASSERT(m_device);
    return *m_device;
}

void FileReplacement::commit() {
    Q_ASSERT(m_device);
    // On disk before it replaces the file, so that a crash cannot leave an empty or torn file behind.
    if (const int error = FileSyncCalls::current().syncFile(m_device->descriptor(), m_scratchPath);
        error != 0) {
        discard();
        throw IoError::fromErrorNumber(m_path, error);
    }
    if (const int error = m_device->closeDescriptor(); error != 0) {
        discard();
        throw IoError::fromErrorNumber(m_path, error);
    }
    // rename() replaces the old file in one step, so there is no moment without it.
    if (const int error = FileSyncCalls::current().rename(m_scratchPath, m_path); error != 0) {
        discard();
        throw IoError::fromErrorNumber(m_path, error);
    }
    m_device.reset();
    m_scratchPath.clear();
    m_claim = ScratchClaim();
    syncFolderOf(m_path);
}

QString FileReplacement::closeUnsynced() {
    Q_ASSERT(m_device);
    if (const int error = m_device->closeDescriptor(); error != 0) {
        discard();
        throw IoError::fromErrorNumber(m_path, error);
    }
    m_device.reset();
    return std::exchange(m_scratchPath, QString());
}

ReplacementBatch::~ReplacementBatch() {
    for (const Pending& pending : std::as_const(m_pending)) {
        if (!pending.scratchPath.isEmpty()) {
            ::unlink(nativePath(pending.scratchPath).constData());
        }
    }
}

void ReplacementBatch::add(const QString& path, const std::function<void(QIODevice&)>& write) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!m_claimedFolders.contains(folder)) {
        m_claims.emplace_back(folder);
        m_claimedFolders.append(folder);
    }
    FileReplacement replacement(path);
    UnchangedFileCheck check(path, [&]() -> QIODevice& {
        if (!replacement.open()) {
            throw IoError::fromErrorNumber(path, replacement.openErrorNumber());
        }
        return replacement.device();
    });
    write(check);
    // A file whose new bytes are its old ones stays as it is: it waits with no scratch file.
    m_pending.append({path, check.finish() ? QString() : replacement.closeUnsynced()});
}

void ReplacementBatch::dropFrom(qsizetype count) {
    while (m_pending.size() > count) {
        if (const QString scratchPath = m_pending.takeLast().scratchPath; !scratchPath.isEmpty()) {
            ::unlink(nativePath(scratchPath).constData());
        }
    }
}

QList<ReplacementBatch::Failure> ReplacementBatch::commit() {
    QList<Failure> failures;
    QList<Pending> pending = std::exchange(m_pending, {});
    // The files left as they were have nothing to sync or rename.
    pending.removeIf([](const Pending& file) { return file.scratchPath.isEmpty(); });
    // One sync per file system holding scratch files (in practice the one HTML folder's).
    QStringList folders;
    for (const Pending& file : pending) {
        const QString folder = QFileInfo(file.path).absolutePath();
        if (!folders.contains(folder)) {
            folders.append(folder);
        }
    }
    // A few files are synced one by one; more with one sync of each file system that holds them
    // (in practice the one HTML folder's), which also writes out what others have left unwritten
    // there but costs one wait instead of one per file.
    constexpr qsizetype FilesSyncedOneByOne = 4;
    int syncError = 0;
    const auto syncEach = [&syncError](const QStringList& paths, bool wholeFileSystem) {
        for (const QString& path : paths) {
            const int descriptor = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC);
            FileSyncCalls& calls = FileSyncCalls::current();
            if (descriptor < 0) {
                syncError = errno;
            } else {
                syncError = wholeFileSystem ? calls.syncFileSystem(descriptor, path)
                                            : calls.syncFile(descriptor, path);
            }
            if (descriptor >= 0) {
                ::close(descriptor);
            }
            if (syncError != 0) {
                return;
            }
        }
    };
    if (pending.size() <= FilesSyncedOneByOne) {
        QStringList scratchPaths;
        for (const Pending& file : pending) {
            scratchPaths.append(file.scratchPath);
        }
        syncEach(scratchPaths, false);
    } else {
        syncEach(folders, true);
    }
    for (const Pending& file : pending) {
        // Until its contents are on disk no file is replaced: a crash could leave it empty.
        if (syncError != 0) {
            ::unlink(nativePath(file.scratchPath).constData());
            failures.append({file.path, IoError::fromErrorNumber(file.path, syncError)});
            continue;
        }
        if (const int error = FileSyncCalls::current().rename(file.scratchPath, file.path); error != 0) {
            ::unlink(nativePath(file.scratchPath).constData());
            failures.append({file.path, IoError::fromErrorNumber(file.path, error)});
        }
    }
    if (syncError == 0) {
        for (const QString& folder : std::as_const(folders)) {
            syncFolderOf(folder + QStringLiteral("/."));
        }
    }
    m_claims.clear();
    m_claimedFolders.clear();
    return failures;
}

void FileReplacement::discard() {
    if (!m_device) {
        return;
    }
    m_device->closeDescriptor();
    m_device.reset();
    ::unlink(nativePath(m_scratchPath).constData());
    m_claim = ScratchClaim();
}

void replaceWholeFile(const QString& path, const std::function<void(QIODevice&)>& write) {
    FileReplacement replacement(path);
    if (!replacement.open()) {
        throw IoError::fromErrorNumber(path, replacement.openErrorNumber());
    }
    write(replacement.device());
    replacement.commit();
}

void replaceWholeFile(const QString& path, QByteArrayView contents) {
    replaceWholeFile(path, [contents](QIODevice& device) { writeAll(device, contents); });
}

void writeAll(QIODevice& device, QByteArrayView bytes) {
    if (device.write(bytes.data(), bytes.size()) == bytes.size()) {
        return;
    }
    if (const auto* scratch = dynamic_cast<const ScratchDevice*>(&device)) {
        throw IoError::fromErrorNumber(scratch->path(), scratch->errorNumber());
    }
    if (const auto* check = dynamic_cast<const UnchangedFileCheck*>(&device); check && check->failure()) {
        throw *check->failure();
    }
    const auto* file = qobject_cast<QFileDevice*>(&device);
    throw file ? IoError::fromFile(*file) : IoError(QString(), device.errorString());
}

} // namespace kelvano
