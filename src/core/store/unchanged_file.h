#pragma once

#include "core/store/io_error.h"

#include <QIODevice>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace kelvano {

/// Where a file's new contents go when the file is to be left as it is if they equal its old ones: the
/// bytes are compared with the old file as they come, and only at the first difference is the
/// replacement's scratch file started (asked of `startScratch`), the old file's equal start copied into
/// it and the rest written there. A file whose new bytes are all its old ones thus costs a read of it,
/// no new file, no rename and no sync, and keeps its modification time; a file that differs early costs
/// next to nothing more than writing it anew.
class UnchangedFileCheck : public QIODevice {
public:
    /// Larger old files are not compared: the new bytes go to the scratch file at once. Comparing a
    /// 14 MB page (10,000 rows) that differs only at its end (a date in the footer) costs a read of the
    /// whole old page and a copy of it, about 1.3 times writing it anew, while a page left alone
    /// saves only about 10% there; for small pages the new file, sync and rename saved are what counts.
    static constexpr qint64 ComparedUpTo = 4 * 1024 * 1024;

    /// `path` is the old file (it need not exist: a missing file, a link or no plain file differs at
    /// once, and the scratch file is started here). `startScratch` creates the scratch file and gives
    /// it; it may throw, here too.
    UnchangedFileCheck(const QString& path, std::function<QIODevice&()> startScratch);
    ~UnchangedFileCheck() override;

    bool isSequential() const override { return true; }
    /// Ends the writing: true when the new bytes were the old file's, all of them (no scratch file was
    /// started); otherwise the scratch file holds the whole new contents.
    bool finish();
    /// Why the last write failed (the scratch file could not be made or written, the old file read),
    /// which writeAll throws; nullopt when none did.
    const std::optional<IoError>& failure() const { return m_failure; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    /// Starts the scratch file with the old file's first `m_matched` bytes.
    void diverge();
    void closeOld();
    qint64 compareOrWrite(const char* data, qint64 size);

    QString m_path;
    std::function<QIODevice&()> m_startScratch;
    QIODevice* m_scratch = nullptr;
    int m_old = -1;
    qint64 m_oldSize = 0;
    qint64 m_matched = 0;
    std::vector<char> m_buffer;
    std::optional<IoError> m_failure;
};

} // namespace kelvano
