#include "core/store/table_row_record.h"

#include "core/store/record_fields.h"

#include <algorithm>
#include <cstring>

namespace kelvano {
namespace {

const QByteArray Right = QByteArrayLiteral("RIGHT");
const QByteArray Left = QByteArrayLiteral("LEFT");

void writeStrings(QByteArray& record, qsizetype offset, const TableRowRecord::Strings& strings) {
    for (int i = 0; i < TableRowRecord::ArrayLength; ++i) {
        writeShortString(record, offset + TableRowRecord::StringSize * i, TableRowRecord::CellCapacity,
                         strings[i]);
    }
}

/// Reads the strings into what the array holds, so that a record read again and again (a page's rows)
/// reuses its strings' room instead of allocating for every cell.
void readStrings(QByteArrayView record, qsizetype offset, TableRowRecord::Strings& strings,
                 int count = TableRowRecord::ArrayLength) {
    for (int i = 0; i < count; ++i) {
        const QByteArrayView text =
            shortStringView(record, offset + TableRowRecord::StringSize * i, TableRowRecord::CellCapacity);
        QByteArray& into = strings[static_cast<std::size_t>(i)];
        into.resize(text.size());
        if (!text.isEmpty()) {
            std::memcpy(into.data(), text.data(), static_cast<std::size_t>(text.size()));
        }
    }
}

} // namespace

QByteArray TableRowRecord::encode() const {
    QByteArray record(Size, '\0');
    writeStrings(record, CellTextsAt, CellTexts);
    writeStrings(record, CellPicturesAt, CellPictures);
    writeStrings(record, CellBackgroundsAt, CellBackgrounds);
    writeStrings(record, CellLinksAt, CellLinks);
    for (int i = 0; i < ArrayLength; ++i) {
        writeU8(record, PictureOnRightAt + i, PictureOnRight[i]);
    }
    return record;
}

TableRowRecord TableRowRecord::decode(QByteArrayView record) {
    Q_ASSERT(record.size() >= Size);
    TableRowRecord decoded;
    readStrings(record, CellTextsAt, decoded.CellTexts);
    readStrings(record, CellPicturesAt, decoded.CellPictures);
    readStrings(record, CellBackgroundsAt, decoded.CellBackgrounds);
    readStrings(record, CellLinksAt, decoded.CellLinks);
    for (int i = 0; i < ArrayLength; ++i) {
        decoded.PictureOnRight[i] = readU8(record, PictureOnRightAt + i);
    }
    return decoded;
}

void TableRowRecord::decodeColumns(QByteArrayView record, int columnCount, TableRowRecord& into) {
    Q_ASSERT(record.size() >= Size);
    const int slotCount = std::clamp(columnCount, 0, MaxColumns) + 1;
    readStrings(record, CellTextsAt, into.CellTexts, slotCount);
    readStrings(record, CellPicturesAt, into.CellPictures, slotCount);
    readStrings(record, CellBackgroundsAt, into.CellBackgrounds, slotCount);
    readStrings(record, CellLinksAt, into.CellLinks, slotCount);
    for (int i = 0; i < slotCount; ++i) {
        into.PictureOnRight[i] = readU8(record, PictureOnRightAt + i);
    }
}

TableRowRecord TableRowRecord::fromRow(const TableRow& row) {
    TableRowRecord record;
    const int columns = std::min<int>(static_cast<int>(row.size()), MaxColumns);
    for (int column = 1; column <= columns; ++column) {
        const TableCell& cell = row[column - 1];
        record.CellTexts[column] = cutToCapacity(cell.text, CellCapacity);
        record.CellPictures[column] = cutToCapacity(cell.picture, CellCapacity);
        record.CellLinks[column] = cutToCapacity(cell.link, CellCapacity);
        record.CellBackgrounds[column] = cutToCapacity(cell.background, CellCapacity);
        record.PictureOnRight[column] = (cell.placement == Right || cell.placement.isEmpty()) ? 1 : 0;
    }
    return record;
}

TableRow TableRowRecord::toRow(int columnCount) const {
    const int columns = std::clamp(columnCount, 0, MaxColumns);
    TableRow row;
    row.reserve(columns);
    for (int column = 1; column <= columns; ++column) {
        row.append({CellTexts[column], CellPictures[column], CellLinks[column],
                    PictureOnRight[column] != 0 ? Right : Left, CellBackgrounds[column]});
    }
    return row;
}

} // namespace kelvano
