#pragma once

#include "core/table/cell_text_import.h"
#include "core/table/csv_exchange.h"
#include "core/table/sheet_failure.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

// The words of texts brought into cells from other programs (the clipboard, CSV files), shared by the
// editor and kelvano-publish's CSV commands. Each text is defined once, in table_words.cpp.

namespace kelvano::Messages {

/// %1 the capacity in bytes, %2 the cells.
extern const QString CellTextsCut;
/// %1 the characters, %2 the cells.
extern const QString CellTextsUnencodable;
extern const QString CsvImportRefused;
extern const QString SheetImportRefused;

/// A cell as the editor heads it: row and column from 1.
QString cellName(int row, int column);
/// Cells named as the grid heads them ("行2 列3"), the first `shown` of them, then how many more.
QString cellNames(const QList<QPoint>& cells, int firstRow = 0, int firstColumn = 0, int shown = 20);
/// Why a CSV file is not read.
QString csvRefusalText(const CsvRefusal& refusal);
/// Why a spreadsheet file gives no rows; `sheet` the name or number asked for (NoSuchSheet).
QString sheetFailureText(SheetFailure failure, const QString& sheet);
/// Why an import of a file is refused as a whole (csvImportRefused): the cells whose texts Shift-JIS
/// cannot hold, named by their place in the file, then `notImported` (CsvImportRefused,
/// SheetImportRefused).
QStringList importRefusalLines(const CellTextImport& imported, const QString& notImported);

} // namespace kelvano::Messages
