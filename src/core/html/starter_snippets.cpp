#include "core/html/starter_snippets.h"

namespace kelvano {

QStringList starterSnippet(SnippetKind kind, PageEncoding encoding) {
    if (kind == SnippetKind::Footer) {
        return {QStringLiteral("</main>"), QStringLiteral("</body>"), QStringLiteral("</html>")};
    }
    return {
        QStringLiteral("<!DOCTYPE html>"),
        QStringLiteral("<html lang=\"ja\">"),
        QStringLiteral("<head>"),
        QStringLiteral("<meta charset=\"%1\">").arg(ProgramSettings::pageEncodingName(encoding)),
        QStringLiteral("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"),
        QStringLiteral("<meta name=\"description\" content=\"ページの説明\">"),
        QStringLiteral("<title>ページのタイトル</title>"),
        // The table's style block: its colours, sizes and alignments once for the page, not in every cell.
        QStringLiteral("<TABLESTYLE>"),
        QStringLiteral("</head>"),
        QStringLiteral("<body>"),
        QStringLiteral("<main>"),
        QStringLiteral("<p>更新日 <GETNOWDATE></p>"),
    };
}

} // namespace kelvano
