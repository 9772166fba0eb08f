#include "core/table/table_data_model.h"

#include "core/store/shift_jis.h"
#include "core/table/text_collation.h"

#include <algorithm>

namespace kelvano {

TableDataModel::TableDataModel(QObject* parent) : QAbstractTableModel(parent) {
    m_widths.reset(m_layers.columnCount());
}

void TableDataModel::setLayers(TableLayers layers) {
    beginResetModel();
    m_layers = std::move(layers);
    m_modified = false;
    measureAll();
    endResetModel();
}

void TableDataModel::setTextMeasure(ColumnWidthTracker::Measure measure) {
    m_widths.setMeasure(std::move(measure));
    measureAll();
}

void TableDataModel::measureAll() {
    m_widths.reset(m_layers.columnCount());
    if (!m_widths.hasMeasure()) {
        return;
    }
    for (int row = 0; row < m_layers.rowCount(); ++row) {
        for (int column = 0; column < m_layers.columnCount(); ++column) {
            m_widths.add(column, m_layers.text(row, column));
        }
    }
}

int TableDataModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_layers.rowCount();
}

int TableDataModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_layers.columnCount();
}

QVariant TableDataModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole: {
        // One line at the top of the cell, above the decoration markers: a line break (pasted or
        // imported) would put the rest under them, out of sight. A page shows it as a space too.
        QString text = shiftJisText(m_layers.text(index.row(), index.column()));
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        text.replace(QLatin1Char('\r'), QLatin1Char(' '));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return text;
    }
    case Qt::EditRole:
        return shiftJisText(m_layers.text(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        // The text stands at the top of the cell; the decoration markers take the lower part.
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignTop));
    default:
        return {};
    }
}

bool TableDataModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return false;
    }
    const ShiftJis::Encoded encoded = ShiftJis::encode(value.toString());
    if (!encoded.ok()) {
        emit textRefused(encoded.unencodable);
        return false;
    }
    emit textAboutToBeTyped(index.row(), index.column());
    setValue(CellLayer::Text, index.row(), index.column(), encoded.bytes);
    return true;
}

Qt::ItemFlags TableDataModel::flags(const QModelIndex& index) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

QVariant TableDataModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || section < 0) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        return section < m_layers.columnCount() ? QStringLiteral("列%1").arg(section + 1) : QVariant();
    }
    return section < m_layers.rowCount() ? QStringLiteral("行%1").arg(section + 1) : QVariant();
}

void TableDataModel::setValue(CellLayer layer, int row, int column, QByteArrayView value) {
    if (row < 0 || row >= m_layers.rowCount() || column < 0 || column >= m_layers.columnCount()) {
        return;
    }
    const QByteArray before = m_layers.value(layer, row, column).toByteArray();
    if (layer == CellLayer::Text) {
        m_widths.replace(column, before, value);
    }
    m_layers.setValue(layer, row, column, value);
    if (m_layers.value(layer, row, column) != before) {
        m_modified = true;
    }
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed);
}

void TableDataModel::rowsChanged(int first, int last) {
    if (first <= last) {
        emit dataChanged(index(first, 0), index(last, m_layers.columnCount() - 1));
    }
}

void TableDataModel::raiseColumnCount(int count) {
    const int shown = m_layers.columnCount();
    const int raised = std::min(count, int(TableRowRecord::MaxColumns));
    if (raised <= shown) {
        return;
    }
    beginInsertColumns({}, shown, raised - 1);
    m_layers.raiseColumnCount(count);
    measureAll();
    endInsertColumns();
}

bool TableDataModel::insertEmptyRow(int row) {
    if (!m_layers.canAddRow() || row < 0 || row > m_layers.rowCount()) {
        return false;
    }
    beginInsertRows({}, row, row);
    m_layers.insertEmptyRow(row);
    m_modified = true;
    endInsertRows();
    return true;
}

void TableDataModel::removeDataRow(int row) {
    if (row < 0 || row >= m_layers.rowCount()) {
        return;
    }
    for (int column = 0; column < m_layers.columnCount(); ++column) {
        m_widths.remove(column, m_layers.text(row, column));
    }
    if (m_layers.rowCount() == 1) {
        if (m_layers.removeRow(row)) {
            m_modified = true;
        }
        rowsChanged(0, 0);
        return;
    }
    beginRemoveRows({}, row, row);
    m_layers.removeRow(row);
    m_modified = true;
    endRemoveRows();
}

void TableDataModel::swapDataRows(int first, int second) {
    if (first == second || first < 0 || second < 0 || first >= m_layers.rowCount() ||
        second >= m_layers.rowCount()) {
        return;
    }
    m_layers.swapRows(first, second);
    m_modified = true;
    rowsChanged(first, first);
    rowsChanged(second, second);
}

void TableDataModel::sortRows(int column, Qt::SortOrder order, const TextCollation& collation) {
    if (column < 0 || column >= m_layers.columnCount()) {
        return;
    }
    // Rows change places but the grid keeps its shape: the current cell stays on its row number.
    if (m_layers.sortRows(column, order, collation)) {
        m_modified = true;
    }
    rowsChanged(0, m_layers.rowCount() - 1);
}

bool TableDataModel::replaceRows(int first, int count, std::vector<TableLayers::Row> rows) {
    const int total = m_layers.rowCount();
    first = std::clamp(first, 0, total);
    count = std::clamp(count, 0, total - first);
    const int added = static_cast<int>(rows.size());
    if (total - count + added > TableLayers::MaxRows) {
        return false;
    }
    const auto measure = [this](int from, int to, bool add) {
        for (int row = from; row < to; ++row) {
            for (int column = 0; column < m_layers.columnCount(); ++column) {
                if (add) {
                    m_widths.add(column, m_layers.text(row, column));
                } else {
                    m_widths.remove(column, m_layers.text(row, column));
                }
            }
        }
    };
    measure(first, first + count, false);
    // The rows in common are changed in place; the rest are inserted or removed, so the views keep the
    // current cell and selection wherever the rows still stand.
    const int common = std::min(count, added);
    const bool emptied = total - count + added == 0; // the table keeps one empty row
    if (added > count) {
        beginInsertRows({}, first + count, first + added - 1);
    } else if (count > added && !(emptied && count == 1)) {
        beginRemoveRows({}, first + added + (emptied ? 1 : 0), first + count - 1);
    }
    m_layers.replaceRows(first, count, std::move(rows));
    if (added > count) {
        endInsertRows();
    } else if (count > added && !(emptied && count == 1)) {
        endRemoveRows();
    }
    const int changed = emptied ? 1 : common;
    measure(first, first + (emptied ? 1 : added), true);
    m_modified = true;
    rowsChanged(first, first + changed - 1);
    return true;
}

void TableDataModel::permuteRows(const std::vector<int>& order) {
    if (order.size() != size_t(m_layers.rowCount())) {
        return;
    }
    // The texts stay the same, so the column widths do too.
    m_layers.permuteRows(order);
    m_modified = true;
    rowsChanged(0, m_layers.rowCount() - 1);
}

} // namespace kelvano
