#include "gui/entry/row_changes.h"

#include "core/table/table_data_model.h"

namespace kelvano {

ReplaceRowsChange::ReplaceRowsChange(TableDataModel* model, int first, std::vector<TableLayers::Row> before,
                                     std::vector<TableLayers::Row> after, bool applied, const QString& text)
    : QUndoCommand(text), m_model(model), m_first(first), m_before(std::move(before)),
      m_after(std::move(after)), m_applied(applied) {}

void ReplaceRowsChange::undo() {
    m_model->replaceRows(m_first, static_cast<int>(m_after.size()), m_before);
}

void ReplaceRowsChange::redo() {
    if (m_applied) {
        m_applied = false;
        return;
    }
    m_model->replaceRows(m_first, static_cast<int>(m_before.size()), m_after);
}

PermuteRowsChange::PermuteRowsChange(TableDataModel* model, std::vector<int> order, const QString& text)
    : QUndoCommand(text), m_model(model), m_order(std::move(order)) {}

void PermuteRowsChange::undo() {
    std::vector<int> inverse(m_order.size());
    for (size_t i = 0; i < m_order.size(); ++i) {
        inverse[size_t(m_order[i])] = static_cast<int>(i);
    }
    m_model->permuteRows(inverse);
}

void PermuteRowsChange::redo() {
    m_model->permuteRows(m_order);
}

} // namespace kelvano
