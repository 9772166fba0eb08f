#include "core/html/table_markup.h"

#include "core/html/table_script.h"

#include <array>
#include <charconv>
#include <cstring>

namespace kelvano {
namespace {

const std::array<QByteArray, 9> AlignmentTexts{
    QByteArrayLiteral(" VALIGN=\"TOP\""),
    QByteArrayLiteral(" ALIGN=\"CENTER\" VALIGN=\"TOP\""),
    QByteArrayLiteral(" ALIGN=\"RIGHT\" VALIGN=\"TOP\""),
    QByteArrayLiteral(" VALIGN=\"CENTER\""),
    QByteArrayLiteral(" ALIGN=\"CENTER\" VALIGN=\"CENTER\""),
    QByteArrayLiteral(" ALIGN=\"RIGHT\" VALIGN=\"CENTER\""),
    QByteArrayLiteral(" VALIGN=\"BOTTOM\""),
    QByteArrayLiteral(" ALIGN=\"CENTER\" VALIGN=\"BOTTOM\""),
    QByteArrayLiteral(" ALIGN=\"RIGHT\" VALIGN=\"BOTTOM\""),
};

/// Room for every fixed piece of a cell (a heading's opening included), its colours and its font size;
/// the texts and paths come on top.
constexpr qsizetype CellOverhead = 256;
/// Room for the row's own tags and the sections it may open and close.
constexpr qsizetype RowOverhead = 96;

/// Writes the six digits of a colour, red first (red is the value's low byte).
char* writeColour(char* at, quint32 colour) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    for (const int shift : {0, 8, 16}) {
        const unsigned byte = (colour >> shift) & 0xFFu;
        *at++ = Digits[byte >> 4];
        *at++ = Digits[byte & 0xFu];
    }
    return at;
}

void appendNumberAttribute(QByteArray& out, const char* name, int value) {
    out += ' ';
    out += name;
    out += "=\"";
    out += QByteArray::number(value);
    out += '"';
}

void appendColourTextAttribute(QByteArray& out, const char* name, const QByteArray& colourText) {
    out += ' ';
    out += name;
    out += "=\"#";
    out += colourText;
    out += '"';
}

} // namespace

QByteArray HtmlColour(quint32 colour) {
    QByteArray text(6, '0');
    writeColour(text.data(), colour);
    return text;
}

QByteArray fileNamePart(QByteArrayView path) {
    return fileNameView(path).toByteArray();
}

TableMarkup::TableMarkup(const TableDefinition& definition, QByteArrayView serverImagePath)
    : m_definition(definition), m_serverImagePath(serverImagePath.toByteArray()), m_plan(definition),
      m_rowRoom(RowOverhead + m_plan.columnCount() * (CellOverhead + 2 * m_serverImagePath.size() +
                                                      4 * TableRowRecord::CellCapacity)) {}

QByteArray TableMarkup::endLine() const {
    return m_plan.bodyOpen() ? QByteArrayLiteral("</TBODY></TABLE>") : QByteArrayLiteral("</TABLE>");
}

QByteArray TableMarkup::startLine() const {
    const TableDefinition& d = m_definition;
    QByteArray line = QByteArrayLiteral("<TABLE");
    if (d.BorderWidth != 0) {
        appendNumberAttribute(line, "BORDER", d.BorderWidth);
    }
    if (!d.TableWidth.isEmpty()) {
        line += " WIDTH=\"" + d.TableWidth + '"';
    }
    if (d.Use3DColours) {
        if (!d.LightColour.isEmpty()) {
            appendColourTextAttribute(line, "BORDERCOLORLIGHT", d.LightColour);
        }
        if (!d.DarkColour.isEmpty()) {
            appendColourTextAttribute(line, "BORDERCOLORDARK", d.DarkColour);
        }
    } else if (!d.BorderColour.isEmpty()) {
        appendColourTextAttribute(line, "BORDERCOLOR", d.BorderColour);
    }
    if (d.CellSpacing != 0) {
        appendNumberAttribute(line, "CELLSPACING", d.CellSpacing);
    }
    if (d.CellPadding != 0) {
        appendNumberAttribute(line, "CELLPADDING", d.CellPadding);
    }
    line += '>';
    return line;
}

QByteArray TableMarkup::scrollStartLine() const {
    if (!m_definition.ScrollOnSmallScreens) {
        return {};
    }
    // No height bound: an inline style cannot lift it for printing, and a bounded box would print one
    // screen of rows.
    return QByteArrayLiteral("<DIV STYLE=\"overflow-x:auto\">");
}

