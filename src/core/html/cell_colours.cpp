#include "core/html/cell_colours.h"

namespace kelvano {

CellColours::CellColours(const TableDefinition& definition)
    : m_definition(definition), m_mode(definition.ColumnColourMode ? Mode::Column
                                       : definition.RowColourMode  ? Mode::Row
                                                                   : Mode::None),
      m_rowCount(definition.usableRowColourCount()) {}

quint32 CellColours::background(int column) const {
    return m_mode == Mode::Column ? m_definition.ColumnBackColours[static_cast<std::size_t>(column - 1)]
                                  : m_definition.RowBackColours[static_cast<std::size_t>(m_row)];
}

quint32 CellColours::text(int column) const {
    return m_mode == Mode::Column ? m_definition.ColumnTextColours[static_cast<std::size_t>(column - 1)]
                                  : m_definition.RowTextColours[static_cast<std::size_t>(m_row)];
}

} // namespace kelvano
