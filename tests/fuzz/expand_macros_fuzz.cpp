// The header macros over any header line.

#include "core/html/clock.h"
#include "core/html/header_macros.h"
#include "core/store/shift_jis.h"
#include "fuzz_support.h"

using namespace kelvano;
using kelvano::fuzz::require;

namespace {

const QByteArray Tags[] = {QByteArrayLiteral("<GETNOWDATE>"), QByteArrayLiteral("<GETNOWTIME>"),
                           QByteArrayLiteral("<GETNOWDAY>")};

/// The line with ASCII a-z upper-cased, for finding tags written in any case.
QByteArray asciiUpper(QByteArrayView line) {
    QByteArray upper = line.toByteArray();
    for (char& byte : upper) {
        if (byte >= 'a' && byte <= 'z') {
            byte = static_cast<char>(byte - 'a' + 'A');
        }
    }
    return upper;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    static const MacroFormats formats(japanese);
    static const bool replacementsStorable = [] {
        Clock::setFixedNow(QDateTime(QDate(1997, 6, 1), QTime(9, 5, 7)));
        const QByteArray all = ExpandMacros("<GETNOWDATE><GETNOWTIME><GETNOWDAY>", japanese);
        return ShiftJis::encode(ShiftJis::decode(all)).bytes == all;
    }();
    require(replacementsStorable, "the replacements are Shift-JIS");

    const QByteArrayView line(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray expanded = ExpandMacros(line, japanese);
    require(expanded == ExpandMacros(line, formats, Clock::now()),
            "a run's formats give what a line's formats give");
    if (!asciiUpper(line).contains("GETNOW")) {
        require(expanded == line, "a line without tags comes back as typed");
    }
    // A tag written in a double-byte character's second byte cannot appear, so the upper-cased
    // result holds no tag in any case.
    const QByteArray upperExpanded = asciiUpper(expanded);
    for (const QByteArray& tag : Tags) {
        require(!upperExpanded.contains(tag), "no tag is left");
    }
    return 0;
}
