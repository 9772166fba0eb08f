#pragma once

#include "core/store/table_data_files.h"

#include <QString>
#include <memory>

class QLockFile;

namespace kelvano {

/// The lock of one table's data files: a lock file beside them (FileName + ".LCK"), held by the window
/// program while the table is open in its editor and by kelvano-publish while it changes the table's
/// rows. A lock left by a program that ended without releasing it (a crash, a power cut) is taken over.
class TableLock {
public:
    explicit TableLock(const TableDataFiles& files);
    /// Releases the lock when it is held.
    ~TableLock();
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;

    enum class Taking {
        Taken,         ///< this object holds the lock now
        HeldElsewhere, ///< a running program (or another object of this one) holds it
        Impossible,    ///< the lock file cannot be made (a folder that cannot be written, a missing one)
    };
    /// Takes the lock, waiting at most `waitMilliseconds` for another holder to release it.
    Taking take(int waitMilliseconds = 0);
    /// How long a program that writes a table's files and ends (an import) waits for another
    /// writer before it refuses: long enough for an import of many rows to finish.
    static constexpr int WriterWaitMilliseconds = 10000;
    void release();
    bool isHeld() const;
    const QString& path() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_file;
};

} // namespace kelvano
