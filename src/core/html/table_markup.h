#pragma once

#include "core/html/cell_plan.h"
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
    /// `</TABLE>`, closing the body first when the rows opened one.
    QByteArray endLine() const;
    /// `<DIV STYLE="overflow-x:auto">` before the start line and `</DIV>` after `</TABLE>` when the
    /// table is to scroll sideways on small screens, its height bounded by the window's when the heading
    /// row stays in view (a heading fixed inside a scrolling box sticks to that box); empty otherwise.
    QByteArray scrollStartLine() const;
    QByteArray scrollEndLine() const;
    /// `<P><A HREF="FileName.csv">CSVファイル</A></P>` when the page has its CSV file beside it.
    QByteArray csvLinkLine() const;
    /// The script that sorts and filters the table in the page, when it does.
    QByteArray scriptLine() const;
    /// The classic markup carries its values on its elements: a header's `<TABLESTYLE>` gives nothing.
    QByteArray styleSheet() const { return {}; }
    /// `<CAPTION ...>` with the caption text; empty when the definition has no caption.
    QByteArray captionLine() const;
    /// Appends the next row, `<TR>` to `</TR>` (without the line end) with the sections it opens or
    /// closes, and moves the row colour on.
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

    void putCell(CellWriter& writer, const CellPlan& cell) const;
    void putPicture(CellWriter& writer, const CellPlan& cell) const;

    const TableDefinition& m_definition;
    QByteArray m_serverImagePath;
    TablePlan m_plan;
    /// The most bytes a row can take: every fixed piece and every slot at its capacity.
    qsizetype m_rowRoom;
};

} // namespace kelvano
