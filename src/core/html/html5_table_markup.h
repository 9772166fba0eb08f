#pragma once

#include "core/html/cell_plan.h"
#include "core/html/html_text.h"
#include "core/store/program_settings.h"
#include "core/store/table_definition.h"
#include "core/store/table_row_record.h"

#include <QByteArray>

namespace kelvano {

class PictureSizes;

/// The HTML5 form of the table of one page: the same table as TableMarkup draws, with lower-case
/// elements and attributes and every presentational value of the definition as CSS: in the `style`
/// attribute of the element it belongs to (a `<style>` block is not allowed in the body of an HTML5
/// page), or, when the page's header asks for it with `<TABLESTYLE>`, in one `<style>` block in the
/// head with rules by column and row place, the cells then carrying no style at all. Cell texts are
/// written unchanged. The definition must outlive the markup.
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

    /// The `<style>` block of this table on one line, for the header's `<TABLESTYLE>`: a rule for the table,
    /// its cells, each column and each row colour (by the row's place, so that it holds after a sort in the
    /// page), and for printing. From then on the table is written for it: classes, no style attributes.
    QByteArray styleSheet();
    /// Where the width and height of the pictures come from; none: pictures get no size.
    void setPictureSizes(PictureSizes* sizes) { m_pictureSizes = sizes; }

private:
    QByteArray tableStyle() const;
    void appendCell(QByteArray& out, const CellPlan& cell) const;
    void appendCellByStyleSheet(QByteArray& out, const CellPlan& cell) const;
    void appendContent(QByteArray& out, const CellPlan& cell) const;
    void appendPicture(QByteArray& out, const CellPlan& cell) const;

    const TableDefinition& m_definition;
    QByteArray m_serverImagePath;
    PageEncoding m_encoding;
    TablePlan m_plan;
    /// The part of every cell's style that the table decides: its border and padding.
    QByteArray m_cellStyle;
    bool m_styleSheet = false;
    PictureSizes* m_pictureSizes = nullptr;
};

} // namespace kelvano
