#pragma once

#include "core/store/io_error.h"
#include "core/store/scratch_files.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;

namespace kelvano {

class ScratchDevice;

/// The system calls that make a replacement durable and put it in place: fsync(2), syncfs(2) and
/// rename(2). Each answers 0 or the system's error number. The system's own are in use unless a test
/// has put others in place to watch their order or make one fail.
class FileSyncCalls {
public:
    virtual ~FileSyncCalls() = default;
    /// Syncs the open file `path` to disk.
    virtual int syncFile(int descriptor, const QString& path);
    /// Syncs the whole file system that holds the open file `path`.
    virtual int syncFileSystem(int descriptor, const QString& path);
    virtual int rename(const QString& from, const QString& to);

    static FileSyncCalls& current();
    /// Puts `calls` in place (nullptr: the system's again) and answers the ones it replaces.
    static FileSyncCalls* install(FileSyncCalls* calls);
};

/// One whole-file rewrite: the new contents go to a scratch file in the same folder, which is synced
/// to disk, given the old file's permissions and then renamed over the old file in one step. Until the
/// rename the old file is untouched; a scratch file left by any failure is removed.
class FileReplacement {
public:
    /// `scratchPath` names the scratch file where the system has a name for it ("ZSTREX.TMP", a table's
    /// ".TMP"); empty, a new file of a unique name beside `path` is used.
    explicit FileReplacement(QString path, QString scratchPath = QString());
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    /// Creates the scratch file (a named one is emptied first); false when it cannot be created, and
    /// then nothing has changed.
    bool open();
    /// The scratch file, unbuffered: write through writeAll, in pieces larger than single lines.
    QIODevice& device();
    /// Syncs the scratch file and renames it over the file. An IoError (with the system's error
    /// number) when that fails; the scratch file is then gone and the old file unchanged.
    void commit();
    /// The error of the scratch file's creation, for callers that report it.
    int openErrorNumber() const { return m_openError; }
    /// Closes the scratch file without syncing it or renaming it, and hands it over: the caller syncs,
    /// renames or removes it (ReplacementBatch). An IoError when closing fails; the scratch file is
    /// then gone.
    QString closeUnsynced();

private:
    void discard();

    QString m_path;
    QString m_scratchPath;
    std::unique_ptr<ScratchDevice> m_device;
    ScratchClaim m_claim;
    int m_openError = 0;
};

/// Many whole-file rewrites that become durable together: each file's new contents go to a scratch
/// file beside it, and commit() syncs them all with one sync of their file systems before renaming
/// each over its file. Every file is old or new after a crash, as with a FileReplacement, at the cost
/// of one sync per run instead of one per file.
class ReplacementBatch {
public:
    ReplacementBatch() = default;
    /// Removes the scratch files not yet committed.
    ~ReplacementBatch();
    ReplacementBatch(const ReplacementBatch&) = delete;
    ReplacementBatch& operator=(const ReplacementBatch&) = delete;

    /// Writes the new contents of `path` to its scratch file; new contents equal to the file's old ones
    /// leave it as it is, without a scratch file (UnchangedFileCheck). Whatever `write` throws (an
    /// IoError included) goes on to the caller, and that scratch file is removed.
    void add(const QString& path, const std::function<void(QIODevice&)>& write);

    /// How many files wait for commit(); with dropFrom(), the files of one step go in together or not
    /// at all.
    qsizetype size() const { return m_pending.size(); }
    /// Gives up the files added since size() was `count`: their scratch files go, their files stay.
    void dropFrom(qsizetype count);

    struct Failure {
        QString path;
        IoError error;
    };
    /// Syncs the scratch files, renames each over its file in the order added and syncs their folders.
    /// The files that could not be replaced, each keeping its old contents; when the sync fails, all.
    QList<Failure> commit();

private:
    struct Pending {
        QString path;
        QString scratchPath;
    };
    QList<Pending> m_pending;
    /// Held until the scratch files are renamed or removed, one per folder that holds some.
    QStringList m_claimedFolders;
    std::vector<ScratchClaim> m_claims;
};

/// Replaces a whole file through a FileReplacement with a unique scratch name: `write` fills the
/// scratch file. On any failure the old file stays as it was and an IoError is thrown.
void replaceWholeFile(const QString& path, const std::function<void(QIODevice&)>& write);
void replaceWholeFile(const QString& path, QByteArrayView contents);

/// Writes all bytes to an open device; an IoError, with the system's error number where the device
/// knows it, when the device takes fewer.
void writeAll(QIODevice& device, QByteArrayView bytes);

} // namespace kelvano
