#pragma once

#include "core/store/table_data_files.h"
#include "core/table/table_layers.h"

#include <functional>
#include <optional>

namespace kelvano {

/// Reads and writes a table's cell layers as its ".TBL" file, one record per row, a record at a time.
class TableLayersFile {
public:
    enum class Opening {
        Read,        ///< the rows of the existing file
        Created,     ///< the table had no file yet: an empty one was created
        Unreadable,  ///< a file exists but cannot be opened for reading; it is left as it is
        Unavailable, ///< there is no file and none can be created
    };
    struct Loaded {
        Opening state;
        /// The file's rows, or the single empty row of a new or unreadable table.
        TableLayers layers;
    };
    /// Reads whole records only (a damaged tail is ignored). An IoError when reading fails.
    static Loaded load(const TableDataFiles& files, int columnCount);
    /// Replaces the file by one record per row, empty rows too; an IoError when it cannot be written,
    /// and then the old file is unchanged.
    static void save(const TableDataFiles& files, const TableLayers& layers);
    /// The texts of the next row an import brings (CellTextImporter::convert of the file's next record).
    using NextImportedRow = std::function<QList<std::optional<QByteArray>>()>;
    /// Puts `rowCount` rows, each from `nextRow`, into the file as rows without decorations, after the
    /// rows it keeps (rowsKeptByCsvImport), which stay byte for byte; an incomplete record at the end
    /// is dropped. Rows are asked for and written a chunk at a time, so the file and the rows are never
    /// held whole. Gives how many rows were kept; nullopt when more than MaxRows rows would result, and
    /// then nothing is written. An IoError when the file cannot be read or written (it then stays);
    /// whatever `nextRow` throws leaves the file as it was too.
    static std::optional<int> importRows(const TableDataFiles& files, int columnCount, int rowCount,
                                         const NextImportedRow& nextRow, bool append);
};

} // namespace kelvano
