// Spreadsheet files from other programs: an .xlsx or .ods archive read for its sheet names and a sheet's
// cells, whatever its bytes (damaged archives, parts that are not well-formed, lying sizes).

#include "core/table/sheet_file.h"
#include "fuzz_support.h"

using namespace kelvano;
using kelvano::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = fuzz::scratchFolder() + QStringLiteral("input");
    fuzz::writeFile(path, QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    for (const SheetChoice& choice :
         {SheetChoice{}, SheetChoice{0, QStringLiteral("2")}, SheetChoice::namesOnly()}) {
        const SheetFile file = SheetFile::read(path, choice);
        if (file.failure != SheetFailure::None) {
            require(file.records.isEmpty(), "a refused file gives no rows");
            continue;
        }
        require(file.records.size() <= SheetFile::RecordsRead, "no more rows than are read");
        require(file.sheet >= 0 && (file.sheet < file.sheetNames.size() || file.sheetNames.isEmpty()),
                "the sheet read is one of the file's");
        qsizetype fields = 0;
        for (const QByteArrayList& record : file.records) {
            require(!record.isEmpty(), "a row has at least one field");
            fields += record.size();
            for (const QByteArray& text : record) {
                require(text.size() <= SheetFile::FieldBytesRead * 3, "a cell's text is bounded");
            }
        }
        require(fields <= SheetFile::FieldsRead, "no more cells than are read");
        if (!choice.nameOrNumber && choice.index < 0) {
            require(file.records.isEmpty(), "names only: no rows");
        }
    }
    return 0;
}
