#include "core/html/cell_plan.h"

#include "core/store/shift_jis.h"

#include <limits>

namespace kelvano {

QByteArrayView fileNameView(QByteArrayView path) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        // A lead byte before a byte that cannot close a character is a character of its own.
        if (ShiftJis::isLeadByte(byte) && i + 1 < path.size() &&
            ShiftJis::isTrailByte(static_cast<unsigned char>(path[i + 1]))) {
            ++i;
        } else if (byte == '\\' || byte == ':' || byte == '/') {
            start = i + 1;
        }
    }
    return path.sliced(start);
}

QByteArray csvLinkWords() {
    return ShiftJis::encode(u"CSVファイル").bytes;
}

TablePlan::TablePlan(const TableDefinition& definition)
    // A record is meant to have exactly one colour mode set; with both, the column colours win.
    : m_definition(definition), m_colours(definition), m_columnCount(definition.usableColumnCount()) {}

CellPlan TablePlan::cell(const TableRowView& row, int column) const {
    const TableDefinition& d = m_definition;
    const auto i = static_cast<std::size_t>(column - 1);
    CellPlan cell;
    cell.column = column;
    // The top-left cell of a table with both kinds of headings heads its column.
    if (headingRow()) {
        cell.kind = CellPlan::Kind::ColumnHeading;
    } else if (column == 1 && d.FirstColumnHeadings) {
        cell.kind = CellPlan::Kind::RowHeading;
    }
    cell.text = row.text(column);
    cell.link = row.link(column);
    cell.hasPicture = !row.picture(column).isEmpty();
    cell.picture = fileNameView(row.picture(column));
    cell.hasBackground = !row.background(column).isEmpty();
    cell.background = fileNameView(row.background(column));
    cell.pictureOnRight = row.pictureOnRight(column);
    cell.lineBreak = cell.text.isEmpty() && d.ShowEmptyCells;
    cell.coloured = m_colours.any();
    cell.backColoured = cell.coloured && !cell.hasBackground;
    if (cell.coloured) {
        cell.backColour = m_colours.background(column);
        cell.textColour = m_colours.text(column);
    }
    cell.fontSize = d.ColumnFontSizes[i];
    cell.alignment = d.ColumnAlignments[i] <= 8 ? d.ColumnAlignments[i] : -1;
    return cell;
}

void TablePlan::nextRow() {
    m_colours.nextRow();
    if (m_row < std::numeric_limits<int>::max()) {
        ++m_row;
    }
}

} // namespace kelvano
