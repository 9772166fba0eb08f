#pragma once

#include <QString>
#include <cstddef>

namespace kelvano {

/// What a file held when a program read or wrote it: its size and a hash of its bytes. A later stamp of
/// the same file tells whether another program changed it in between. The modification time is no
/// help either way: it advances by clock ticks, so two writes within one tick keep it, and a file
/// touched or copied back unchanged gets a new one.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    std::size_t contentHash = 0;

    /// Reads the whole file; a file that is missing or cannot be read counts as missing.
    static FileStamp of(const QString& path);

    /// True when the file at `path` now holds other bytes than when `earlier` was taken. A file that
    /// is gone is no change that a write could lose.
    static bool changedSince(const QString& path, const FileStamp& earlier);
};

} // namespace kelvano
