#pragma once

#include "core/store/record_fields.h"

#include <QByteArray>
#include <QList>
#include <array>

namespace kelvano {

/// One cell of a table row as the editor keeps it: the five cell layers.
struct TableCell {
    QByteArray text;
    QByteArray picture;
    QByteArray link;
    /// "RIGHT", "LEFT" or empty (empty is stored as "RIGHT").
    QByteArray placement;
    QByteArray background;

    bool operator==(const TableCell&) const = default;
};

/// Data columns 1..N at indices 0..N-1.
using TableRow = QList<TableCell>;

/// One 51306-byte record of a ".TBL" file: one data row, every array indexed by grid column (index 0
/// belongs to the row headings and is never used).
struct TableRowRecord {
    static constexpr qsizetype Size = 51306;
    static constexpr qsizetype CellCapacity = 250;
    static constexpr int ArrayLength = 51;
    static constexpr int MaxColumns = 50;

    using Strings = std::array<QByteArray, ArrayLength>;

    // Byte offsets of the arrays (the file order differs from the order of the editor's layers). Each
    // string array holds 51 short strings of capacity 250, slot i at 251 * i; 51 reserved bytes end
    // the record.
    static constexpr qsizetype StringSize = CellCapacity + 1;
    static constexpr qsizetype CellTextsAt = 0;
    static constexpr qsizetype CellPicturesAt = 12801;
    static constexpr qsizetype CellBackgroundsAt = 25602;
    static constexpr qsizetype CellLinksAt = 38403;
    static constexpr qsizetype PictureOnRightAt = 51204;

    Strings CellTexts;
    Strings CellPictures;
    Strings CellBackgrounds;
    Strings CellLinks;
    std::array<quint8, ArrayLength> PictureOnRight{};

    QByteArray encode() const;
    static TableRowRecord decode(QByteArrayView record);

    /// The record of a row: columns 1..N (at most 50) from its cells, each text cut to 250 bytes;
    /// the placement "RIGHT" or empty gives 1, anything else 0.
    static TableRowRecord fromRow(const TableRow& row);
    /// Columns 1..columnCount (at most 50); a non-zero placement byte gives "RIGHT", 0 gives "LEFT".
    TableRow toRow(int columnCount) const;
};

/// The cells of one stored record, read where they lie in its bytes instead of being copied out: for
/// readers that go through many rows once and use a few slots of each (a page). The bytes must
/// outlive the view.
class TableRowView {
public:
    /// `record` holds one whole record (TableRowRecord::Size bytes).
    explicit TableRowView(QByteArrayView record) : m_record(record) {
        Q_ASSERT(record.size() >= TableRowRecord::Size);
    }

    /// The slots of grid column `column` (0..50).
    QByteArrayView text(int column) const { return slot(TableRowRecord::CellTextsAt, column); }
    QByteArrayView picture(int column) const { return slot(TableRowRecord::CellPicturesAt, column); }
    QByteArrayView background(int column) const { return slot(TableRowRecord::CellBackgroundsAt, column); }
    QByteArrayView link(int column) const { return slot(TableRowRecord::CellLinksAt, column); }
    bool pictureOnRight(int column) const {
        return readU8(m_record, TableRowRecord::PictureOnRightAt + checked(column)) != 0;
    }

private:
    static qsizetype checked(int column) {
        Q_ASSERT(column >= 0 && column < TableRowRecord::ArrayLength);
        return column;
    }
    QByteArrayView slot(qsizetype arrayAt, int column) const {
        return shortStringView(m_record, arrayAt + TableRowRecord::StringSize * checked(column),
                               TableRowRecord::CellCapacity);
    }

    QByteArrayView m_record;
};

static_assert(TableRowRecord::Size == 51306);
static_assert(TableRowRecord::CellPicturesAt ==
              TableRowRecord::CellTextsAt + TableRowRecord::StringSize * TableRowRecord::ArrayLength);
static_assert(TableRowRecord::CellBackgroundsAt ==
              TableRowRecord::CellPicturesAt + TableRowRecord::StringSize * TableRowRecord::ArrayLength);
static_assert(TableRowRecord::CellLinksAt ==
              TableRowRecord::CellBackgroundsAt + TableRowRecord::StringSize * TableRowRecord::ArrayLength);
static_assert(TableRowRecord::PictureOnRightAt ==
              TableRowRecord::CellLinksAt + TableRowRecord::StringSize * TableRowRecord::ArrayLength);
static_assert(TableRowRecord::PictureOnRightAt + 2 * TableRowRecord::ArrayLength == TableRowRecord::Size);

} // namespace kelvano
