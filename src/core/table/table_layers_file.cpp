#include "core/table/table_layers_file.h"

#include "core/table/csv_exchange.h"

#include <QFileInfo>

namespace kelvano {

TableLayersFile::Loaded TableLayersFile::load(const TableDataFiles& files, int columnCount) {
    const bool existed = QFileInfo::exists(files.tablePath());
    TableRowReader reader;
    const TableDataFiles::LoadState state = files.openRows(reader);
    // A table starts with one empty row, which the first record replaces.
    TableLayers rows(columnCount);
    while (state == TableDataFiles::LoadState::Read) {
        const std::optional<TableRowView> record = reader.nextView();
        if (!record) {
            break;
        }
        rows.appendRecord(*record);
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

void TableLayersFile::save(const TableDataFiles& files, const TableLayers& layers) {
    files.writeRecords(layers.rowCount(), [&layers](int row) { return layers.record(row); });
}

std::optional<int> TableLayersFile::importRows(const TableDataFiles& files, int columnCount, int rowCount,
                                               const NextImportedRow& nextRow, bool append) {
    qint64 stored = 0;
    bool onlyAnEmptyRow = false;
    if (append) {
        const QString path = files.tablePath();
        const QFileInfo info(path);
        stored = info.exists() ? info.size() / TableRowRecord::Size : 0;
        if (stored == 1) {
            TableRowReader reader;
            TableRowRecord record;
            if (!reader.open(path)) {
                throw reader.openFailure();
            }
            reader.next(record);
            TableLayers first(columnCount);
            first.appendRecord(record);
            first.removeRow(0);
            onlyAnEmptyRow = first.holdsOnlyAnEmptyRow();
        }
    }
    // A file past the row limit counts as one row past it, which is enough to refuse.
    const int kept =
        rowsKeptByCsvImport(int(std::min<qint64>(stored, TableLayers::MaxRows + 1)), onlyAnEmptyRow, append);
    if (kept + rowCount > TableLayers::MaxRows) {
        return std::nullopt;
    }
    const TableLayers layers(columnCount);
    files.replaceRecords(kept, rowCount, [&layers, &nextRow](int) {
        return layers.recordOf(layers.withTexts(TableLayers::Row{}, 0, nextRow()));
    });
    return kept;
}

} // namespace kelvano
