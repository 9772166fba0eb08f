#include "core/store/table_data_files.h"

#include "core/store/failure_reasons.h"
#include "core/store/file_names.h"
#include "core/store/io_error.h"
#include "core/store/plain_file.h"
#include "core/store/positioned_io.h"
#include "core/store/read_ahead.h"
#include "core/store/save_file.h"
#include "core/store/shift_jis.h"
#include "core/store/stored_names.h"
#include "core/store/text_lines.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kelvano {
namespace {

/// Appends one line unless the list already holds it byte for byte.
std::optional<QList<QByteArray>> appendUniqueLine(const QString& path, QByteArrayView line) {
    std::optional<QList<QByteArray>> lines = readOrCreateLinesFile(path);
    if (!lines || lines->contains(line)) {
        return lines;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        throw IoError::fromFile(file);
    }
    QByteArray entry;
    // A last line without its line end (a list edited by hand) is ended first, so that the new entry
    // does not run into it.
    const qint64 size = file.size();
    if (size > 0 && (!file.seek(size - 1) || file.read(1) != "\n")) {
        entry += "\r\n";
    }
    entry += line;
    entry += "\r\n";
    // A line cut off by a full disk or a size limit is taken back, so the list never ends in half a line.
    if (const int error = writeFullyAt(file.handle(), size, entry); error != 0) {
        [[maybe_unused]] const int cut = ::ftruncate(file.handle(), size);
        throw IoError::fromErrorNumber(path, error);
    }
    return lines;
}

} // namespace

TableDataFiles::TableDataFiles(const QString& dataFolder, const QString& fileName)
    : m_base(dataFolder + fileName) {}

TableDataFiles TableDataFiles::fromStored(QByteArrayView dataFolder, QByteArrayView fileName) {
    const QString folder = ShiftJis::decode(dataFolder);
    const QString name = ShiftJis::decode(fileName);
    if (!isUsableFileName(name)) {
        throw IoError(folder + name, Messages::FileNameUnusable);
    }
    return TableDataFiles(folder, name);
}

QString TableDataFiles::pathOf(QStringView extension) const {
    return resolveStoredPath(m_base + extension.toString());
}

QString TableDataFiles::tablePath() const {
    return pathOf(u".TBL");
}

QString TableDataFiles::referencePath() const {
    return pathOf(u".ALI");
}

QString TableDataFiles::linkPath() const {
    return pathOf(u".URL");
}

QString TableDataFiles::scratchPath() const {
    return pathOf(u".TMP");
}

QString TableDataFiles::lockPath() const {
    return pathOf(u".LCK");
}

TableDataFiles::LoadState TableDataFiles::openRows(TableRowReader& reader) const {
    const QString path = tablePath();
    if (reader.open(path)) {
        return LoadState::Read;
    }
    QFile file(path);
    const bool created =
        isPathOfThisSystem(path) && !file.exists() && file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    return created ? LoadState::CreatedEmpty : LoadState::Unavailable;
}

bool TableDataFiles::openRowsForReading(TableRowReader& reader, RecordSlots used) const {
    const QString exact = m_base + QStringLiteral(".TBL");
    if (reader.open(exact, used)) {
        return true;
    }
    if (reader.openError() != ENOENT) {
        return false;
    }
    const QString found = tablePath();
    return found != exact && reader.open(found, used);
}

void TableDataFiles::writeRecords(int count, const std::function<TableRowRecord(int)>& recordAt) const {
    replaceRecords(0, count, recordAt);
}

