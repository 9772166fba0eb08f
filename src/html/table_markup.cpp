#include "html/table_markup.h"

#include "store/shift_jis.h"

#include <array>

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

void appendColour(QByteArray& out, quint32 colour) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    for (const int shift : {0, 8, 16}) {
        const unsigned byte = (colour >> shift) & 0xFFu;
        out += Digits[byte >> 4];
        out += Digits[byte & 0xFu];
    }
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
    QByteArray text;
    text.reserve(6);
    appendColour(text, colour);
    return text;
}

QByteArray fileNamePart(QByteArrayView path) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (ShiftJis::isLeadByte(byte)) {
            ++i;
        } else if (byte == '\\' || byte == ':' || byte == '/') {
            start = i + 1;
        }
    }
    return path.sliced(start).toByteArray();
}

TableMarkup::TableMarkup(const TableDefinition& definition, QByteArrayView serverImagePath)
    : m_definition(definition), m_serverImagePath(serverImagePath.toByteArray()),
      // A record is meant to have exactly one mode set; with both, the column colours win.
      m_colourMode(definition.ColumnColourMode ? ColourMode::Column
                   : definition.RowColourMode  ? ColourMode::Row
                                               : ColourMode::None),
      m_columnCount(definition.usableColumnCount()), m_rowColourCount(definition.usableRowColourCount()) {}

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

void TableMarkup::appendRow(QByteArray& out, const TableRowRecord& record) {
    out += "<TR>";
    for (int column = 1; column <= m_columnCount; ++column) {
        appendCell(out, record, column);
    }
    out += "</TR>";
    m_rowColour = (m_rowColour + 1) % m_rowColourCount;
}

void TableMarkup::appendCell(QByteArray& out, const TableRowRecord& record, int column) const {
    const TableDefinition& d = m_definition;
    const auto i = static_cast<std::size_t>(column - 1);
    const auto r = static_cast<std::size_t>(m_rowColour);
    const auto c = static_cast<std::size_t>(column);

    out += "<TD ";
    if (!record.CellBackgrounds[c].isEmpty()) {
        out += "BACKGROUND=\"";
        out += m_serverImagePath;
        out += fileNamePart(record.CellBackgrounds[c]);
        out += '"';
    } else if (m_colourMode != ColourMode::None) {
        out += "BGCOLOR=\"#";
        appendColour(out, m_colourMode == ColourMode::Column ? d.ColumnBackColours[i] : d.RowBackColours[r]);
        out += '"';
    }
    if (d.ColumnAlignments[i] < AlignmentTexts.size()) {
        out += AlignmentTexts[d.ColumnAlignments[i]];
    }
    out += '>';

    // Without a colour mode there is no font start, and so no closing </FONT> either.
    const bool font = m_colourMode != ColourMode::None;
    if (font) {
        out += "<FONT COLOR=\"#";
        appendColour(out, m_colourMode == ColourMode::Column ? d.ColumnTextColours[i] : d.RowTextColours[r]);
        out += '"';
        if (const qint32 size = d.ColumnFontSizes[i]; size != 0) {
            out += " SIZE=\"";
            if (size > 0) {
                out += '+';
            }
            out += QByteArray::number(size);
            out += '"';
        }
        out += '>';
    }

    const QByteArray& link = record.CellLinks[c];
    const QByteArray& text = record.CellTexts[c];
    if (!link.isEmpty()) {
        out += "<A HREF=\"";
        out += link;
        out += "\">";
    }
    if (text.isEmpty() && d.ShowEmptyCells) {
        out += "<BR>";
    }
    if (record.PictureOnRight[c] != 0) {
        out += text;
        appendPicture(out, record.CellPictures[c]);
    } else {
        appendPicture(out, record.CellPictures[c]);
        out += text;
    }
    if (!link.isEmpty()) {
        out += "</A>";
    }
    if (font) {
        out += "</FONT>";
    }
    out += "</TD>";
}

void TableMarkup::appendPicture(QByteArray& out, QByteArrayView path) const {
    if (path.isEmpty()) {
        return;
    }
    out += "<IMG SRC=\"";
    out += m_serverImagePath;
    out += fileNamePart(path);
    out += "\">";
}

} // namespace kelvano
