#pragma once

#include "core/table/sheet_file.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QIODevice>
#include <QList>
#include <QString>
#include <limits>
#include <memory>
#include <optional>

class QuaZipFile;
class QXmlStreamReader;

// What the spreadsheet readers (xlsx_sheet.cpp, ods_sheet.cpp) share: the bounded archive, the cells
// of the sheet being read, and how a reading ends early. Not used outside core/table's sheet files.

namespace kelvano::sheets {

/// Ends the reading of a file with this failure.
struct Refusal {
    SheetFailure failure;
};

/// One part of the archive, its expanded bytes counted as they are read: more than the archive declares,
/// or more than the reading's bound, end the reading (the device then gives no more bytes, and `finish`
/// throws).
class Part : public QIODevice {
public:
    Part(std::unique_ptr<QuaZipFile> file, qint64 declared, qint64& expanded);
    ~Part() override;
    bool isSequential() const override { return true; }
    /// Reads what is left and checks the whole part: its size and checksum, the bounds, and whether the
    /// XML read from it was well-formed (`xmlError`). Throws the Refusal that applies.
    void finish(bool xmlError);

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::unique_ptr<QuaZipFile> m_file;
    qint64 m_declared;
    qint64& m_expanded;
    qint64 m_read = 0;
    bool m_ended = false;
    std::optional<SheetFailure> m_refusal;
};

/// The zip archive of an .xlsx or .ods file, read from memory. Every part is read as a stream through
/// `open`: its declared size counts against SheetFile::ExpandedBytesRead before a byte is expanded, its
/// actual size while it is read, so that no archive makes the reading take more than that bound.
class Archive {
public:
    /// Refuses (Refusal) bytes that are no zip archive, or one whose entries are locked by a password.
    explicit Archive(const QByteArray& bytes);
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool contains(const QString& name) const;
    /// A part as a device of its expanded bytes; refuses a part past the bounds, one whose expanded bytes
    /// are not what the archive declares (CRC, size) and, when `required`, a missing one. Null for a
    /// missing part that is not required.
    std::unique_ptr<Part> open(const QString& name, bool required);
    /// A small part whole (rels, manifest); bounded as `open`. Empty when missing.
    QByteArray readAll(const QString& name);

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

/// The cells of the sheet being read, as records of UTF-8 texts. Rows from RecordsRead on are left out;
/// more than FieldsRead cells refuse the file as TooLarge.
class Cells {
public:
    void set(qint64 row, qint64 column, QByteArray text);
    /// Empties the cells of a merged range but its first, which gives the range its text. The work
    /// is bounded: ranges that overlap over and over refuse the file as TooLarge.
    void clearMerged(qint64 firstRow, qint64 firstColumn, qint64 lastRow, qint64 lastColumn);
    void hideRow(qint64 row) { m_hiddenRow = std::min(m_hiddenRow, row); }
    void hideColumn(qint64 column) { m_hiddenColumn = std::min(m_hiddenColumn, column); }
    /// The records, an empty row as one empty field (as a CSV file's empty line), and whether a hidden
    /// row or column lies among them.
    QList<QByteArrayList> takeRecords(bool& hiddenCells);

private:
    QList<QByteArrayList> m_records;
    qsizetype m_fields = 0;
    qint64 m_mergedVisits = 0;
    qint64 m_hiddenRow = std::numeric_limits<qint64>::max();
    qint64 m_hiddenColumn = std::numeric_limits<qint64>::max();
};

/// Moves to the next start element inside the element the reader was in when `depth` was 0; `depth`
/// counts the elements entered below it (one that a caller reads to its end itself, it takes off
/// again). False at the end of that element.
bool nextStartElementWithin(QXmlStreamReader& xml, int& depth);

/// The longest start of a UTF-8 text of at most SheetFile::FieldBytesRead bytes that ends at a character.
QByteArray keptText(const QString& text);

/// Which sheets the reader keeps: the one asked for by position, and the one asked for by name.
struct SheetWanted {
    SheetChoice choice;
    bool byIndex(int index) const;
    bool byName(const QString& name) const;
};

/// What a reader found: every sheet's name, and the cells of the sheets it kept.
struct ReadSheets {
    QStringList names;
    std::optional<int> indexKept;
    Cells indexCells;
    std::optional<int> nameKept;
    Cells nameCells;
    Cells* cellsFor(int index, const QString& name, const SheetWanted& wanted);
};

void readXlsx(Archive& archive, const SheetWanted& wanted, ReadSheets& sheets);
void readOds(Archive& archive, const SheetWanted& wanted, ReadSheets& sheets);

} // namespace kelvano::sheets
