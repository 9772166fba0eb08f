#pragma once

#include "core/store/table_row_record.h"
#include "core/table/packed_texts.h"

#include <Qt>
#include <optional>
#include <vector>

namespace kelvano {

class TextCollation;

/// The five cell layers of the table data editor.
enum class CellLayer { Text, Picture, Link, Placement, Background };

/// A table's rows as the editor holds them: for every data row and column the cell's text, picture,
/// link, placement and background. Every row operation acts on all five layers at once, so a cell's
/// decorations always travel with its row. Rows and columns are counted from 0 here.
///
/// A stored row keeps the cells of the columns beyond the column count too (a table whose column
/// count was lowered): they are not shown or edited, travel with their row and are stored again
/// unchanged, so raising the count brings them back.
class TableLayers {
public:
    /// Row and column numbers are 16-bit counts in the stored format, with row 0 the heading row.
    static constexpr int MaxRows = 65534;

    /// One empty data row.
    explicit TableLayers(int columnCount = 1);

    int columnCount() const { return m_columnCount; }
    /// Shows `count` columns where fewer are shown (at most MaxColumns); cells a lowered count had
    /// hidden come back, as when the table is opened again with the higher count.
    void raiseColumnCount(int count);
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    bool canAddRow() const { return rowCount() < MaxRows; }

    /// The placement layer reads "RIGHT", "LEFT" or empty.
    QByteArrayView value(CellLayer layer, int row, int column) const;
    /// Placement values other than "RIGHT" and empty are kept as "LEFT", as the stored byte keeps them.
    void setValue(CellLayer layer, int row, int column, QByteArrayView value);
    QByteArrayView text(int row, int column) const { return value(CellLayer::Text, row, column); }
    /// True when any cell of the layer holds a value.
    bool layerHasValues(CellLayer layer) const;

    TableCell cell(int row, int column) const;
    TableRow row(int row) const;
    /// Appends a row (cells beyond the column count are dropped, missing ones are empty).
    void appendRow(const TableRow& cells);
    /// Appends a stored record: columns 1..N as cells, where a non-zero placement byte gives "RIGHT" and
    /// 0 gives "LEFT", and the columns beyond N as they are stored.
    void appendRecord(const TableRowRecord& record);
    /// The same from a record's bytes, read where they lie.
    void appendRecord(const TableRowView& record);
    /// The stored record of a row, the columns beyond N as they were read.
    TableRowRecord record(int row) const;

    /// Inserts an empty row before `row` (at the end when `row` is the row count); false at the limit.
    bool insertEmptyRow(int row);
    /// Removes a row; the only row is emptied instead, so a table always keeps one row. False when
    /// nothing changed (the only row was empty already).
    bool removeRow(int row);
    void swapRows(int first, int second);
    /// Orders the rows by the texts of one column; descending is exactly the reverse of ascending
    /// (equal keys included), ascending keeps rows with equal keys in their order. False when every
    /// row stayed where it was.
    bool sortRows(int column, Qt::SortOrder order, const TextCollation& collation);

    /// The order sortRows gives: entry i is the row that comes to stand at i.
    std::vector<int> sortOrder(int column, Qt::SortOrder order, const TextCollation& collation) const;
    /// The order of the sorts in numeric order: rows with an empty text in the column come last in
    /// both directions, in their order; the others ascend or descend by the collation, rows with equal
    /// keys keeping their order.
    std::vector<int> sortOrderEmptyLast(int column, Qt::SortOrder order,
                                        const TextCollation& collation) const;
    /// Rearranges the rows: row i becomes the row that stood at `order[i]` (a permutation of the rows).
    void permuteRows(const std::vector<int>& order);

    struct Row;
    /// Rows as they are held, every layer and the hidden columns included; copies share their buffers.
    std::vector<Row> rows(int first, int count) const;
    /// Replaces `count` rows from `first` by `rows` (as many or not); a table left without rows gets one
    /// empty row. False when more than MaxRows rows would result (and nothing changes).
    bool replaceRows(int first, int count, std::vector<Row> rows);
    /// A row with the texts of columns `firstColumn`... replaced by `texts` (nullopt keeps a cell's
    /// text); its other columns, layers and hidden columns stay as they are.
    Row withTexts(const Row& row, int firstColumn, const QList<std::optional<QByteArray>>& texts) const;
    /// The stored record of a row held apart from the table (record(int) of a row in it).
    TableRowRecord recordOf(const Row& cells) const;
    /// True when the table has one row and none of its cells, hidden ones included, holds a text, picture,
    /// link or background. A placement alone does not count: it only says where a picture goes, and a
    /// stored row always has one.
    bool holdsOnlyAnEmptyRow() const;

    enum : char { PlacementUnset = 0, PlacementRight = 'R', PlacementLeft = 'L' };
    /// One row of every layer.
    struct Row {
        PackedTexts texts;
        PackedTexts pictures;
        PackedTexts links;
        PackedTexts backgrounds;
        QByteArray placements; ///< one byte per column; empty when none is set

        bool isEmpty() const {
            return texts.isEmpty() && pictures.isEmpty() && links.isEmpty() && backgrounds.isEmpty() &&
                   placements.isEmpty();
        }
        bool operator==(const Row&) const = default;
    };

private:
    const PackedTexts& layerOf(const Row& row, CellLayer layer) const;
    PackedTexts& layerOf(Row& row, CellLayer layer);

    int m_columnCount;
    std::vector<Row> m_rows;
};

} // namespace kelvano
