#pragma once

#include "core/table/sheet_failure.h"
#include "core/table/table_layers.h"

#include <QByteArrayList>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace kelvano {

/// Which sheet to read: by position, or by a text that names a sheet or, naming none, is its number from 1.
struct SheetChoice {
    int index = 0;
    std::optional<QString> nameOrNumber;

    /// Only the names of the sheets, no rows.
    static SheetChoice namesOnly() { return {-1, std::nullopt}; }
};

/// One sheet of an .xlsx or .ods file as read for a table, by the editor and by kelvano-publish alike:
/// each row's cells as the spreadsheet shows them, as UTF-8 texts.
struct SheetFile {
    QString path;
    /// The sheets' names, in the file's order.
    QStringList sheetNames;
    /// The sheet read, from 0.
    int sheet = 0;
    /// One record per row up to the last row holding a cell, each up to its last cell; at most
    /// RecordsRead of them.
    QList<QByteArrayList> records;
    /// Rows or columns of the rows read are hidden in the spreadsheet (they are read as the others).
    bool hiddenCells = false;
    SheetFailure failure = SheetFailure::None;
    /// With NoSuchSheet: the name or number asked for.
    QString missingSheet;

    /// At most this many rows are read: one past the most rows a table holds, enough to refuse.
    static constexpr qsizetype RecordsRead = TableLayers::MaxRows + 1;
    /// At most this many cells (empty ones between cells counted) of the sheet are kept.
    static constexpr qsizetype FieldsRead = qsizetype(RecordsRead) * 64;
    /// At most this many bytes are expanded from the archive, by what it declares and what it holds.
    static constexpr qint64 ExpandedBytesRead = qint64(256) * 1024 * 1024;
    /// At most this many bytes of a cell's text are kept (cut at a character); a cell keeps far fewer.
    static constexpr qsizetype FieldBytesRead = 4096;

    /// Reads a file's sheet names and the chosen sheet's cells; an IoError when the file cannot be read.
    /// What the file's contents refuse is told by `failure`, with no rows.
    static SheetFile read(const QString& path, const SheetChoice& choice);
};

} // namespace kelvano
