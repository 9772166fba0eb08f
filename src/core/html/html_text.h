#pragma once

#include "core/store/program_settings.h"

#include <QByteArray>

namespace kelvano {

/// A stored picture or link path as a URL: blanks, controls, quotes and the other bytes a URL cannot
/// hold become %XX, and so does non-ASCII text, as the browser would send it: as UTF-8, but in the
/// query of a link in a Shift-JIS page as the stored bytes; "&" that starts no character reference
/// becomes "&amp;". With `fileName`, "#", "?", "&", "%" not followed by two hex digits, "'", "(" and
/// ")" are encoded as well, since they belong to the name of a file.
QByteArray urlOfPath(QByteArrayView path, PageEncoding encoding, bool fileName);

/// Text for an attribute value: `&`, `<`, `>` and `"` as references; double-byte characters whole.
QByteArray attributeText(QByteArrayView text);

} // namespace kelvano
