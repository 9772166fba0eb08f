#include "core/html/page_encoding.h"

#include "core/html/ascii_characters.h"
#include "core/store/shift_jis.h"

#include <array>

namespace kelvano {
namespace {

constexpr std::array<QByteArrayView, 8> ShiftJisNames{"shift_jis",   "shift-jis", "x-sjis",   "sjis",
                                                      "windows-31j", "cp932",     "ms_kanji", "csshiftjis"};

/// The characters a charset name is made of; anything else (a quote, a blank, ";", ">", a double-byte
/// character) ends it.
bool continuesName(char c) {
    return isAsciiAlphanumeric(c) || c == '-' || c == '_' || c == '.' || c == ':' || c == '+';
}

bool equalsIgnoringAsciiCase(QByteArrayView a, QByteArrayView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

/// The start of the name after each `charset=` (and its optional quote) in the line, found only at
/// the start of a character, so that a second byte of a double-byte character never begins a match.
template <typename Visit> void forEachDeclaration(QByteArrayView line, Visit visit) {
    static constexpr QByteArrayView Keyword = "charset=";
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (ShiftJis::isLeadByte(static_cast<unsigned char>(line[i]))) {
            ++i;
            continue;
        }
        if (line.size() - i < Keyword.size() ||
            !equalsIgnoringAsciiCase(line.sliced(i, Keyword.size()), Keyword)) {
            continue;
        }
        qsizetype start = i + Keyword.size();
        if (start < line.size() && (line[start] == '"' || line[start] == '\'')) {
            ++start;
        }
        qsizetype end = start;
        while (end < line.size() && continuesName(line[end])) {
            ++end;
        }
        if (!visit(start, end)) {
            return;
        }
        i = end - 1;
    }
}

bool isShiftJisName(QByteArrayView name) {
    for (const QByteArrayView known : ShiftJisNames) {
        if (equalsIgnoringAsciiCase(name, known)) {
            return true;
        }
    }
    return false;
}

} // namespace

void Utf8Recoder::recode(QByteArrayView bytes, QByteArray& out) {
    if (!m_pending.isEmpty()) {
        m_pending += bytes;
        const QByteArray joined = std::exchange(m_pending, QByteArray());
        recode(joined, out);
        return;
    }
    // Find whether the last byte opens a character that the next piece completes.
    qsizetype end = bytes.size();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (ShiftJis::isLeadByte(static_cast<unsigned char>(bytes[i]))) {
            if (i + 1 == bytes.size()) {
                end = i;
                break;
            }
            ++i;
        }
    }
    ShiftJis::appendUtf8(out, bytes.first(end));
    m_pending = bytes.sliced(end).toByteArray();
}

void Utf8Recoder::finish(QByteArray& out) {
    if (!m_pending.isEmpty()) {
        ShiftJis::appendUtf8(out, std::exchange(m_pending, QByteArray()));
    }
}

QByteArray rewriteCharsetNames(QByteArrayView line) {
    QByteArray result;
    qsizetype copied = 0;
    forEachDeclaration(line, [&](qsizetype start, qsizetype end) {
        if (isShiftJisName(line.sliced(start, end - start))) {
            result += line.sliced(copied, start - copied);
            result += "UTF-8";
            copied = end;
        }
        return true;
    });
    if (copied == 0) {
        return line.toByteArray();
    }
    result += line.sliced(copied);
    return result;
}

QByteArray declaredCharset(QByteArrayView line) {
    QByteArray name;
    forEachDeclaration(line, [&](qsizetype start, qsizetype end) {
        name = line.sliced(start, end - start).toByteArray();
        return false;
    });
    return name;
}

bool charsetNameMatches(QByteArrayView name, PageEncoding encoding) {
    if (encoding == PageEncoding::ShiftJis) {
        return isShiftJisName(name);
    }
    return equalsIgnoringAsciiCase(name, "utf-8") || equalsIgnoringAsciiCase(name, "utf8");
}

} // namespace kelvano
