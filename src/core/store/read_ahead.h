#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace kelvano {

/// Reads an open file from its start in blocks of a fixed size, on a thread of its own that stays a
/// few blocks ahead, so that a reader working through a large file (a page's rows) does not wait for
/// the file's bytes while it works on the ones before.
class FileReadAhead {
public:
    /// Reads `descriptor` (which must stay open while this lives) from offset 0; `path` names the file
    /// in errors.
    FileReadAhead(int descriptor, QString path, qsizetype blockSize);
    /// Where bytes lie within a record.
    struct ByteRange {
        qsizetype at = 0;
        qsizetype size = 0;
    };
    /// The part of a file of fixed-size records that is read: the same `ranges` (in order, apart and
    /// within the record) of each of the first `records` records.
    struct RecordRanges {
        qsizetype recordSize = 0;
        qint64 records = 0;
        std::vector<ByteRange> ranges;
    };
    /// Reads only `part`: a block holds `blockSize / part.recordSize` records, each at its place, the
    /// other bytes of each record zero.
    FileReadAhead(int descriptor, QString path, qsizetype blockSize, RecordRanges part);
    /// Stops the thread, waiting at most for the block being read.
    ~FileReadAhead();
    FileReadAhead(const FileReadAhead&) = delete;
    FileReadAhead& operator=(const FileReadAhead&) = delete;

    /// The next block: `blockSize` bytes, fewer only at the end of the file; empty at the end. Valid
    /// until the next call. An IoError when the file cannot be read.
    QByteArrayView next();

private:
    static constexpr int BlocksAhead = 3;
    struct Block {
        QByteArray bytes;
        qsizetype size = 0;
    };

    void run();
    /// Reads one block at `offset`; the bytes read (0 at the end) or -1 with `error` set.
    qsizetype readBlock(Block& block, qint64 offset, int& error) const;
    /// Reads the ranges of each record of the block at `offset`; the bytes of the whole records it
    /// covers (0 at the end) or -1 with `error` set.
    qsizetype readRanges(Block& block, qint64 offset, int& error) const;

    int m_descriptor;
    QString m_path;
    qsizetype m_blockSize;
    RecordRanges m_part; ///< no ranges: the whole file is read
    std::array<Block, BlocksAhead> m_blocks;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    /// Blocks go round the ring: the thread fills them in order, the reader takes them in order.
    int m_filled = 0;
    int m_taken = 0;
    bool m_holding = false; ///< the reader still holds the block it took last
    bool m_ended = false;   ///< the thread has read the last block (or failed)
    int m_error = 0;
    bool m_stopping = false;
    std::thread m_thread; // last: starts once everything it uses is there
};

} // namespace kelvano
