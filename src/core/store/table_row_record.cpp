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

void readStrings(QByteArrayView record, qsizetype offset, TableRowRecord::Strings& strings) {
    for (int i = 0; i < TableRowRecord::ArrayLength; ++i) {
        strings[static_cast<std::size_t>(i)] =
            readShortString(record, offset + TableRowRecord::StringSize * i, TableRowRecord::CellCapacity);
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
