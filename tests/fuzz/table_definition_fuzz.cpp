// TABLE.DAT: the record codec and the file, whatever bytes the file holds.

#include "core/store/table_definition_file.h"
#include "fuzz_support.h"

using namespace kelvano;
using kelvano::fuzz::require;

namespace {

void checkRecord(QByteArrayView bytes) {
    const TableDefinition definition = TableDefinition::decode(bytes);
    const QByteArray encoded = definition.encode();
    require(encoded.size() == TableDefinition::Size, "a definition encodes to one record");
    require(TableDefinition::decode(encoded) == definition, "a decoded definition survives its encoding");
    require(definition.usableColumnCount() >= 0 &&
                definition.usableColumnCount() <= TableDefinition::MaxColumns,
            "the usable column count indexes the arrays");
    require(definition.usableRowColourCount() >= 1 &&
                definition.usableRowColourCount() <= TableDefinition::ArrayLength,
            "the usable row colour count is a divisor and an index bound");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype wholeRecords = input.size() / TableDefinition::Size;
    for (qsizetype n = 0; n < wholeRecords; ++n) {
        checkRecord(input.sliced(n * TableDefinition::Size, TableDefinition::Size));
    }

    const QString folder = fuzz::scratchFolder();
    fuzz::writeFile(folder + TableDefinitionFile::FileName, input);
    const TableDefinitionFile file(folder);
    {
        const DefinitionList list = file.readAll();
        require(list.records.size() == wholeRecords, "every whole record is read");
        require(list.damagedTail == (input.size() % TableDefinition::Size != 0), "a torn tail is reported");
        for (const NumberedDefinition& record : list.records) {
            require(record.definition == TableDefinition::decode(input.sliced(
                                             record.number * TableDefinition::Size, TableDefinition::Size)),
                    "records are numbered by position");
        }
        if (wholeRecords > 0) {
            TableDefinition first = list.records.front().definition;
            require(file.read(0) == first, "record 0 reads as listed");
            // A rewrite, an append and a deletion change exactly their own record.
            first.Deleted = true;
            file.write(0, first);
            first.Deleted = false;
            require(file.read(0) == first, "a written record reads back, not deleted");
            // An append after a torn tail writes over the tail.
            const int appended = file.append(first);
            require(appended == wholeRecords, "an append takes the next number");
            file.setDeleted(appended, true);
            std::optional<TableDefinition> reread = file.read(appended);
            require(reread && reread->Deleted, "a deleted record reads as deleted");
            reread->Deleted = false;
            require(*reread == first, "deleting changes nothing else");
        }
        try {
            file.read(static_cast<int>(file.readAll().records.size()));
            require(false, "a record past the end is refused");
        } catch (const IoError&) {
        }
    }
    return 0;
}
