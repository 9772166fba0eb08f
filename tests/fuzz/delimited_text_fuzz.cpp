// CSV and TSV text from other programs: detecting its format, reading its records, writing them back,
// and fitting its texts to cells.

#include "core/store/table_row_record.h"
#include "core/table/cell_text_import.h"
#include "core/table/delimited_text.h"
#include "fuzz_support.h"

using namespace kelvano;
using kelvano::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const DelimitedFormat format = DelimitedText::detect(input);
    require(QByteArrayView(",\t;").contains(format.separator), "the separator is one of the three");
    const QList<QByteArrayList> records =
        DelimitedText::parse(DelimitedText::withoutByteOrderMark(input), format.separator);
    for (const QByteArrayList& record : records) {
        require(!record.isEmpty(), "a record has at least one field");
    }
    const QByteArray written = DelimitedText::format(records, format.separator, "\r\n");
    require(DelimitedText::parse(written, format.separator) == records, "written records read back the same");

    const int columns = 1 + int(size % TableRowRecord::MaxColumns);
    const CellTextImport imported =
        importCellTexts(records, format.encoding, columns, TableRowRecord::CellCapacity);
    require(imported.rows.size() == records.size(), "one row per record");
    for (const auto& row : imported.rows) {
        require(row.size() <= columns, "no more texts than columns");
        for (const auto& text : row) {
            require(!text || text->size() <= TableRowRecord::CellCapacity, "every text fits its cell");
        }
    }
    return 0;
}
