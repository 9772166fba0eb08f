#pragma once

#include "core/html/cell_colours.h"
#include "core/store/table_definition.h"
#include "core/store/table_row_record.h"

#include <QByteArray>
#include <cstring>

namespace kelvano {

/// The six upper-case hexadecimal digits of a colour value in the order red, green, blue (the value
/// holds red in its low byte): 0x0080FF gives FF8000.
QByteArray HtmlColour(quint32 colour);

/// The file name part of a stored picture or background path: the text after its last "\", ":" or
/// "/". The second byte of a double-byte Shift-JIS character is never a separator (表 is 95 5C).
QByteArray fileNamePart(QByteArrayView path);

/// The HTML table of one page: its start line, its caption line and its rows, built from a table
/// definition byte for byte; stored texts are written unchanged, never escaped or converted. The
/// definition must outlive the markup.
class TableMarkup {
public:
    TableMarkup(const TableDefinition& definition, QByteArrayView serverImagePath);

    /// `<TABLE ...>` with the attributes that the definition sets.
    QByteArray startLine() const;
    QByteArray endLine() const { return QByteArrayLiteral("</TABLE>"); }
    /// `<DIV STYLE="overflow-x:auto">` before the start line and `</DIV>` after `</TABLE>` when the
    /// table is to scroll sideways on small screens; empty otherwise.
    QByteArray scrollStartLine() const;
    QByteArray scrollEndLine() const;
    /// `<CAPTION ...>` with the caption text; empty when the definition has no caption.
    QByteArray captionLine() const;
    /// Appends the next row, `<TR>` to `</TR>` (without the line end), and moves the row colour on.
    void appendRow(QByteArray& out, const TableRowView& row);

private:
    /// Writes into room that the caller has reserved.
    struct CellWriter {
        char* at;

        template <std::size_t N> void put(const char (&literal)[N]) {
            std::memcpy(at, literal, N - 1);
            at += N - 1;
        }
        void put(QByteArrayView bytes) {
            if (!bytes.isEmpty()) {
                std::memcpy(at, bytes.data(), static_cast<std::size_t>(bytes.size()));
                at += bytes.size();
            }
        }
        void put(char byte) { *at++ = byte; }
        void putColour(quint32 colour);
        void putNumber(qint32 number);
    };

    /// A cell of the first data row or column that holds headings is written as TH.
    void putCell(CellWriter& writer, const TableRowView& row, int column) const;
    void putPicture(CellWriter& writer, QByteArrayView path) const;

    const TableDefinition& m_definition;
    QByteArray m_serverImagePath;
    CellColours m_colours;
    int m_columnCount;
    /// The most bytes a row can take: every fixed piece and every slot at its capacity.
    qsizetype m_rowRoom;
    bool m_firstRow = true;
};

} // namespace kelvano
