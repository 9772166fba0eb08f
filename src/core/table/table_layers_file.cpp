#include "core/table/table_layers_file.h"

#include <QFileInfo>

namespace kelvano {

TableLayersFile::Loaded TableLayersFile::load(const TableDataFiles& files, int columnCount) {
    const bool existed = QFileInfo::exists(files.tablePath());
    TableRowReader reader;
    const TableDataFiles::LoadState state = files.openRows(reader);
    // A table starts with one empty row, which the first record replaces.
    TableLayers rows(columnCount);
    TableRowRecord record;
    while (state == TableDataFiles::LoadState::Read && reader.next(record)) {
        rows.appendRecord(record);
    }
    if (rows.rowCount() > 1) {
        rows.removeRow(0);
    }
    switch (state) {
    case TableDataFiles::LoadState::Read:
        return {Opening::Read, std::move(rows)};
    case TableDataFiles::LoadState::CreatedEmpty:
        return {Opening::Created, std::move(rows)};
    case TableDataFiles::LoadState::Unavailable:
        break;
    }
    return {existed ? Opening::Unreadable : Opening::Unavailable, std::move(rows)};
}

bool TableLayersFile::save(const TableDataFiles& files, const TableLayers& layers) {
    return files.writeRecords(layers.rowCount(), [&layers](int row) { return layers.record(row); });
}

} // namespace kelvano
