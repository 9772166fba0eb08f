#include "core/table/table_layers.h"

#include "core/table/text_collation.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace kelvano {
namespace {

const QByteArray Right = QByteArrayLiteral("RIGHT");
const QByteArray Left = QByteArrayLiteral("LEFT");

} // namespace

TableLayers::TableLayers(int columnCount)
    : m_columnCount(std::clamp(columnCount, 1, TableRowRecord::MaxColumns)), m_rows(1) {}

const PackedTexts& TableLayers::layerOf(const Row& row, CellLayer layer) const {
    switch (layer) {
    case CellLayer::Picture:
        return row.pictures;
    case CellLayer::Link:
        return row.links;
    case CellLayer::Background:
        return row.backgrounds;
    default:
        return row.texts;
    }
}

PackedTexts& TableLayers::layerOf(Row& row, CellLayer layer) {
    return const_cast<PackedTexts&>(std::as_const(*this).layerOf(row, layer));
}

QByteArrayView TableLayers::value(CellLayer layer, int row, int column) const {
    const Row& cells = m_rows.at(size_t(row));
    if (layer != CellLayer::Placement) {
        return layerOf(cells, layer).at(column);
    }
    if (column < 0 || column >= cells.placements.size()) {
        return {};
    }
    switch (cells.placements[column]) {
    case PlacementRight:
        return Right;
    case PlacementLeft:
        return Left;
    default:
        return {};
    }
}

void TableLayers::setValue(CellLayer layer, int row, int column, QByteArrayView value) {
    if (column < 0 || column >= m_columnCount) {
        return;
    }
    Row& cells = m_rows.at(size_t(row));
    if (layer != CellLayer::Placement) {
        layerOf(cells, layer).set(column, m_columnCount, value);
        return;
    }
    const char code = value.isEmpty() ? PlacementUnset : value == Right ? PlacementRight : PlacementLeft;
    if (cells.placements.isEmpty()) {
        if (code == PlacementUnset) {
            return;
        }
        cells.placements = QByteArray(m_columnCount, PlacementUnset);
    }
    cells.placements[column] = code;
}

bool TableLayers::layerHasValues(CellLayer layer) const {
    return std::any_of(m_rows.begin(), m_rows.end(), [this, layer](const Row& row) {
        return layer == CellLayer::Placement ? !row.placements.isEmpty() : !layerOf(row, layer).isEmpty();
    });
}

TableCell TableLayers::cell(int row, int column) const {
    return {value(CellLayer::Text, row, column).toByteArray(),
            value(CellLayer::Picture, row, column).toByteArray(),
            value(CellLayer::Link, row, column).toByteArray(),
            value(CellLayer::Placement, row, column).toByteArray(),
            value(CellLayer::Background, row, column).toByteArray()};
}

TableRow TableLayers::row(int row) const {
    TableRow cells;
    cells.reserve(m_columnCount);
    for (int column = 0; column < m_columnCount; ++column) {
        cells.append(cell(row, column));
    }
    return cells;
}

void TableLayers::appendRow(const TableRow& cells) {
    const auto count = static_cast<int>(std::min<qsizetype>(cells.size(), m_columnCount));
    const auto field = [&cells, count](QByteArray TableCell::*member) {
        return [&cells, count, member](int column) {
            return column < count ? QByteArrayView(cells[column].*member) : QByteArrayView();
        };
    };
    Row row;
    row.texts = PackedTexts::build(m_columnCount, field(&TableCell::text));
    row.pictures = PackedTexts::build(m_columnCount, field(&TableCell::picture));
    row.links = PackedTexts::build(m_columnCount, field(&TableCell::link));
    row.backgrounds = PackedTexts::build(m_columnCount, field(&TableCell::background));
    m_rows.push_back(std::move(row));
    for (int column = 0; column < count; ++column) {
        setValue(CellLayer::Placement, rowCount() - 1, column, cells[column].placement);
    }
}

void TableLayers::raiseColumnCount(int count) {
    m_columnCount = std::max(m_columnCount, std::min(count, int(TableRowRecord::MaxColumns)));
}

void TableLayers::appendRecord(const TableRowRecord& record) {
    const QByteArray bytes = record.encode();
    appendRecord(TableRowView(bytes));
}

