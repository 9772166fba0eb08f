#include "core/html/html5_table_markup.h"

#include "core/html/ascii_characters.h"
#include "core/html/picture_sizes.h"
#include "core/html/table_markup.h"
#include "core/html/table_script.h"
#include "core/store/shift_jis.h"

#include <algorithm>
#include <array>

namespace kelvano {
namespace {

/// text-align and vertical-align of the nine stored alignments, in the order of the classic ALIGN and
/// VALIGN attributes; left is the default and is not written.
const std::array<QByteArray, 9> AlignmentStyles{
    QByteArrayLiteral("vertical-align:top;"),
    QByteArrayLiteral("text-align:center;vertical-align:top;"),
    QByteArrayLiteral("text-align:right;vertical-align:top;"),
    QByteArrayLiteral("vertical-align:middle;"),
    QByteArrayLiteral("text-align:center;vertical-align:middle;"),
    QByteArrayLiteral("text-align:right;vertical-align:middle;"),
    QByteArrayLiteral("vertical-align:bottom;"),
    QByteArrayLiteral("text-align:center;vertical-align:bottom;"),
    QByteArrayLiteral("text-align:right;vertical-align:bottom;"),
};

/// The sizes of the FONT element's SIZE 1 to 7 as CSS keywords.
const std::array<QByteArray, 7> FontSizes{
    QByteArrayLiteral("x-small"),   QByteArrayLiteral("small"),   QByteArrayLiteral("medium"),
    QByteArrayLiteral("large"),     QByteArrayLiteral("x-large"), QByteArrayLiteral("xx-large"),
    QByteArrayLiteral("xxx-large"),
};

/// The CSS keyword of a relative font size: the FONT element's SIZE 3 + size, kept within 1 to 7.
const QByteArray& fontSizeName(qint32 size) {
    return FontSizes[static_cast<std::size_t>(
        std::clamp(3 + static_cast<qint64>(size), qint64{1}, qint64{7}) - 1)];
}

/// The table width as CSS: the leading number of the stored text with "px", or with "%" when one
/// follows it, as a browser reads the WIDTH attribute; empty when the text starts with no digit.
QByteArray cssWidth(QByteArrayView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
    }
    if (i == 0) {
        return {};
    }
    const QByteArray number = text.first(i).toByteArray();
    return i < text.size() && text[i] == '%' ? number + '%' : number + "px";
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

/// The colour a browser reads from a classic colour attribute "#" + `text` that is not "#" and three or
/// six hex digits (HTML's rules for a legacy colour value): the text (as characters, without trailing
/// white space) after the "#", every other character read as 0, padded to three equal parts, each
/// part cut to its last 8 characters, leading zeros common to all three dropped down to two
/// characters, then each part's first two digits.
QByteArray legacyColour(const QByteArray& text) {
    QString characters = ShiftJis::decode(text);
    while (!characters.isEmpty() && characters.back().unicode() < 0x80 &&
           QByteArrayView(" \t\n\f\r").contains(char(characters.back().unicode()))) {
        characters.chop(1);
    }
    QByteArray digits;
    for (const QChar c : characters.left(127)) {
        digits.append(c.unicode() < 0x80 && isHexDigit(char(c.unicode())) ? char(c.unicode()) : '0');
    }
    while (digits.isEmpty() || digits.size() % 3 != 0) {
        digits.append('0');
    }
    qsizetype length = digits.size() / 3;
    QByteArray parts[3] = {digits.mid(0, length), digits.mid(length, length), digits.mid(2 * length)};
    for (QByteArray& part : parts) {
        part = part.right(std::min<qsizetype>(length, 8));
    }
    length = std::min<qsizetype>(length, 8);
    while (length > 2 && parts[0][0] == '0' && parts[1][0] == '0' && parts[2][0] == '0') {
        for (QByteArray& part : parts) {
            part.remove(0, 1);
        }
        --length;
    }
    QByteArray colour = "#";
    for (const QByteArray& part : parts) {
        colour += (length == 1 ? '0' + part : part.left(2)).toLower();
    }
    return colour;
}

/// A stored colour text ("FF0000") as CSS; the classic attribute gets the same text after "#". Three or
/// six hex digits are valid CSS as they stand; any other text is given as the colour a browser reads
/// from the classic attribute, never as invalid CSS.
QByteArray cssColourText(const QByteArray& text, const char* fallback) {
    if (text.isEmpty()) {
        return QByteArray(fallback);
    }
    const bool hex = std::all_of(text.begin(), text.end(), isHexDigit);
    return hex && (text.size() == 3 || text.size() == 6) ? '#' + text : legacyColour(text);
}

} // namespace

Html5TableMarkup::Html5TableMarkup(const TableDefinition& definition, QByteArrayView serverImagePath,
                                   PageEncoding encoding)
    : m_definition(definition), m_serverImagePath(serverImagePath.toByteArray()), m_encoding(encoding),
      m_plan(definition) {
    const TableDefinition& d = definition;
    // A table border gives every cell a border of one pixel, sunk in where the table stands out.
    if (d.BorderWidth != 0) {
        if (d.Use3DColours) {
            m_cellStyle = "border:1px solid;border-color:" + cssColourText(d.DarkColour, "gray") + ' ' +
                          cssColourText(d.LightColour, "gray") + ' ' + cssColourText(d.LightColour, "gray") +
                          ' ' + cssColourText(d.DarkColour, "gray") + ';';
        } else if (!d.BorderColour.isEmpty()) {
            m_cellStyle = "border:1px solid " + cssColourText(d.BorderColour, "gray") + ';';
        } else {
            m_cellStyle = "border:1px inset;";
        }
    }
    if (d.CellPadding != 0) {
        m_cellStyle += "padding:" + QByteArray::number(d.CellPadding) + "px;";
    }
}

QByteArray Html5TableMarkup::tableStyle() const {
    const TableDefinition& d = m_definition;
    QByteArray style;
    if (d.BorderWidth != 0) {
        const QByteArray width = QByteArray::number(d.BorderWidth);
        if (d.Use3DColours) {
            style += "border:" + width + "px solid;border-color:" + cssColourText(d.LightColour, "gray") +
                     ' ' + cssColourText(d.DarkColour, "gray") + ' ' + cssColourText(d.DarkColour, "gray") +
                     ' ' + cssColourText(d.LightColour, "gray") + ';';
        } else if (!d.BorderColour.isEmpty()) {
            style += "border:" + width + "px solid " + cssColourText(d.BorderColour, "gray") + ';';
        } else {
            style += "border:" + width + "px outset;";
        }
    }
    if (const QByteArray width = cssWidth(d.TableWidth); !width.isEmpty()) {
        style += "width:" + width + ';';
    }
    if (d.CellSpacing != 0) {
        style += "border-spacing:" + QByteArray::number(d.CellSpacing) + "px;";
    }
    return style;
}

QByteArray Html5TableMarkup::startLine() const {
    if (m_styleSheet) {
        return QByteArrayLiteral("<table class=\"kelvano\">");
    }
    QByteArray style = tableStyle();
    if (style.isEmpty()) {
        return QByteArrayLiteral("<table>");
    }
    style.chop(1);
    return "<table style=\"" + style + "\">";
}

QByteArray Html5TableMarkup::scrollStartLine() const {
    if (!m_definition.ScrollOnSmallScreens) {
        return {};
    }
    if (m_styleSheet) {
        return QByteArrayLiteral("<div class=\"kelvano-scroll\">");
    }
    // No height bound here: an inline style cannot lift it for printing, and a bounded box would print
    // one screen of rows. The heading stays in view inside the box only with the style block.
    return QByteArrayLiteral("<div style=\"overflow-x:auto\">");
}

QByteArray Html5TableMarkup::csvLinkLine() const {
    return m_plan.csvBeside() ? "<p><a href=\"" + urlOfPath(m_plan.csvFileName(), m_encoding, true) + "\">" +
                                    csvLinkWords() + "</a></p>"
                              : QByteArray();
}

QByteArray Html5TableMarkup::scriptLine() const {
    return m_plan.scripted()
               // The style sheet colours the rows by their place, so the script has no stripes to keep.
               ? tableScriptLine(false, m_plan.sortable(), m_plan.filterable(),
                                 m_styleSheet ? 0 : m_plan.rowStripes())
               : QByteArray();
}

QByteArray Html5TableMarkup::scrollEndLine() const {
    return m_definition.ScrollOnSmallScreens ? QByteArrayLiteral("</div>") : QByteArray();
}

QByteArray Html5TableMarkup::captionLine() const {
    if (m_definition.CaptionText.isEmpty()) {
        return {};
    }
    QByteArray line = m_definition.CaptionOnTop
                          ? QByteArrayLiteral("<caption>")
                          : QByteArrayLiteral("<caption style=\"caption-side:bottom\">");
    line += m_definition.CaptionText;
    line += "</caption>";
    return line;
}

QByteArray Html5TableMarkup::endLine() const {
    return m_plan.bodyOpen() ? QByteArrayLiteral("</tbody></table>") : QByteArrayLiteral("</table>");
}

void Html5TableMarkup::appendRow(QByteArray& out, const TableRowView& row) {
    const bool heading = m_plan.headingRow();
    if (heading) {
        out +=
            m_plan.stickyHeading() && !m_styleSheet ? "<thead style=\"position:sticky;top:0\">" : "<thead>";
    } else if (m_plan.opensBody()) {
        out += "<tbody>";
    }
    out += "<tr>";
    for (int column = 1; column <= m_plan.columnCount(); ++column) {
        appendCell(out, m_plan.cell(row, column));
    }
    out += "</tr>";
    if (heading) {
        out += "</thead>";
    }
    m_plan.nextRow();
}

void Html5TableMarkup::appendCell(QByteArray& out, const CellPlan& cell) const {
    switch (cell.kind) {
    case CellPlan::Kind::ColumnHeading:
        out += "<th scope=\"col\"";
        break;
    case CellPlan::Kind::RowHeading:
        out += "<th scope=\"row\"";
        break;
    case CellPlan::Kind::Data:
        out += "<td";
        break;
    }
    if (m_styleSheet) {
        appendCellByStyleSheet(out, cell);
        return;
    }
    QByteArray style = m_cellStyle;
    if (cell.hasBackground) {
        style += "background-image:url('" +
                 urlOfPath(m_serverImagePath + cell.background.toByteArray(), m_encoding, true) + "');";
    } else if (cell.backColoured) {
        style += "background-color:#" + HtmlColour(cell.backColour) + ';';
    }
    if (cell.alignment >= 0) {
        style += AlignmentStyles[static_cast<std::size_t>(cell.alignment)];
    }
    if (!style.isEmpty()) {
        style.chop(1);
        out += " style=\"" + style + '"';
    }
    out += '>';

    // The colours and the size of the text go on a span inside the cell, where the classic FONT
    // element stands, so that lines and links are drawn alike. A cell with nothing to draw holds
    // nothing, not even an empty span.
    const bool span = cell.coloured && !cell.blank();
    if (span) {
        out += "<span style=\"color:#";
        out += HtmlColour(cell.textColour);
        if (cell.fontSize != 0) {
            out += ";font-size:";
            out += fontSizeName(cell.fontSize);
        }
        out += "\">";
    }
    appendContent(out, cell);
    if (span) {
        out += "</span>";
    }
    out += cell.heading() ? "</th>" : "</td>";
}

void Html5TableMarkup::appendCellByStyleSheet(QByteArray& out, const CellPlan& cell) const {
    // The style sheet gives the cell its border, padding, colours, size and alignment by its column and
    // row; only a background picture stays on the cell, and it takes the place of the colour.
    if (cell.hasBackground) {
        out += " style=\"background:url('" +
               urlOfPath(m_serverImagePath + cell.background.toByteArray(), m_encoding, true) + "')\"";
    }
    out += '>';
    const bool span = cell.coloured && !cell.blank();
    if (span) {
        out += "<span>";
    }
    appendContent(out, cell);
    if (span) {
        out += "</span>";
    }
    out += cell.heading() ? "</th>" : "</td>";
}

void Html5TableMarkup::appendContent(QByteArray& out, const CellPlan& cell) const {
    if (!cell.link.isEmpty()) {
        out += "<a href=\"" + urlOfPath(cell.link, m_encoding, false) + "\">";
    }
    if (cell.lineBreak) {
        out += "<br>";
    }
    if (cell.pictureOnRight) {
        out += cell.text;
        appendPicture(out, cell);
    } else {
        appendPicture(out, cell);
        out += cell.text;
    }
    if (!cell.link.isEmpty()) {
        out += "</a>";
    }
}

QByteArray Html5TableMarkup::styleSheet() {
    m_styleSheet = true;
    const TableDefinition& d = m_definition;
    // Rules reach only this table's own cells (table > body or head > row > cell), never those of a
    // table inside a cell's text.
    const QByteArray cells = ".kelvano>*>tr>";
    QByteArray sheet = "<style>.kelvano{" + tableStyle() + "line-break:strict}";
    if (!m_cellStyle.isEmpty()) {
        sheet += cells + "*{" + m_cellStyle.chopped(1) + "}";
    }
    const bool columnColours = d.ColumnColourMode;
    const bool rowColours = !columnColours && d.RowColourMode;
    for (int column = 1; column <= m_plan.columnCount(); ++column) {
        const auto i = static_cast<std::size_t>(column - 1);
        const QByteArray place = cells + ":nth-child(" + QByteArray::number(column) + ')';
        QByteArray cell;
        if (columnColours) {
            cell += "background-color:#" + HtmlColour(d.ColumnBackColours[i]) + ';';
        }
        if (d.ColumnAlignments[i] < AlignmentStyles.size()) {
            cell += AlignmentStyles[d.ColumnAlignments[i]];
        }
        if (!cell.isEmpty()) {
            sheet += place + '{' + cell.chopped(1) + "}";
        }
        QByteArray text;
        if (columnColours) {
            text += "color:#" + HtmlColour(d.ColumnTextColours[i]) + ';';
        }
        if (d.ColumnFontSizes[i] != 0 && (columnColours || rowColours)) {
            text += "font-size:" + fontSizeName(d.ColumnFontSizes[i]) + ';';
        }
        if (!text.isEmpty()) {
            sheet += place + ">span{" + text.chopped(1) + "}";
        }
    }
    if (rowColours) {
        // Data row k takes row colour k mod n, the heading row (alone in the head) colour 0 and body
        // row j (from 1) colour j mod n; without a head, body row j is data row j - 1.
        const int count = d.usableRowColourCount();
        const bool head = d.FirstRowHeadings;
        for (int r = 0; r < count; ++r) {
            const auto at = static_cast<std::size_t>(r);
            const int first = head ? (r == 0 ? count : r) : r + 1;
            const QByteArray colours = "{background-color:#" + HtmlColour(d.RowBackColours[at]) + "}";
            const QByteArray text = "{color:#" + HtmlColour(d.RowTextColours[at]) + "}";
            QList<QByteArray> rows{count == 1 ? QByteArray(".kelvano>*>tr>")
                                              : ".kelvano>tbody>tr:nth-child(" + QByteArray::number(count) +
                                                    "n+" + QByteArray::number(first) + ")>"};
            if (head && r == 0 && count > 1) {
                rows.append(".kelvano>thead>tr>");
            }
            for (const QByteArray& row : rows) {
                sheet += row + '*' + colours + row + "*>span" + text;
            }
        }
    }
    if (m_plan.stickyHeading()) {
        sheet += ".kelvano>thead{position:sticky;top:0}";
    }
    if (d.ScrollOnSmallScreens) {
        sheet += ".kelvano-scroll{overflow-x:auto";
        sheet += m_plan.stickyHeading() ? ";max-height:100vh}" : "}";
        // On paper the whole table is printed, its heading row on every page.
        sheet += "@media print{.kelvano-scroll{overflow:visible;max-height:none}}";
    }
    sheet += "</style>";
    return sheet;
}

void Html5TableMarkup::appendPicture(QByteArray& out, const CellPlan& cell) const {
    if (!cell.hasPicture) {
        return;
    }
    const QByteArrayView name = cell.picture;
    // The alternative text is the file name without its extension.
    const qsizetype dot = name.lastIndexOf('.');
    out += "<img src=\"" + urlOfPath(m_serverImagePath + name.toByteArray(), m_encoding, true) + "\" alt=\"" +
           attributeText(dot > 0 ? name.first(dot) : name) + '"';
    // The size of the picture file keeps the page from moving as pictures arrive.
    if (const std::optional<QSize> size = m_pictureSizes ? m_pictureSizes->of(name) : std::nullopt) {
        out += " width=\"" + QByteArray::number(size->width()) + "\" height=\"" +
               QByteArray::number(size->height()) + '"';
    }
    out += '>';
}

} // namespace kelvano
