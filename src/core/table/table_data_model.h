#pragma once

#include "core/table/column_width_tracker.h"
#include "core/table/table_layers.h"

#include <QAbstractTableModel>

namespace kelvano {

/// The text layer of a table's cell layers as a grid model (headings 列1..列N, labels 行1..行R), and
/// the one way the editor changes any layer, so that views and column widths follow every change.
class TableDataModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit TableDataModel(QObject* parent = nullptr);

    const TableLayers& layers() const { return m_layers; }
    /// Replaces every layer (a newly opened table); the rows count as unmodified.
    void setLayers(TableLayers layers);

    /// True when a cell or the rows changed since the layers were set or last marked as saved.
    bool isModified() const { return m_modified; }
    /// Marks the rows as they are now as saved (or their changes as given up).
    void setUnmodified() { m_modified = false; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    /// Refuses text that code page 932 cannot hold (emitting textRefused) and keeps the old text.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void setValue(CellLayer layer, int row, int column, QByteArrayView value);
    QByteArrayView value(CellLayer layer, int row, int column) const {
        return m_layers.value(layer, row, column);
    }

    /// Shows `count` columns where fewer are shown (TableLayers::raiseColumnCount).
    void raiseColumnCount(int count);

    /// Inserts an empty row before `row` (at the end for the row count); false at the row limit.
    bool insertEmptyRow(int row);
    /// Removes a row; the only row is emptied instead.
    void removeDataRow(int row);
    void swapDataRows(int first, int second);
    void sortRows(int column, Qt::SortOrder order, const TextCollation& collation);

    /// Rows as held (every layer, hidden columns included), for taking a change back.
    std::vector<TableLayers::Row> rows(int first, int count) const { return m_layers.rows(first, count); }
    /// Replaces `count` rows from `first` by `rows`; the grid keeps its current cell where it can. False
    /// (nothing changed) past the row limit.
    bool replaceRows(int first, int count, std::vector<TableLayers::Row> rows);
    /// Rearranges the rows: row i becomes the row that stood at `order[i]`.
    void permuteRows(const std::vector<int>& order);

    /// How a text's width is measured (the grid's font); the widths of every text are taken again.
    void setTextMeasure(ColumnWidthTracker::Measure measure);
    /// The width of the widest text of a column of the text layer.
    int widestText(int column) const { return m_widths.widest(column); }

signals:
    /// A typed text held characters code page 932 cannot store; they are listed.
    void textRefused(const QString& unencodable);
    /// A typed text is about to replace the cell's text (sent before every change setData makes).
    void textAboutToBeTyped(int row, int column);

private:
    void measureAll();
    void rowsChanged(int first, int last);

    TableLayers m_layers;
    ColumnWidthTracker m_widths;
    bool m_modified = false;
};

} // namespace kelvano
