#pragma once

#include "core/html/cell_colours.h"
#include "core/store/table_definition.h"
#include "core/store/table_row_record.h"

#include <QByteArrayView>

namespace kelvano {

/// The text after the last "\", ":" or "/" of a stored path, as a view into it. The second byte of a
/// double-byte Shift-JIS character is never a separator (表 is 95 5C).
QByteArrayView fileNameView(QByteArrayView path);

/// What one cell of a page is, decided once for both markups; the writers only print it.
struct CellPlan {
    enum class Kind : quint8 { Data, ColumnHeading, RowHeading };

    Kind kind = Kind::Data;
    QByteArrayView text;
    QByteArrayView link;
    /// Whether the cell has a picture and a background picture, and the file name parts of their paths
    /// (empty for a path that ends in a separator).
    bool hasPicture = false;
    bool hasBackground = false;
    QByteArrayView picture;
    QByteArrayView background;
    bool pictureOnRight = false;
    /// An empty cell drawn with a line break, so that browsers draw it.
    bool lineBreak = false;
    /// Whether a colour mode gives the cell colours: its text colour, and its background colour when it
    /// has no background picture.
    bool coloured = false;
    bool backColoured = false;
    quint32 backColour = 0;
    quint32 textColour = 0;
    /// Relative font size, −14..+14 as stored; 0 = none.
    qint32 fontSize = 0;
    /// Alignment code 0..8; -1 when the stored code is none of them.
    int alignment = -1;
    /// Data column, from 1.
    int column = 1;

    bool heading() const { return kind != Kind::Data; }
    /// Nothing at all to draw: no text, link, picture or line break.
    bool blank() const { return text.isEmpty() && link.isEmpty() && !hasPicture && !lineBreak; }
};

/// The plan of one page's table, row by row: which row heads the table, where its sections open and
/// close, which of the page options act, and each cell's plan. A row written in a `<THEAD>` opens with
/// it and closes it after itself; the first row after it opens the `<TBODY>`, which the table's end
/// closes. The definition must outlive the plan.
class TablePlan {
public:
    explicit TablePlan(const TableDefinition& definition);

    const TableDefinition& definition() const { return m_definition; }
    int columnCount() const { return m_columnCount; }

    /// Sorting, the filter box and the fixed heading row need the heading row ("先頭行を見出しにする")
    /// and act only with it; the CSV file beside the page acts alone.
    bool sortable() const { return m_definition.FirstRowHeadings && m_definition.SortByHeading; }
    bool filterable() const { return m_definition.FirstRowHeadings && m_definition.FilterBox; }
    bool stickyHeading() const { return m_definition.FirstRowHeadings && m_definition.StickyHeading; }
    bool csvBeside() const { return m_definition.CsvBeside; }
    /// Whether the page's script follows the table.
    bool scripted() const { return sortable() || filterable(); }

    /// The next row is the heading row, written in the table's head.
    bool headingRow() const { return m_row == 0 && m_definition.FirstRowHeadings; }
    /// The next row is the first of the body after a heading row, and opens it.
    bool opensBody() const { return m_row == 1 && m_definition.FirstRowHeadings; }
    /// The rows written so far opened a body, which the table's end closes.
    bool bodyOpen() const { return m_row > 1 && m_definition.FirstRowHeadings; }
    /// The row colour entry of the next row (0 in column colour mode).
    int rowColour() const { return m_colours.row(); }

    /// The plan of data column `column` (1-based) of the next row.
    CellPlan cell(const TableRowView& row, int column) const;
    /// Moves on to the next row.
    void nextRow();

private:
    const TableDefinition& m_definition;
    CellColours m_colours;
    int m_columnCount;
    int m_row = 0;
};

} // namespace kelvano
