#pragma once

#include "core/store/table_definition.h"

namespace kelvano {

/// The colours a table's cells take, in both markups: from their column in column colour mode, from
/// their row in row colour mode (the rows cycling through the first RowColourCount row colours, from 0
/// on each page), none when neither mode is set.
class CellColours {
public:
    explicit CellColours(const TableDefinition& definition);

    /// Whether the cells have colours at all (a colour mode is set).
    bool any() const { return m_mode != Mode::None; }
    /// The background and text colour of data column `column` (1-based) in the current row.
    quint32 background(int column) const;
    quint32 text(int column) const;
    /// The row colour entry of the current row (0 in column colour mode).
    int row() const { return m_mode == Mode::Row ? m_row : 0; }
    /// Moves on to the next row's colours.
    void nextRow() { m_row = (m_row + 1) % m_rowCount; }

private:
    enum class Mode { Column, Row, None };

    const TableDefinition& m_definition;
    Mode m_mode;
    int m_rowCount;
    int m_row = 0;
};

} // namespace kelvano