void TableLayers::appendRecord(const TableRowView& record) {
    // Record arrays are indexed by grid column: column c (from 0 here) lies at index c + 1. The row
    // keeps every column up to the last one holding anything, hidden columns included; a record
    // written for this column count holds nothing beyond it and costs nothing more. The slots are
    // read where they lie in the record's bytes.
    int width = m_columnCount;
    for (int index = TableRowRecord::MaxColumns; index > m_columnCount; --index) {
        if (!record.text(index).isEmpty() || !record.picture(index).isEmpty() ||
            !record.link(index).isEmpty() || !record.background(index).isEmpty() ||
            record.pictureOnRight(index)) {
            width = index;
            break;
        }
    }
    using Slot = QByteArrayView (TableRowView::*)(int) const;
    const auto field = [&record](Slot slot) {
        return [&record, slot](int column) {
            return (record.*slot)(column + 1);
        };
    };
    Row row;
    row.texts = PackedTexts::build(width, field(&TableRowView::text));
    row.pictures = PackedTexts::build(width, field(&TableRowView::picture));
    row.links = PackedTexts::build(width, field(&TableRowView::link));
    row.backgrounds = PackedTexts::build(width, field(&TableRowView::background));
    row.placements.resize(width);
    for (int column = 0; column < width; ++column) {
        row.placements[column] = record.pictureOnRight(column + 1) ? PlacementRight : PlacementLeft;
    }
    m_rows.push_back(std::move(row));
}

TableRowRecord TableLayers::record(int row) const {
    return recordOf(m_rows.at(size_t(row)));
}

TableRowRecord TableLayers::recordOf(const Row& cells) const {
    // Filled straight from the packed layers (no cells in between): saving a large table is mostly this.
    // The texts are cut to their capacity when the record is encoded.
    TableRowRecord record;
    const int width =
        std::min(TableRowRecord::MaxColumns,
                 std::max({m_columnCount, cells.texts.count(), cells.pictures.count(), cells.links.count(),
                           cells.backgrounds.count(), static_cast<int>(cells.placements.size())}));
    for (int column = 0; column < width; ++column) {
        const size_t index = size_t(column) + 1;
        record.CellTexts[index] = cells.texts.at(column).toByteArray();
        record.CellPictures[index] = cells.pictures.at(column).toByteArray();
        record.CellLinks[index] = cells.links.at(column).toByteArray();
        record.CellBackgrounds[index] = cells.backgrounds.at(column).toByteArray();
        // A shown cell: "RIGHT" and no placement give 1, "LEFT" gives 0. A hidden column gives back
        // the byte it was read with, and 0 where it had none.
        const char placement =
            column < cells.placements.size() ? cells.placements[column] : char(PlacementUnset);
        const bool right = column < m_columnCount ? placement != PlacementLeft : placement == PlacementRight;
        record.PictureOnRight[index] = right ? 1 : 0;
    }
    return record;
}

bool TableLayers::insertEmptyRow(int row) {
    if (!canAddRow()) {
        return false;
    }
    m_rows.insert(m_rows.begin() + std::clamp(row, 0, rowCount()), Row{});
    return true;
}

bool TableLayers::removeRow(int row) {
    if (rowCount() == 1) {
        const bool changed = !m_rows.front().isEmpty();
        m_rows.front() = Row{};
        return changed;
    }
    m_rows.erase(m_rows.begin() + row);
    return true;
}

void TableLayers::swapRows(int first, int second) {
    std::swap(m_rows.at(size_t(first)), m_rows.at(size_t(second)));
}

bool TableLayers::sortRows(int column, Qt::SortOrder order, const TextCollation& collation) {
    const std::vector<int> sorted = sortOrder(column, order, collation);
    if (std::is_sorted(sorted.begin(), sorted.end())) {
        return false;
    }
    permuteRows(sorted);
    return true;
}

namespace {

/// The collation keys of a column's texts in one buffer, key i at offset i: the texts are collated
/// once, not once per comparison, and the keys cost one allocation (grown as it fills), not one each.
class ColumnKeys {
public:
    void add(const TextCollation& collation, QByteArrayView text) {
        m_offsets.push_back(m_keys.size());
        collation.appendSortKey(text, m_keys);
    }
    void skip() { m_offsets.push_back(0); }
    /// Negative, zero or positive as row a's key sorts before, with or after row b's.
    int compare(int a, int b) const {
        return std::strcmp(m_keys.constData() + m_offsets[size_t(a)],
                           m_keys.constData() + m_offsets[size_t(b)]);
    }
    void reserve(size_t rows) {
        m_offsets.reserve(rows);
        m_keys.reserve(qsizetype(rows) * 24);
    }

private:
    QByteArray m_keys;
    std::vector<qsizetype> m_offsets;
};

} // namespace

