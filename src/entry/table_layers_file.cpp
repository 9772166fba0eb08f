#include "entry/table_layers_file.h"

#include "store/io_error.h"
#include "store/save_file.h"

#include <QFile>

namespace kelvano {

TableLayersFile::Loaded TableLayersFile::load(const TableDataFiles& files, int columnCount) {
    const QString path = files.tablePath();
    TableRowReader reader;
    if (!reader.open(path)) {
        QFile file(path);
        const bool created = !file.exists() && file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        return {created ? TableDataFiles::LoadState::CreatedEmpty : TableDataFiles::LoadState::Unavailable,
                TableLayers(columnCount)};
    }
    // A table starts with one empty row, which the first record replaces.
    TableLayers rows(columnCount);
    TableRowRecord record;
    while (reader.next(record)) {
        rows.appendRecord(record);
    }
    if (rows.rowCount() > 1) {
        rows.removeRow(0);
    }
    return {TableDataFiles::LoadState::Read, std::move(rows)};
}

bool TableLayersFile::save(const TableDataFiles& files, const TableLayers& layers) {
    // The file is written unbuffered, so records are gathered into chunks of about a megabyte.
    constexpr qsizetype ChunkSize = 20 * TableRowRecord::Size;
    try {
        replaceWholeFile(files.tablePath(), [&layers](QIODevice& device) {
            QByteArray chunk;
            chunk.reserve(ChunkSize);
            for (int row = 0; row < layers.rowCount(); ++row) {
                chunk += layers.record(row).encode();
                if (chunk.size() >= ChunkSize) {
                    writeAll(device, chunk);
                    chunk.resize(0); // keeps the buffer for the next chunk
                }
            }
            writeAll(device, chunk);
        });
        return true;
    } catch (const IoError&) {
        return false;
    }
}

} // namespace kelvano
