#pragma once

#include "core/html/cell_colours.h"
#include "core/store/table_definition.h"
#include "core/store/table_row_record.h"

#include <QByteArrayView>
#include <QList>

namespace kelvano {

/// The text after the last "\", ":" or "/" of a stored path, as a view into it. The second byte of a
/// double-byte Shift-JIS character is never a separator (表 is 95 5C).
QByteArrayView fileNameView(QByteArrayView path);

/// The words of the link to the CSV file beside a page ("CSVファイル"), as Shift-JIS bytes.
QByteArray csvLinkWords();

/// The lines a markup writes before a table's rows and after them, in page order.
template <typename Markup> QList<QByteArray> linesBeforeRows(const Markup& table) {
    QList<QByteArray> lines{table.scrollStartLine(), table.startLine(), table.captionLine()};
    lines.removeAll(QByteArray());
    return lines;
}
template <typename Markup> QList<QByteArray> linesAfterRows(const Markup& table) {
    QList<QByteArray> lines{table.endLine(), table.scrollEndLine(), table.csvLinkLine(), table.scriptLine()};
    lines.removeAll(QByteArray());
    return lines;
}

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
    /// How many row colours the cells carry by their row: the row colour count in row colour mode, else 0.
    int rowStripes() const {
        return !m_definition.ColumnColourMode && m_definition.RowColourMode
                   ? m_definition.usableRowColourCount()
                   : 0;
    }
    /// The name of the CSV file beside the page, FileName + ".csv", as stored bytes.
    QByteArray csvFileName() const { return m_definition.FileName + ".csv"; }

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