std::vector<int> TableLayers::sortOrder(int column, Qt::SortOrder order,
                                        const TextCollation& collation) const {
    ColumnKeys keys;
    keys.reserve(m_rows.size());
    for (int row = 0; row < rowCount(); ++row) {
        keys.add(collation, text(row, column));
    }
    std::vector<int> sorted(m_rows.size());
    std::iota(sorted.begin(), sorted.end(), 0);
    std::stable_sort(sorted.begin(), sorted.end(), [&keys](int a, int b) { return keys.compare(a, b) < 0; });
    if (order == Qt::DescendingOrder) {
        std::reverse(sorted.begin(), sorted.end());
    }
    return sorted;
}

std::vector<int> TableLayers::sortOrderEmptyLast(int column, Qt::SortOrder order,
                                                 const TextCollation& collation) const {
    ColumnKeys keys;
    keys.reserve(m_rows.size());
    std::vector<int> filled;
    std::vector<int> empty;
    for (int row = 0; row < rowCount(); ++row) {
        const QByteArrayView cell = text(row, column);
        if (cell.isEmpty()) {
            keys.skip();
            empty.push_back(row);
        } else {
            keys.add(collation, cell);
            filled.push_back(row);
        }
    }
    std::stable_sort(filled.begin(), filled.end(), [&keys, order](int a, int b) {
        const int compared = keys.compare(a, b);
        return order == Qt::AscendingOrder ? compared < 0 : compared > 0;
    });
    filled.insert(filled.end(), empty.begin(), empty.end());
    return filled;
}

void TableLayers::permuteRows(const std::vector<int>& order) {
    if (order.size() != m_rows.size()) {
        return;
    }
    std::vector<bool> taken(m_rows.size(), false);
    for (const int from : order) {
        if (from < 0 || size_t(from) >= taken.size() || taken[size_t(from)]) {
            return; // not a permutation of the rows
        }
        taken[size_t(from)] = true;
    }
    std::vector<Row> rows;
    rows.reserve(m_rows.size());
    for (const int from : order) {
        rows.push_back(std::move(m_rows[size_t(from)]));
    }
    m_rows = std::move(rows);
}

std::vector<TableLayers::Row> TableLayers::rows(int first, int count) const {
    first = std::clamp(first, 0, rowCount());
    count = std::clamp(count, 0, rowCount() - first);
    return std::vector<Row>(m_rows.begin() + first, m_rows.begin() + first + count);
}

bool TableLayers::replaceRows(int first, int count, std::vector<Row> rows) {
    first = std::clamp(first, 0, rowCount());
    count = std::clamp(count, 0, rowCount() - first);
    if (rowCount() - count + qsizetype(rows.size()) > MaxRows) {
        return false;
    }
    const qsizetype common = std::min<qsizetype>(count, qsizetype(rows.size()));
    std::move(rows.begin(), rows.begin() + common, m_rows.begin() + first);
    if (count > common) {
        m_rows.erase(m_rows.begin() + first + common, m_rows.begin() + first + count);
    } else {
        m_rows.insert(m_rows.begin() + first + common, std::make_move_iterator(rows.begin() + common),
                      std::make_move_iterator(rows.end()));
    }
    if (m_rows.empty()) {
        m_rows.emplace_back();
    }
    return true;
}

TableLayers::Row TableLayers::withTexts(const Row& row, int firstColumn,
                                        const QList<std::optional<QByteArray>>& texts) const {
    Row changed = row;
    const int width = std::max(m_columnCount, row.texts.count());
    changed.texts = PackedTexts::build(width, [&](int column) -> QByteArrayView {
        const qsizetype i = column - firstColumn;
        if (column < m_columnCount && i >= 0 && i < texts.size() && texts[i]) {
            return *texts[i];
        }
        return row.texts.at(column);
    });
    return changed;
}

bool TableLayers::holdsOnlyAnEmptyRow() const {
    if (m_rows.size() != 1) {
        return false;
    }
    const Row& row = m_rows.front();
    return row.texts.isEmpty() && row.pictures.isEmpty() && row.links.isEmpty() && row.backgrounds.isEmpty();
}

} // namespace kelvano