void TableDataFiles::replaceRecords(int keptRecords, int count,
                                    const std::function<TableRowRecord(int)>& recordAt) const {
    // The file is written unbuffered, so records are gathered into chunks of about a megabyte.
    constexpr qsizetype ChunkSize = 20 * TableRowRecord::Size;
    const QString path = tablePath();
    requirePathOfThisSystem(path);
    QFile old(path);
    // Only a plain file is read or replaced: a pipe or a device in its place is told, not waited on.
    if (int error = 0;
        !openPlainFile(old, QIODevice::ReadOnly, error) && (keptRecords > 0 || error != ENOENT)) {
        throw IoError::fromErrorNumber(path, error);
    }
    replaceWholeFile(path, [&](QIODevice& device) {
        for (qsizetype left = keptRecords * TableRowRecord::Size; left > 0;) {
            const QByteArray kept = old.read(std::min(left, ChunkSize));
            if (kept.isEmpty()) {
                // A file cut short since its records were counted.
                throw old.error() != QFileDevice::NoError ? IoError::fromFile(old)
                                                          : IoError::fromErrorNumber(path, EIO);
            }
            writeAll(device, kept);
            left -= kept.size();
        }
        QByteArray chunk;
        chunk.reserve(ChunkSize);
        for (int i = 0; i < count; ++i) {
            chunk += recordAt(i).encode();
            if (chunk.size() >= ChunkSize) {
                writeAll(device, chunk);
                chunk.resize(0); // keeps the buffer for the next chunk
            }
        }
        writeAll(device, chunk);
    });
}

std::optional<QList<QByteArray>> TableDataFiles::readReferences() const {
    return readOrCreateLinesFile(referencePath());
}

std::optional<QList<QByteArray>> TableDataFiles::addReference(QByteArrayView text) const {
    if (text.isEmpty()) {
        return readReferences();
    }
    return appendUniqueLine(referencePath(), text);
}

std::optional<QList<QByteArray>> TableDataFiles::removeReference(QByteArrayView text) const {
    const QString listPath = referencePath();
    std::optional<QList<QByteArray>> lines = readOrCreateLinesFile(listPath);
    if (!lines || !lines->contains(text)) {
        return lines; // nothing to remove: the file stays as it is
    }
    lines->removeAll(text);
    replaceWholeFile(listPath, joinLines(*lines));
    return lines;
}

std::optional<QList<QByteArray>> TableDataFiles::readLinks() const {
    return readOrCreateLinesFile(linkPath());
}

bool TableDataFiles::addLink(QByteArrayView link) const {
    return appendUniqueLine(linkPath(), link).has_value();
}

std::optional<QList<QByteArray>> TableDataFiles::removeLink(QByteArrayView link) const {
    const QString listPath = linkPath();
    const std::optional<QList<QByteArray>> lines = readOrCreateLinesFile(listPath);
    if (!lines) {
        return std::nullopt;
    }
    FileReplacement rewrite(listPath, scratchPath());
    if (!rewrite.open()) {
        return std::nullopt;
    }
    QList<QByteArray> kept;
    for (const QByteArray& line : *lines) {
        if (line != link) {
            kept.append(line);
        }
    }
    writeAll(rewrite.device(), joinLines(kept));
    rewrite.commit();
    return readOrCreateLinesFile(listPath);
}

TableRowReader::TableRowReader() = default;

IoError TableRowReader::openFailure() const {
    return IoError::fromErrorNumber(m_path, m_openError);
}

TableRowReader::~TableRowReader() {
    close();
}

void TableRowReader::close() {
    m_readAhead.reset(); // before its descriptor goes
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
        m_descriptor = -1;
    }
    m_block = {};
    m_readError = 0;
}

