#pragma once

#include "core/store/io_error.h"
#include "core/store/table_definition.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace kelvano {

class RecordFile;

struct NumberedDefinition {
    int number;
    TableDefinition definition;
};

/// What reading the whole of TABLE.DAT gave: the whole records, and whether an incomplete record
/// followed them (a damaged file, which the caller reports as an I/O error after using the rest).
struct DefinitionList {
    QList<NumberedDefinition> records;
    bool damagedTail = false;
};

/// TABLE.DAT in the program folder: table definitions numbered by their record position. Every
/// operation opens the file, does its work and closes it again.
class TableDefinitionFile {
public:
    static inline const QString FileName = QStringLiteral("TABLE.DAT");

    explicit TableDefinitionFile(const QString& programFolder);

    const QString& path() const { return m_path; }

    /// Opens the file, creating it empty when missing; an IoError when it can be neither.
    void openOrCreate() const;
    /// Every whole record in file order, deleted ones included (callers skip them). Creates the file
    /// empty when missing.
    DefinitionList readAll() const;
    /// The same without creating or changing anything: nullopt when the file cannot be opened for
    /// reading (missing, or not readable).
    std::optional<DefinitionList> readAllIfPresent() const;
    /// Record n; nullopt when the file cannot be opened. An IoError when there is no whole record n.
    std::optional<TableDefinition> read(int number) const;
    /// Writes the definition over record n (stored as not deleted); an IoError on failure.
    void write(int number, const TableDefinition& definition) const;
    /// Appends the definition (stored as not deleted) and gives its number, the former record count.
    int append(const TableDefinition& definition) const;

    /// Sets or clears the deleted flag of record n; no other byte of the record changes. An IoError on
    /// failure, also when there is no whole record n.
    void setDeleted(int number, bool deleted) const;

    /// The I/O error that reports an incomplete last record.
    IoError damagedTailError() const;

private:
    static DefinitionList readRecords(RecordFile& file);

    QString m_path;
};

/// TABLE.DAT held open while one record after another is read from it (a page run): one read per
/// record instead of an open, a read and a close each.
class TableDefinitionReader {
public:
    explicit TableDefinitionReader(const TableDefinitionFile& file);
    ~TableDefinitionReader();
    TableDefinitionReader(const TableDefinitionReader&) = delete;
    TableDefinitionReader& operator=(const TableDefinitionReader&) = delete;

    /// Record n; nullopt while the file cannot be opened (each call tries again). An IoError when
    /// there is no whole record n.
    std::optional<TableDefinition> read(int number);

private:
    QString m_path;
    std::unique_ptr<RecordFile> m_file;
};

} // namespace kelvano
