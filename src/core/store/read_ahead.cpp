#include "core/store/read_ahead.h"

#include "core/store/io_error.h"
#include "core/store/positioned_io.h"

namespace kelvano {

FileReadAhead::FileReadAhead(int descriptor, QString path, qsizetype blockSize)
    : m_descriptor(descriptor), m_path(std::move(path)), m_blockSize(blockSize), m_thread([this] { run(); }) {
}

FileReadAhead::FileReadAhead(int descriptor, QString path, qsizetype blockSize, RecordRanges part)
    : m_descriptor(descriptor), m_path(std::move(path)),
      m_blockSize(blockSize / part.recordSize * part.recordSize), m_part(std::move(part)),
      m_thread([this] { run(); }) {}

FileReadAhead::~FileReadAhead() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

QByteArrayView FileReadAhead::next() {
    std::unique_lock lock(m_mutex);
    if (m_holding) {
        m_holding = false;
        ++m_taken;
        m_changed.notify_all();
    }
    m_changed.wait(lock, [this] { return m_taken < m_filled || m_ended; });
    if (m_taken < m_filled) {
        m_holding = true;
        const Block& block = m_blocks[static_cast<std::size_t>(m_taken % BlocksAhead)];
        return QByteArrayView(block.bytes.constData(), block.size);
    }
    if (m_error != 0) {
        throw IoError::fromErrorNumber(m_path, m_error);
    }
    return {};
}

void FileReadAhead::run() {
    qint64 offset = 0;
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_stopping || m_filled - m_taken < BlocksAhead; });
        if (m_stopping) {
            return;
        }
        // The reader never touches a block between its being taken and its being filled again.
        Block& block = m_blocks[static_cast<std::size_t>(m_filled % BlocksAhead)];
        lock.unlock();
        int error = 0;
        const qsizetype size = readBlock(block, offset, error);
        lock.lock();
        if (size > 0) {
            block.size = size;
            offset += size;
            ++m_filled;
        }
        if (size < m_blockSize) {
            m_error = error;
            m_ended = true;
        }
        m_changed.notify_all();
        if (m_ended) {
            return;
        }
    }
}

qsizetype FileReadAhead::readBlock(Block& block, qint64 offset, int& error) const {
    if (!m_part.ranges.empty()) {
        return readRanges(block, offset, error);
    }
    if (block.bytes.size() < m_blockSize) {
        block.bytes.resize(m_blockSize);
    }
    return readFullyAt(m_descriptor, offset, block.bytes.data(), m_blockSize, error);
}

qsizetype FileReadAhead::readRanges(Block& block, qint64 offset, int& error) const {
    if (block.bytes.size() < m_blockSize) {
        block.bytes.resize(m_blockSize, '\0'); // the bytes outside the ranges stay zero
    }
    qsizetype covered = 0;
    while (covered < m_blockSize && (offset + covered) / m_part.recordSize < m_part.records) {
        for (const ByteRange& range : m_part.ranges) {
            const qsizetype got = readFullyAt(m_descriptor, offset + covered + range.at,
                                              block.bytes.data() + covered + range.at, range.size, error);
            if (got < 0) {
                return covered > 0 ? covered : -1;
            }
            if (got < range.size) {
                return covered; // the file was cut short since it was opened
            }
        }
        covered += m_part.recordSize;
    }
    return covered;
}

} // namespace kelvano
