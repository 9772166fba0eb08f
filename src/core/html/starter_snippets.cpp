#include "core/html/starter_snippets.h"

namespace kelvano {

QStringList starterSnippet(SnippetKind kind, PageEncoding encoding) {
    if (kind == SnippetKind::Footer) {
        return {QStringLiteral("</body>"), QStringLiteral("</html>")};
    }
    return {
        QStringLiteral("<!DOCTYPE html>"),
        QStringLiteral("<html lang=\"ja\">"),
        QStringLiteral("<head>"),
        QStringLiteral("<meta charset=\"%1\">").arg(ProgramSettings::pageEncodingName(encoding)),
        QStringLiteral("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"),
        QStringLiteral("<title>ページのタイトル</title>"),
        QStringLiteral("</head>"),
        QStringLiteral("<body>"),
        QStringLiteral("<p>更新日 <GETNOWDATE></p>"),
    };
}

} // namespace kelvano
