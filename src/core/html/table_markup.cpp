#include "core/html/table_markup.h"

#include "core/store/shift_jis.h"

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
constexpr qsizetype RowOverhead = 16;

/// The text after the last separator, as a view into the path.
QByteArrayView fileNameView(QByteArrayView path) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (ShiftJis::isLeadByte(byte) && i + 1 < path.size() &&
            ShiftJis::isTrailByte(static_cast<unsigned char>(path[i + 1]))) {
            ++i;
        } else if (byte == '\\' || byte == ':' || byte == '/') {
            start = i + 1;
        }
    }
    return path.sliced(start);
}

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
    : m_definition(definition), m_serverImagePath(serverImagePath.toByteArray()),
      // A record is meant to have exactly one mode set; with both, the column colours win.
      m_colours(definition), m_columnCount(definition.usableColumnCount()),
      m_rowRoom(RowOverhead + m_columnCount * (CellOverhead + 2 * m_serverImagePath.size() +
                                               4 * TableRowRecord::CellCapacity)) {}

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
    return m_definition.ScrollOnSmallScreens ? QByteArrayLiteral("<DIV STYLE=\"overflow-x:auto\">")
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
    w.put("<TR>");
    for (int column = 1; column <= m_columnCount; ++column) {
        putCell(w, row, column);
    }
    w.put("</TR>");
    Q_ASSERT(w.at <= out.constData() + out.size());
    out.truncate(w.at - out.constData());
    m_colours.nextRow();
    m_firstRow = false;
}

void TableMarkup::putCell(CellWriter& w, const TableRowView& row, int column) const {
    const TableDefinition& d = m_definition;
    const auto i = static_cast<std::size_t>(column - 1);
    const QByteArrayView text = row.text(column);
    const QByteArrayView picture = row.picture(column);
    const QByteArrayView background = row.background(column);
    const QByteArrayView link = row.link(column);

    // The top-left cell of a table with both kinds of headings heads its column.
    const bool columnHeading = m_firstRow && d.FirstRowHeadings;
    const bool rowHeading = !columnHeading && column == 1 && d.FirstColumnHeadings;
    if (columnHeading) {
        w.put("<TH SCOPE=\"COL\" ");
    } else if (rowHeading) {
        w.put("<TH SCOPE=\"ROW\" ");
    } else {
        w.put("<TD ");
    }
    if (!background.isEmpty()) {
        w.put("BACKGROUND=\"");
        w.put(m_serverImagePath);
        w.put(fileNameView(background));
        w.put('"');
    } else if (m_colours.any()) {
        w.put("BGCOLOR=\"#");
        w.putColour(m_colours.background(column));
        w.put('"');
    }
    if (d.ColumnAlignments[i] < AlignmentTexts.size()) {
        w.put(AlignmentTexts[d.ColumnAlignments[i]]);
    }
    w.put('>');

    // Without a colour mode there is no font start, and so no closing </FONT> either.
    const bool font = m_colours.any();
    if (font) {
        w.put("<FONT COLOR=\"#");
        w.putColour(m_colours.text(column));
        w.put('"');
        if (const qint32 size = d.ColumnFontSizes[i]; size != 0) {
            w.put(" SIZE=\"");
            if (size > 0) {
                w.put('+');
            }
            w.putNumber(size);
            w.put('"');
        }
        w.put('>');
    }
    if (!link.isEmpty()) {
        w.put("<A HREF=\"");
        w.put(link);
        w.put("\">");
    }
    if (text.isEmpty() && d.ShowEmptyCells) {
        w.put("<BR>");
    }
    if (row.pictureOnRight(column)) {
        w.put(text);
        putPicture(w, picture);
    } else {
        putPicture(w, picture);
        w.put(text);
    }
    if (!link.isEmpty()) {
        w.put("</A>");
    }
    if (font) {
        w.put("</FONT>");
    }
    w.put(columnHeading || rowHeading ? "</TH>" : "</TD>");
}

void TableMarkup::CellWriter::putColour(quint32 colour) {
    at = writeColour(at, colour);
}

void TableMarkup::CellWriter::putNumber(qint32 number) {
    at = std::to_chars(at, at + 11, number).ptr;
}

void TableMarkup::putPicture(CellWriter& w, QByteArrayView path) const {
    if (path.isEmpty()) {
        return;
    }
    w.put("<IMG SRC=\"");
    w.put(m_serverImagePath);
    w.put(fileNameView(path));
    w.put("\">");
}

} // namespace kelvano
