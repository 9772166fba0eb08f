#include "core/html/html_text.h"

#include "core/html/ascii_characters.h"
#include "core/store/shift_jis.h"

#include <algorithm>

namespace kelvano {
namespace {

/// Whether the "&" at `at` starts a character reference ("&name;", "&#123;", "&#x1F;").
bool startsReference(QByteArrayView text, qsizetype at) {
    qsizetype i = at + 1;
    if (i < text.size() && text[i] == '#') {
        ++i;
        if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
            ++i;
        }
    }
    const qsizetype nameStart = i;
    while (i < text.size() && isAsciiAlphanumeric(text[i])) {
        ++i;
    }
    return i > nameStart && i < text.size() && text[i] == ';';
}

void appendPercent(QByteArray& out, unsigned char byte) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    out += '%';
    out += Digits[byte >> 4];
    out += Digits[byte & 0xFu];
}

} // namespace

/// Text for an attribute value: `&`, `<`, `>` and `"` as references.
QByteArray attributeText(QByteArrayView text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (ShiftJis::isLeadByte(byte) && i + 1 < text.size()) {
            out += text[i];
            out += text[++i];
        } else if (byte == '&') {
            out += "&amp;";
        } else if (byte == '"') {
            out += "&quot;";
        } else if (byte == '<') {
            out += "&lt;";
        } else if (byte == '>') {
            out += "&gt;";
        } else {
            out += text[i];
        }
    }
    return out;
}

QByteArray urlOfPath(QByteArrayView path, PageEncoding encoding, bool fileName) {
    QByteArray out;
    out.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char c = path[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            // A run of non-ASCII text, up to the next ASCII byte that starts no character.
            qsizetype end = i;
            while (end < path.size() && static_cast<unsigned char>(path[end]) >= 0x80) {
                end += ShiftJis::isLeadByte(static_cast<unsigned char>(path[end])) ? 2 : 1;
            }
            end = std::min(end, path.size());
            const QByteArrayView run = path.sliced(i, end - i);
            // A browser sends the path of a URL as UTF-8 and its query in the page's encoding.
            const bool query = !fileName && path.first(i).contains('?');
            QByteArray bytes;
            if (query && encoding == PageEncoding::ShiftJis) {
                bytes = run.toByteArray();
            } else {
                ShiftJis::appendUtf8(bytes, run);
            }
            for (const char u : bytes) {
                appendPercent(out, static_cast<unsigned char>(u));
            }
            i = end - 1;
            continue;
        }
        const bool unsafe = byte <= 0x20 || byte == 0x7F || c == '"' || c == '<' || c == '>' || c == '\\' ||
                            c == '^' || c == '`' || c == '{' || c == '|' || c == '}';
        const bool unsafeInName =
            fileName &&
            (c == '#' || c == '?' || c == '\'' || c == '(' || c == ')' || c == '&' ||
             (c == '%' && !(i + 2 < path.size() && isHexDigit(path[i + 1]) && isHexDigit(path[i + 2]))));
        if (unsafe || unsafeInName) {
            appendPercent(out, byte);
        } else if (c == '&' && !startsReference(path, i)) {
            out += "&amp;";
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace kelvano
