#pragma once

#include "core/table/table_layers.h"

#include <QUndoCommand>
#include <vector>

namespace kelvano {

class TableDataModel;

/// One undoable change of the editor's rows: a run of rows replaced by others (as many or not). Both
/// runs are kept as the layers hold them, sharing their buffers with the table, so undo restores every
/// layer and the hidden columns exactly.
class ReplaceRowsChange : public QUndoCommand {
public:
    /// `applied`: the table already holds `after` (a typed text, a change made in place), so the first
    /// redo does nothing.
    ReplaceRowsChange(TableDataModel* model, int first, std::vector<TableLayers::Row> before,
                      std::vector<TableLayers::Row> after, bool applied, const QString& text);

    void undo() override;
    void redo() override;

private:
    TableDataModel* m_model;
    int m_first;
    std::vector<TableLayers::Row> m_before;
    std::vector<TableLayers::Row> m_after;
    bool m_applied;
};

/// A sort as one undoable change: only the order is kept (a row number per row), never the rows.
class PermuteRowsChange : public QUndoCommand {
public:
    /// `order[i]` is the row that comes to stand at i.
    PermuteRowsChange(TableDataModel* model, std::vector<int> order, const QString& text);

    void undo() override;
    void redo() override;

private:
    TableDataModel* m_model;
    std::vector<int> m_order;
};

} // namespace kelvano
