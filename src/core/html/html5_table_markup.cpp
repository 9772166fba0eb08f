#include "core/html/html5_table_markup.h"

#include "core/html/ascii_characters.h"
#include "core/html/table_markup.h"
#include "core/html/table_script.h"
#include "core/store/shift_jis.h"

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

/// Whether the "&" at `at` starts a character reference ("&name;", "&#123;", "&#x1F;").
bool startsReference(QByteArrayView text, qsizetype at) {
    qsizetype i = at + 1;
    if (i < text.size() && text[i] == '#') {
        ++i;
        if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
            ++i;
        }
    }
    const qsizetype nameStart = i;
    while (i < text.size() && isAsciiAlphanumeric(text[i])) {
        ++i;
    }
    return i > nameStart && i < text.size() && text[i] == ';';
}

void appendPercent(QByteArray& out, unsigned char byte) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    out += '%';
    out += Digits[byte >> 4];
    out += Digits[byte & 0xFu];
}

/// Text for an attribute value: `&`, `<`, `>` and `"` as references.
QByteArray attributeText(QByteArrayView text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (ShiftJis::isLeadByte(byte) && i + 1 < text.size()) {
            out += text[i];
            out += text[++i];
        } else if (byte == '&') {
            out += "&amp;";
        } else if (byte == '"') {
            out += "&quot;";
        } else if (byte == '<') {
            out += "&lt;";
        } else if (byte == '>') {
            out += "&gt;";
        } else {
            out += text[i];
        }
    }
    return out;
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

/// A stored colour text ("FF0000") as CSS; the classic attribute gets the same text after "#".
QByteArray cssColourText(const QByteArray& text, const char* fallback) {
    return text.isEmpty() ? QByteArray(fallback) : '#' + attributeText(text);
}

} // namespace

QByteArray urlOfPath(QByteArrayView path, PageEncoding encoding, bool fileName) {
    QByteArray out;
    out.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char c = path[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            // A run of non-ASCII text, up to the next ASCII byte that starts no character.
            qsizetype end = i;
            while (end < path.size() && static_cast<unsigned char>(path[end]) >= 0x80) {
                end += ShiftJis::isLeadByte(static_cast<unsigned char>(path[end])) ? 2 : 1;
            }
            end = std::min(end, path.size());
            const QByteArrayView run = path.sliced(i, end - i);
            // A browser sends the path of a URL as UTF-8 and its query in the page's encoding.
            const bool query = !fileName && path.first(i).contains('?');
            const QByteArray bytes = query && encoding == PageEncoding::ShiftJis
                                         ? run.toByteArray()
                                         : ShiftJis::decode(run).toUtf8();
            for (const char u : bytes) {
                appendPercent(out, static_cast<unsigned char>(u));
            }
            i = end - 1;
            continue;
        }
        const bool unsafe = byte <= 0x20 || byte == 0x7F || c == '"' || c == '<' || c == '>' || c == '\\' ||
                            c == '^' || c == '`' || c == '{' || c == '|' || c == '}';
        const bool unsafeInName =
            fileName &&
            (c == '#' || c == '?' || c == '\'' || c == '(' || c == ')' || c == '&' ||
             (c == '%' && !(i + 2 < path.size() && isHexDigit(path[i + 1]) && isHexDigit(path[i + 2]))));
        if (unsafe || unsafeInName) {
            appendPercent(out, byte);
        } else if (c == '&' && !startsReference(path, i)) {
            out += "&amp;";
        } else {
            out += c;
        }
    }
    return out;
}

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

QByteArray Html5TableMarkup::startLine() const {
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
    return m_plan.stickyHeading() ? QByteArrayLiteral("<div style=\"overflow-x:auto;max-height:100vh\">")
                                  : QByteArrayLiteral("<div style=\"overflow-x:auto\">");
}

QByteArray Html5TableMarkup::csvLinkLine() const {
    return m_plan.csvBeside() ? "<p><a href=\"" + urlOfPath(m_plan.csvFileName(), m_encoding, true) + "\">" +
                                    csvLinkWords() + "</a></p>"
                              : QByteArray();
}

QByteArray Html5TableMarkup::scriptLine() const {
    return m_plan.scripted()
               ? tableScriptLine(false, m_plan.sortable(), m_plan.filterable(), m_plan.rowStripes())
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
        out += m_plan.stickyHeading() ? "<thead style=\"position:sticky;top:0\">" : "<thead>";
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
    if (span) {
        out += "</span>";
    }
    out += cell.heading() ? "</th>" : "</td>";
}

void Html5TableMarkup::appendPicture(QByteArray& out, const CellPlan& cell) const {
    if (!cell.hasPicture) {
        return;
    }
    const QByteArrayView name = cell.picture;
    // The alternative text is the file name without its extension.
    const qsizetype dot = name.lastIndexOf('.');
    out += "<img src=\"" + urlOfPath(m_serverImagePath + name.toByteArray(), m_encoding, true) + "\" alt=\"" +
           attributeText(dot > 0 ? name.first(dot) : name) + "\">";
}

} // namespace kelvano
