#pragma once

#include "core/store/table_row_record.h"

#include <QByteArray>

namespace kelvano::test {

/// Appends the row as a page run would: from the record's stored bytes. Either table writer.
template <typename Markup>
void appendStoredRow(Markup& table, QByteArray& out, const TableRowRecord& record) {
    const QByteArray stored = record.encode();
    table.appendRow(out, TableRowView(stored));
}

/// The markup of one row, written from the record's stored bytes.
template <typename Markup> QByteArray rowOf(Markup& table, const TableRowRecord& record) {
    QByteArray out;
    appendStoredRow(table, out, record);
    return out;
}

} // namespace kelvano::test
