#include "core/store/table_lock.h"

#include "core/store/file_names.h"

#include <QLockFile>

namespace kelvano {

TableLock::TableLock(const TableDataFiles& files) : m_path(files.lockPath()) {}

TableLock::~TableLock() {
    release();
}

TableLock::Taking TableLock::take(int waitMilliseconds) {
    if (isHeld()) {
        return Taking::Taken;
    }
    if (!isPathOfThisSystem(m_path)) {
        return Taking::Impossible;
    }
    m_file = std::make_unique<QLockFile>(m_path);
    // A table stays open for hours: only a holder that is no longer running makes a lock stale, never
    // its age.
    m_file->setStaleLockTime(0);
    if (m_file->tryLock(waitMilliseconds)) {
        return Taking::Taken;
    }
    const QLockFile::LockError error = m_file->error();
    m_file.reset();
    return error == QLockFile::LockFailedError ? Taking::HeldElsewhere : Taking::Impossible;
}

void TableLock::release() {
    if (m_file) {
        m_file->unlock();
        m_file.reset();
    }
}

bool TableLock::isHeld() const {
    return m_file && m_file->isLocked();
}

} // namespace kelvano
