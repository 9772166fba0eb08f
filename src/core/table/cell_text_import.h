#pragma once

#include "core/table/delimited_text.h"
#include "core/table/table_layers.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <optional>

namespace kelvano {

/// Texts from another program (a clipboard, a CSV file) made ready for cells and checked as typed text
/// is: converted to Shift-JIS, cut to what a cell stores at a character boundary, and fitted to the
/// columns there are.
struct CellTextImport {
    /// One entry per record; a text per column that fits, nullopt for a text Shift-JIS cannot hold.
    QList<QList<std::optional<QByteArray>>> rows;
    /// The most fields of a record that fell past the last column (the columns cut off).
    int droppedColumns = 0;
    /// How many non-empty fields fell past the last column.
    int droppedFields = 0;
    /// Cells (x = column, y = row, from 0 within the block) whose text was cut to the cell's capacity.
    QList<QPoint> cutCells;
    /// Cells whose text holds characters Shift-JIS cannot hold, and those characters.
    QList<QPoint> unencodableCells;
    QString unencodable;
};

/// Converts records one at a time, as importCellTexts does, for a caller that keeps no more than one:
/// what the conversion met is gathered in report() (whose rows stay empty).
class CellTextImporter {
public:
    CellTextImporter(TextEncoding encoding, int columns, int capacity);
    /// The texts of the next record (row numbers count from 0 at the first record converted).
    QList<std::optional<QByteArray>> convert(const QByteArrayList& fields);
    const CellTextImport& report() const { return m_report; }
    CellTextImport takeReport() { return std::move(m_report); }

private:
    TextEncoding m_encoding;
    int m_columns;
    int m_capacity;
    int m_row = 0;
    CellTextImport m_report;
};

/// Converts records (fields in `encoding`) for `columns` columns, each text to at most `capacity` bytes.
CellTextImport importCellTexts(const QList<QByteArrayList>& records, TextEncoding encoding, int columns,
                               int capacity);

/// The longest start of a Shift-JIS text that fits the capacity without splitting a character.
QByteArray cutAtCharacter(QByteArrayView text, qsizetype capacity);

} // namespace kelvano
