#include "entry/table_layers.h"

#include "entry/text_collation.h"

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

void TableLayers::appendRecord(const TableRowRecord& record) {
    // Record arrays are indexed by grid column: column c (from 0 here) lies at index c + 1.
    const auto field = [](const TableRowRecord::Strings& strings) {
        return [&strings](int column) {
            return QByteArrayView(strings[size_t(column) + 1]);
        };
    };
    Row row;
    row.texts = PackedTexts::build(m_columnCount, field(record.CellTexts));
    row.pictures = PackedTexts::build(m_columnCount, field(record.CellPictures));
    row.links = PackedTexts::build(m_columnCount, field(record.CellLinks));
    row.backgrounds = PackedTexts::build(m_columnCount, field(record.CellBackgrounds));
    row.placements.resize(m_columnCount);
    for (int column = 0; column < m_columnCount; ++column) {
        row.placements[column] =
            record.PictureOnRight[size_t(column) + 1] != 0 ? PlacementRight : PlacementLeft;
    }
    m_rows.push_back(std::move(row));
}

TableRowRecord TableLayers::record(int row) const {
    // Filled straight from the packed layers (no cells in between): saving a large table is mostly this.
    // The texts are cut to their capacity when the record is encoded.
    TableRowRecord record;
    const Row& cells = m_rows.at(size_t(row));
    for (int column = 0; column < m_columnCount; ++column) {
        const size_t index = size_t(column) + 1;
        record.CellTexts[index] = cells.texts.at(column).toByteArray();
        record.CellPictures[index] = cells.pictures.at(column).toByteArray();
        record.CellLinks[index] = cells.links.at(column).toByteArray();
        record.CellBackgrounds[index] = cells.backgrounds.at(column).toByteArray();
        // "RIGHT" and no placement give 1, "LEFT" gives 0.
        const bool left = column < cells.placements.size() && cells.placements[column] == PlacementLeft;
        record.PictureOnRight[index] = left ? 0 : 1;
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

void TableLayers::removeRow(int row) {
    if (rowCount() == 1) {
        m_rows.front() = Row{};
        return;
    }
    m_rows.erase(m_rows.begin() + row);
}

void TableLayers::swapRows(int first, int second) {
    std::swap(m_rows.at(size_t(first)), m_rows.at(size_t(second)));
}

void TableLayers::sortRows(int column, Qt::SortOrder order, const TextCollation& collation) {
    // One collation key per row, compared byte-wise: the texts are collated once, not once per comparison.
    std::vector<QByteArray> keys;
    keys.reserve(m_rows.size());
    for (int row = 0; row < rowCount(); ++row) {
        keys.push_back(collation.sortKey(text(row, column)));
    }
    std::vector<int> sorted(m_rows.size());
    std::iota(sorted.begin(), sorted.end(), 0);
    std::stable_sort(sorted.begin(), sorted.end(), [&keys](int a, int b) {
        return std::strcmp(keys[size_t(a)].constData(), keys[size_t(b)].constData()) < 0;
    });
    if (order == Qt::DescendingOrder) {
        std::reverse(sorted.begin(), sorted.end());
    }
    std::vector<Row> rows;
    rows.reserve(m_rows.size());
    for (const int from : sorted) {
        rows.push_back(std::move(m_rows[size_t(from)]));
    }
    m_rows = std::move(rows);
}

} // namespace kelvano
