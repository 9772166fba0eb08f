#pragma once

#include "core/store/io_error.h"
#include "core/store/table_row_record.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace kelvano {

class TableRowReader;
class FileReadAhead;

/// The slots of each row a reader going through many rows uses: columns 1..columns of some layers.
/// Of a large file only the bytes of these slots are read where that saves enough; a reader must not
/// look at the others, which are then empty.
struct RecordSlots {
    enum Layer : quint8 { Texts = 1, Pictures = 2, Backgrounds = 4, Links = 8, Placements = 16 };
    static constexpr quint8 AllLayers = Texts | Pictures | Backgrounds | Links | Placements;

    quint8 layers = AllLayers;
    /// Below 1 counts as 1, above TableRowRecord::MaxColumns as that.
    int columns = TableRowRecord::MaxColumns;
};

/// The data files of one table in the data folder: FileName + ".TBL" (rows), ".ALI" (reference list),
/// ".URL" (link list) and ".TMP" (scratch while a link is removed). Names are matched without regard
/// to case, so one file serves every spelling of its extension.
class TableDataFiles {
public:
    TableDataFiles(const QString& dataFolder, const QString& fileName);
    /// The files of a table from its stored texts: the data folder setting and the definition's
    /// FileName, both Shift-JIS. An IoError for a FileName that would name files outside the data
    /// folder (see isUsableFileName).
    static TableDataFiles fromStored(QByteArrayView dataFolder, QByteArrayView fileName);

    QString tablePath() const;
    QString referencePath() const;
    QString linkPath() const;
    QString scratchPath() const;
    /// The table's lock file (TableLock), there only while a program holds the table.
    QString lockPath() const;

    enum class LoadState {
        Read,         ///< the rows of the existing file
        CreatedEmpty, ///< the file could not be opened: an empty one was created
        Unavailable,  ///< the file can neither be opened nor created
    };
    /// Opens the ".TBL" file for reading record by record; when it cannot be opened, an empty one is
    /// created (CreatedEmpty) unless it exists already or cannot be made (Unavailable).
    LoadState openRows(TableRowReader& reader) const;
    /// Opens the ".TBL" file for reading the slots `used` without creating anything: by its name as given,
    /// and only when there is none by that name, by one that differs in case. False when it cannot be opened
    /// (the reader's openError() tells why).
    bool openRowsForReading(TableRowReader& reader, RecordSlots used = {}) const;
    /// Replaces the ".TBL" file by `count` records, record i from `recordAt(i)`, written in chunks; an
    /// IoError when it cannot be written, and then the old file is unchanged.
    void writeRecords(int count, const std::function<TableRowRecord(int)>& recordAt) const;
    /// Replaces the ".TBL" file by its first `keptRecords` records exactly as they are stored, followed
    /// by `count` records from `recordAt(i)`, asked for in order from 0; old and new records go through in
    /// chunks, so the file is never held whole. An IoError when the old file cannot be read or the new one
    /// written; the old file is then unchanged.
    void replaceRecords(int keptRecords, int count, const std::function<TableRowRecord(int)>& recordAt) const;

    /// The reference list; created empty when missing; nullopt when it can be neither read nor created.
    std::optional<QList<QByteArray>> readReferences() const;
    /// Appends the text unless it is empty or a line equals it byte for byte. Gives the lines as read
    /// before the addition; nullopt when the list can be neither read nor created.
    std::optional<QList<QByteArray>> addReference(QByteArrayView text) const;

    /// Rewrites the reference list without every line equal to the text, replacing the file in one step,
    /// and gives the new list; nullopt when the list can be neither read nor created. An IoError when
    /// the new list cannot be written (the old one then stays).
    std::optional<QList<QByteArray>> removeReference(QByteArrayView text) const;

    /// The link list; created empty when missing; nullopt when it can be neither read nor created.
    std::optional<QList<QByteArray>> readLinks() const;
    /// Appends the link (an empty one too) unless a line equals it byte for byte; false when the list
    /// can be neither read nor created.
    bool addLink(QByteArrayView link) const;
    /// Rewrites the link list without every line equal to the link, through the ".TMP" file renamed
    /// over the ".URL" file, and gives the new list; nullopt when either file cannot be made.
    std::optional<QList<QByteArray>> removeLink(QByteArrayView link) const;

private:
    QString pathOf(QStringView extension) const;

    QString m_base;
};

/// Reads a ".TBL" file one record at a time, so that memory does not grow with the rows. A large file
/// is read a few blocks ahead on a thread of its own (FileReadAhead).
class TableRowReader {
public:
    TableRowReader();
    ~TableRowReader();
    TableRowReader(const TableRowReader&) = delete;
    TableRowReader& operator=(const TableRowReader&) = delete;

    /// False when the file cannot be opened for reading, or is no plain file; openError() tells why.
    /// A file of less than two blocks is read whole here; one that cannot be read fails at next().
    /// Of a larger file only the bytes of the slots `used` may be read (see RecordSlots).
    bool open(const QString& path, RecordSlots used = {});
    /// The error number of the last open() that failed (ENOENT: there is no such file; NotAPlainFileError: it
    /// is no plain file).
    int openError() const { return m_openError; }
    /// The last failed open() as an I/O error naming the file and the reason.
    IoError openFailure() const;
    /// The next whole record; false at the end (a shorter tail is ignored). An IoError when reading fails.
    bool next(TableRowRecord& record);
    /// The next whole record where it lies in the reader's buffer, valid until the next call (no
    /// copy); nullopt at the end.
    std::optional<TableRowView> nextView();

    /// Records in one block of a large file.
    static constexpr qsizetype RecordsPerBlock = 16;

private:
    /// The bytes of the next whole record, valid until the next call; empty at the end.
    QByteArrayView nextRecord();
    void close();

    QString m_path;
    int m_descriptor = -1;
    int m_openError = 0;
    std::unique_ptr<FileReadAhead> m_readAhead;
    /// What is left of the block being read: of a large file's block, or of a small file's bytes.
    QByteArrayView m_block;
    /// A small file's bytes, read whole when it is opened (one read instead of one per record, and
    /// the file is closed at once).
    QByteArray m_smallFile;
    /// Why a small file could not be read, told at the first record (0: it was read).
    int m_readError = 0;
};

} // namespace kelvano
