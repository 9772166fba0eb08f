#pragma once

#include "core/html/cell_plan.h"
#include "core/store/program_settings.h"
#include "core/store/table_definition.h"
#include "core/store/table_row_record.h"

#include <QByteArray>

namespace kelvano {

/// A stored picture or link path as a URL: blanks, controls, quotes and the other bytes a URL cannot
/// hold become %XX, and so does non-ASCII text, as the browser would send it: as UTF-8, but in the
/// query of a link in a Shift-JIS page as the stored bytes; "&" that starts no character reference
/// becomes "&amp;". With `fileName`, "#", "?", "&", "%" not followed by two hex digits, "'", "(" and
/// ")" are encoded as well, since they belong to the name of a file.
QByteArray urlOfPath(QByteArrayView path, PageEncoding encoding, bool fileName);

/// The HTML5 form of the table of one page: the same table as TableMarkup draws, with lower-case
/// elements and attributes and every presentational value of the definition as CSS in the `style`
/// attribute of the element it belongs to (a `<style>` block is not allowed in the body of an HTML5
/// page, and inline styles cannot clash with the user's own style sheet). Cell texts are written
/// unchanged. The definition must outlive the markup.
class Html5TableMarkup {
public:
    Html5TableMarkup(const TableDefinition& definition, QByteArrayView serverImagePath,
                     PageEncoding encoding);

    QByteArray startLine() const;
    QByteArray endLine() const;
    QByteArray scrollStartLine() const;
    QByteArray scrollEndLine() const;
    QByteArray csvLinkLine() const;
    QByteArray scriptLine() const;
    QByteArray captionLine() const;
    void appendRow(QByteArray& out, const TableRowView& row);

private:
    void appendCell(QByteArray& out, const CellPlan& cell) const;
    void appendPicture(QByteArray& out, const CellPlan& cell) const;

    const TableDefinition& m_definition;
    QByteArray m_serverImagePath;
    PageEncoding m_encoding;
    TablePlan m_plan;
    /// The part of every cell's style that the table decides: its border and padding.
    QByteArray m_cellStyle;
};

} // namespace kelvano