QByteArray TableMarkup::csvLinkLine() const {
    return m_plan.csvBeside() ? "<P><A HREF=\"" + m_plan.csvFileName() + "\">" + csvLinkWords() + "</A></P>"
                              : QByteArray();
}

QByteArray TableMarkup::scriptLine() const {
    return m_plan.scripted()
               ? tableScriptLine(true, m_plan.sortable(), m_plan.filterable(), m_plan.rowStripes())
               : QByteArray();
}

QByteArray TableMarkup::scrollEndLine() const {
    return m_definition.ScrollOnSmallScreens ? QByteArrayLiteral("</DIV>") : QByteArray();
}

QByteArray TableMarkup::captionLine() const {
    if (m_definition.CaptionText.isEmpty()) {
        return {};
    }
    QByteArray line = QByteArrayLiteral("<CAPTION");
    line += m_definition.CaptionOnTop ? ">" : " ALIGN=\"BOTTOM\">";
    line += m_definition.CaptionText;
    line += "</CAPTION>";
    return line;
}

void TableMarkup::appendRow(QByteArray& out, const TableRowView& row) {
    // Rows are the bulk of a page: each is written straight into room reserved for the longest row
    // these values can give, then the unused room is cut off.
    const qsizetype before = out.size();
    out.resize(before + m_rowRoom);
    CellWriter w{out.data() + before};
    const bool heading = m_plan.headingRow();
    if (heading) {
        w.put(m_plan.stickyHeading() ? "<THEAD STYLE=\"position:sticky;top:0\">" : "<THEAD>");
    } else if (m_plan.opensBody()) {
        w.put("<TBODY>");
    }
    w.put("<TR>");
    for (int column = 1; column <= m_plan.columnCount(); ++column) {
        putCell(w, m_plan.cell(row, column));
    }
    w.put("</TR>");
    if (heading) {
        w.put("</THEAD>");
    }
    Q_ASSERT(w.at <= out.constData() + out.size());
    out.truncate(w.at - out.constData());
    m_plan.nextRow();
}

void TableMarkup::putCell(CellWriter& w, const CellPlan& cell) const {
    switch (cell.kind) {
    case CellPlan::Kind::ColumnHeading:
        w.put("<TH SCOPE=\"COL\" ");
        break;
    case CellPlan::Kind::RowHeading:
        w.put("<TH SCOPE=\"ROW\" ");
        break;
    case CellPlan::Kind::Data:
        w.put("<TD ");
        break;
    }
    if (cell.hasBackground) {
        w.put("BACKGROUND=\"");
        w.put(m_serverImagePath);
        w.put(cell.background);
        w.put('"');
    } else if (cell.backColoured) {
        w.put("BGCOLOR=\"#");
        w.putColour(cell.backColour);
        w.put('"');
    }
    if (cell.alignment >= 0) {
        w.put(AlignmentTexts[static_cast<std::size_t>(cell.alignment)]);
    }
    w.put('>');

    // Without a colour mode there is no font start, and so no closing </FONT> either.
    if (cell.coloured) {
        w.put("<FONT COLOR=\"#");
        w.putColour(cell.textColour);
        w.put('"');
        if (cell.fontSize != 0) {
            w.put(" SIZE=\"");
            if (cell.fontSize > 0) {
                w.put('+');
            }
            w.putNumber(cell.fontSize);
            w.put('"');
        }
        w.put('>');
    }
    if (!cell.link.isEmpty()) {
        w.put("<A HREF=\"");
        w.put(cell.link);
        w.put("\">");
    }
    if (cell.lineBreak) {
        w.put("<BR>");
    }
    if (cell.pictureOnRight) {
        w.put(cell.text);
        putPicture(w, cell);
    } else {
        putPicture(w, cell);
        w.put(cell.text);
    }
    if (!cell.link.isEmpty()) {
        w.put("</A>");
    }
    if (cell.coloured) {
        w.put("</FONT>");
    }
    w.put(cell.heading() ? "</TH>" : "</TD>");
}

void TableMarkup::CellWriter::putColour(quint32 colour) {
    at = writeColour(at, colour);
}

void TableMarkup::CellWriter::putNumber(qint32 number) {
    at = std::to_chars(at, at + 11, number).ptr;
}

void TableMarkup::putPicture(CellWriter& w, const CellPlan& cell) const {
    if (!cell.hasPicture) {
        return;
    }
    w.put("<IMG SRC=\"");
    w.put(m_serverImagePath);
    w.put(cell.picture);
    w.put("\">");
}

} // namespace kelvano
