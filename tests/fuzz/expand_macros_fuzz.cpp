// The header macros over any header line.

#include "fuzz_support.h"
#include "html/clock.h"
#include "html/header_macros.h"
#include "store/shift_jis.h"

using namespace kelvano;
using kelvano::fuzz::require;

namespace {

const QByteArray Tags[] = {QByteArrayLiteral("<GETNOWDATE>"), QByteArrayLiteral("<GETNOWTIME>"),
                           QByteArrayLiteral("<GETNOWDAY>")};

bool holdsTagText(QByteArrayView line) {
    return line.contains("GETNOW");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    static const bool replacementsStorable = [] {
        Clock::setFixedNow(QDateTime(QDate(1997, 6, 1), QTime(9, 5, 7)));
        const QByteArray all = ExpandMacros("<GETNOWDATE><GETNOWTIME><GETNOWDAY>", japanese);
        return ShiftJis::encode(ShiftJis::decode(all)).bytes == all;
    }();
    require(replacementsStorable, "the replacements are Shift-JIS");

    const QByteArrayView line(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray upper = upperCaseAscii(line);
    require(upper.size() == line.size(), "upper-casing keeps every byte's place");
    for (qsizetype i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte < 'a' || byte > 'z') {
            require(upper[i] == line[i], "upper-casing touches ASCII a-z only");
        }
    }

    const QByteArray expanded = ExpandMacros(line, japanese);
    if (!holdsTagText(upper)) {
        require(expanded == upper, "a line without tags is only upper-cased");
    }
    for (const QByteArray& tag : Tags) {
        require(!expanded.contains(tag), "no tag is left");
    }
    return 0;
}
