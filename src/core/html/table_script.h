#pragma once

#include <QByteArray>

namespace kelvano {

/// The inline script that follows a table whose headings sort it or that has a filter box, as one
/// line: `<SCRIPT>…</SCRIPT>` in the classic markup, `<script>…</script>` in HTML5. `stripes` is the
/// number of row colours written on the cells (0 when the cells take no colours by row, or when a
/// style sheet colours the rows by their place).
QByteArray tableScriptLine(bool classic, bool sort, bool filter, int stripes);

} // namespace kelvano