namespace {

/// The byte ranges of a record that hold `used`, in the record's order. Ranges closer than a few
/// thousand bytes are joined: reading the bytes between costs less than one more read. Empty when
/// the ranges would leave so little of the record out that reading it whole costs less.
std::vector<FileReadAhead::ByteRange> byteRangesOf(RecordSlots used) {
    constexpr qsizetype JoinBelow = 8 * 1024;
    const qsizetype columns = std::clamp(used.columns, 1, TableRowRecord::MaxColumns);
    const qsizetype slotsSize = TableRowRecord::StringSize * columns;
    // Column 0 belongs to the row headings and is never used.
    const std::pair<RecordSlots::Layer, FileReadAhead::ByteRange> layers[] = {
        {RecordSlots::Texts, {TableRowRecord::CellTextsAt + TableRowRecord::StringSize, slotsSize}},
        {RecordSlots::Pictures, {TableRowRecord::CellPicturesAt + TableRowRecord::StringSize, slotsSize}},
        {RecordSlots::Backgrounds,
         {TableRowRecord::CellBackgroundsAt + TableRowRecord::StringSize, slotsSize}},
        {RecordSlots::Links, {TableRowRecord::CellLinksAt + TableRowRecord::StringSize, slotsSize}},
        {RecordSlots::Placements, {TableRowRecord::PictureOnRightAt + 1, columns}},
    };
    std::vector<FileReadAhead::ByteRange> ranges;
    for (const auto& [layer, range] : layers) {
        if ((used.layers & layer) == 0) {
            continue;
        }
        if (!ranges.empty() && range.at - (ranges.back().at + ranges.back().size) < JoinBelow) {
            ranges.back().size = range.at + range.size - ranges.back().at;
        } else {
            ranges.push_back(range);
        }
    }
    // A single range leaves out the bytes from its end to where it starts again in the next record.
    if (ranges.size() == 1 && TableRowRecord::Size - ranges.front().size < JoinBelow) {
        ranges.clear();
    }
    return ranges;
}

} // namespace

bool TableRowReader::open(const QString& path, RecordSlots used) {
    close();
    m_path = path;
    if (!isPathOfThisSystem(path)) {
        m_openError = ENOENT;
        return false;
    }
    // A folder, a device, a pipe: none holds records, a pipe may hang and a device may never end.
    m_descriptor = openPlainFile(path, O_RDONLY, m_openError);
    if (m_descriptor < 0) {
        return false;
    }
    struct stat status {};
    ::fstat(m_descriptor, &status);
    // A few blocks or more: worth a thread that reads while the records before are being used, and
    // there only the bytes of the slots used where that leaves out enough (a narrow table's rows, or
    // the texts alone).
    constexpr qsizetype BlockSize = RecordsPerBlock * TableRowRecord::Size;
    if (status.st_size >= 2 * BlockSize) {
        std::vector<FileReadAhead::ByteRange> ranges = byteRangesOf(used);
        if (ranges.empty()) {
            m_readAhead = std::make_unique<FileReadAhead>(m_descriptor, path, BlockSize);
        } else {
            m_readAhead = std::make_unique<FileReadAhead>(
                m_descriptor, path, BlockSize,
                FileReadAhead::RecordRanges{TableRowRecord::Size, status.st_size / TableRowRecord::Size,
                                            std::move(ranges)});
        }
    } else {
        m_smallFile.resize(status.st_size);
        const qsizetype got =
            readFullyAt(m_descriptor, 0, m_smallFile.data(), m_smallFile.size(), m_readError);
        m_block = got < 0 ? QByteArrayView() : QByteArrayView(m_smallFile).first(got);
        ::close(m_descriptor);
        m_descriptor = -1;
    }
    return true;
}

bool TableRowReader::next(TableRowRecord& record) {
    const QByteArrayView bytes = nextRecord();
    if (bytes.isEmpty()) {
        return false;
    }
    record = TableRowRecord::decode(bytes);
    return true;
}

std::optional<TableRowView> TableRowReader::nextView() {
    const QByteArrayView bytes = nextRecord();
    if (bytes.isEmpty()) {
        return std::nullopt;
    }
    return TableRowView(bytes);
}

QByteArrayView TableRowReader::nextRecord() {
    if (m_readError != 0) {
        const int error = std::exchange(m_readError, 0);
        throw IoError::fromErrorNumber(m_path, error);
    }
    if (!m_readAhead) {
        if (m_block.size() < TableRowRecord::Size) {
            return {};
        }
    } else if (m_block.size() < TableRowRecord::Size) {
        // Blocks hold whole records, so only the file's last block can end in a shorter tail.
        m_block = m_readAhead->next();
        if (m_block.size() < TableRowRecord::Size) {
            return {};
        }
    }
    const QByteArrayView record = m_block.first(TableRowRecord::Size);
    m_block = m_block.sliced(TableRowRecord::Size);
    return record;
}

} // namespace kelvano
