// A table's ".TBL" file: the row record codec, the row reader, and the editor's load and save.
// Input: the column count (a signed byte, so out-of-range counts come too), then the file's bytes.

#include "core/table/table_layers_file.h"
#include "fuzz_support.h"

using namespace kelvano;
using kelvano::fuzz::require;

namespace {

QByteArray fileOf(const TableLayers& layers) {
    QByteArray contents;
    for (int row = 0; row < layers.rowCount(); ++row) {
        contents += layers.record(row).encode();
    }
    return contents;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputReader reader(data, size);
    const int columnCount = static_cast<qint8>(reader.byte());
    const QByteArrayView contents = reader.rest();

    const qsizetype wholeRecords = contents.size() / TableRowRecord::Size;
    QList<TableRowRecord> records;
    for (qsizetype n = 0; n < wholeRecords; ++n) {
        const QByteArrayView bytes = contents.sliced(n * TableRowRecord::Size, TableRowRecord::Size);
        const TableRowRecord record = TableRowRecord::decode(bytes);
        const TableRowView view(bytes);
        for (int c = 0; c < TableRowRecord::ArrayLength; ++c) {
            const auto i = static_cast<std::size_t>(c);
            require(view.text(c) == record.CellTexts[i] && view.picture(c) == record.CellPictures[i] &&
                        view.background(c) == record.CellBackgrounds[i] &&
                        view.link(c) == record.CellLinks[i] &&
                        view.pictureOnRight(c) == (record.PictureOnRight[i] != 0),
                    "a page sees the cells the editor reads");
        }
        const QByteArray encoded = record.encode();
        require(encoded.size() == TableRowRecord::Size, "a row encodes to one record");
        require(TableRowRecord::decode(encoded).encode() == encoded, "a decoded row survives its encoding");
        records.append(record);
    }

    const QString folder = fuzz::scratchFolder();
    const TableDataFiles files(folder, QStringLiteral("FUZZ"));
    fuzz::writeFile(files.tablePath(), contents);

    TableRowReader rows;
    require(files.openRows(rows) == TableDataFiles::LoadState::Read, "an existing file is read");
    TableRowRecord next;
    qsizetype read = 0;
    while (rows.next(next)) {
        require(read < wholeRecords, "a torn tail is not a record");
        require(next.encode() == records[read].encode(), "records are read in file order");
        ++read;
    }
    require(read == wholeRecords, "every whole record is read");

    const TableLayersFile::Loaded loaded = TableLayersFile::load(files, columnCount);
    const TableLayers& layers = loaded.layers;
    require(loaded.state == TableLayersFile::Opening::Read, "the editor reads an existing file");
    require(layers.rowCount() == std::max<qsizetype>(wholeRecords, 1), "the editor keeps at least one row");
    for (qsizetype n = 0; n < wholeRecords; ++n) {
        require(layers.row(static_cast<int>(n)) == records[n].toRow(layers.columnCount()),
                "the editor shows the rows as read");
    }

    // Saving writes one record per row, and what was saved loads unchanged (an unset placement is
    // stored as "RIGHT", so rows are compared in their stored form).
    TableLayersFile::save(files, layers);
    const QByteArray saved = fuzz::readFile(files.tablePath());
    require(saved == fileOf(layers), "the file holds one record per row");
    const TableLayersFile::Loaded reloaded = TableLayersFile::load(files, layers.columnCount());
    require(reloaded.layers.rowCount() == layers.rowCount(), "a saved table keeps its rows");
    for (int row = 0; row < layers.rowCount(); ++row) {
        require(reloaded.layers.record(row).encode() == layers.record(row).encode(),
                "a saved row loads unchanged");
    }
    return 0;
}
