#pragma once

#include "core/table/cell_text_import.h"
#include "core/table/delimited_text.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QIODevice;

namespace kelvano {

class TableLayers;
class TableRowReader;

/// Why a CSV file is not taken as text.
struct CsvRefusal {
    enum Kind {
        NulBytes,       ///< it holds NUL bytes: no text file
        MixedEncodings, ///< `line` (from 1) is UTF-8 in a Shift-JIS file
        QuoteNotClosed, ///< the quote opened on `line` is never closed
    };
    Kind kind;
    qsizetype line = 0;
    bool operator==(const CsvRefusal&) const = default;
};

class CsvRecords;

/// A CSV or TSV file as read for a table, by the editor and by kelvano-publish alike: its detected
/// format, how many records it holds and the first of them. The records themselves are read again, one
/// at a time, by records(), so that no reader holds a whole file's rows.
struct CsvFile {
    QString path;
    DelimitedFormat format;
    /// Why the file is not taken as text; nullopt when it is, and then the counts below tell what it
    /// holds.
    std::optional<CsvRefusal> refusal;
    /// How many records the file holds (at most RecordsRead).
    qsizetype recordCount = 0;
    /// The first records (at most FirstRecordsKept), fields in the file's encoding, for a preview.
    QList<QByteArrayList> firstRecords;
    /// The most fields a record holds.
    qsizetype widestRecord = 0;

    /// At most this many records are read: one past the most rows a table holds, enough to refuse.
    static constexpr qsizetype RecordsRead = TableLayers::MaxRows + 1;
    /// At most this many bytes of a field are read (cut at a character); a cell keeps far fewer.
    static constexpr qsizetype FieldBytesRead = 4096;
    static constexpr qsizetype FirstRecordsKept = 10;

    /// Reads a file and finds its format; an IoError when it cannot be read. A file opening with a
    /// UTF-16 or UTF-32 byte-order mark is read as UTF-8.
    static CsvFile read(const QString& path);
    /// The file's records, one at a time from the first, as read() counted them. An IoError when the
    /// file cannot be read again or is no longer the file read() saw (another size or modification
    /// time). A file without records (or refused) gives none.
    CsvRecords records() const;

    /// The file's size and modification time (nanoseconds since the epoch) as read() saw them.
    qint64 size = 0;
    qint64 modified = 0;
};

/// The records of a CSV file one at a time (CsvFile::records), fields in the file's encoding, each cut
/// to CsvFile::FieldBytesRead bytes at a character. The file is mapped, not copied, while this lives.
class CsvRecords {
public:
    CsvRecords();
    ~CsvRecords();
    CsvRecords(CsvRecords&&) noexcept;
    CsvRecords& operator=(CsvRecords&&) noexcept;
    /// The next record; false after the last (or after RecordsRead records).
    bool next(QByteArrayList& record);
    /// Where a quoted field read so far that never closes opened (its line, from 1), or 0.
    qsizetype unclosedQuoteLine() const;

    /// The open file and where its reading stands (defined with the reading).
    struct Source;

private:
    friend struct CsvFile;
    std::unique_ptr<Source> m_source;
};

/// The records a file brings into a table, the same way for a CSV file and a spreadsheet's sheet: how
/// many, the most fields one holds, their encoding, and a reading of them from the first, as often as
/// asked (an import checks every record before it writes any).
struct ImportedRecords {
    qsizetype count = 0;
    qsizetype widest = 0;
    TextEncoding encoding = TextEncoding::Utf8;
    /// A new reading: each call of what it gives puts the next record in its argument, false after the last.
    std::function<std::function<bool(QByteArrayList&)>()> read;

    /// A CSV file's records, read again from the file each time (`file` must outlive the readings).
    static ImportedRecords of(const CsvFile& file);
    /// Records held in memory (a sheet's), UTF-8 texts (`records` must outlive the readings).
    static ImportedRecords of(const QList<QByteArrayList>& records);
};

/// How many of a table's `rowCount` rows stay before the rows a CSV file brings: all of them when
/// appending, none when replacing. A table holding only its one empty row (TableLayers::
/// holdsOnlyAnEmptyRow) has that row replaced when appending too, so an import never leaves it on top.
int rowsKeptByCsvImport(int rowCount, bool onlyAnEmptyRow, bool append);

/// Whether a CSV import is refused as a whole: when Shift-JIS cannot hold the text of some cell. A file
/// import takes all of its cells or none, so that a table never holds a file's rows with holes in them.
bool csvImportRefused(const CellTextImport& imported);

/// Writes the texts of every row, columns 1 to N, to `path` as CSV: comma separated, CR LF line ends,
/// quoted where needed; UTF-8 with a byte-order mark (which spreadsheets need to take it as UTF-8) or
/// Shift-JIS. The file is replaced as a whole; an IoError when it cannot be (the old file then stays).
void exportCellTexts(const QString& path, const TableLayers& layers, TextEncoding encoding);
/// The same for the records a reader gives of a table's file, `columns` columns of each, read and
/// written a row at a time; gives how many rows were written.
qsizetype exportCellTexts(const QString& path, TableRowReader& rows, int columns, TextEncoding encoding);
/// The same written to an open device (a pipe, standard output, the scratch file of the CSV beside a
/// page) as it goes.
qsizetype exportCellTexts(QIODevice& device, TableRowReader& rows, int columns, TextEncoding encoding);

} // namespace kelvano
