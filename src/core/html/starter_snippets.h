#pragma once

#include "core/store/program_settings.h"
#include "core/store/snippet_store.h"

#include <QStringList>

namespace kelvano {

/// The lines of a starting header or footer for today's browsers, as the header editor's "ひな形"
/// fills an empty text box with them: the header opens the document (doctype, a charset declaration
/// naming the page encoding, a viewport for small screens, a description, a title and the table's
/// style block, <TABLESTYLE>), opens its main part and dates the page with <GETNOWDATE>; the footer
/// closes what the header opened.
QStringList starterSnippet(SnippetKind kind, PageEncoding encoding);

} // namespace kelvano
