#pragma once

#include "entry/table_layers.h"
#include "store/table_data_files.h"

namespace kelvano {

/// Reads and writes a table's cell layers as its ".TBL" file, one record per row, a record at a time.
class TableLayersFile {
public:
    struct Loaded {
        TableDataFiles::LoadState state;
        /// The file's rows (columns 1..N), or the single empty row of a new table.
        TableLayers layers;
    };
    /// Reads whole records only (a damaged tail is ignored). When the file cannot be opened an empty
    /// one is created (CreatedEmpty); Unavailable when that fails too. An IoError when reading fails.
    static Loaded load(const TableDataFiles& files, int columnCount);
    /// Replaces the file by one record per row, empty rows too; false when it cannot be written, and
    /// then the old file is unchanged.
    static bool save(const TableDataFiles& files, const TableLayers& layers);
};

} // namespace kelvano
