#include "core/table/text_collation.h"

#include "core/store/shift_jis.h"

#include <cstring>
#include <stdexcept>
#include <unicode/ucol.h>
#include <unicode/uloc.h>

namespace kelvano {
namespace {

UCollator* openCollator(const char* locale, TextCollation::Digits digits) {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open(locale, &status);
    if (U_FAILURE(status)) {
        throw std::runtime_error("ICU cannot open a collator");
    }
    ucol_setStrength(collator, UCOL_TERTIARY);
    if (digits == TextCollation::Digits::Numeric) {
        ucol_setAttribute(collator, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
        if (U_FAILURE(status)) {
            ucol_close(collator);
            throw std::runtime_error("ICU cannot collate digits by value");
        }
    }
    return collator;
}

/// The user's locale for collation. The POSIX locale (LANG=C) names no language and its ICU tailoring
/// puts capitals first, so it gets the root collation, which orders as the other locales do (a < A).
const char* userCollationLocale() {
    const char* locale = uloc_getDefault();
    return std::strcmp(locale, "en_US_POSIX") == 0 ? "" : locale;
}

} // namespace

void TextCollation::Closer::operator()(UCollator* collator) const {
    ucol_close(collator);
}

TextCollation::TextCollation(Digits digits) : m_collator(openCollator(userCollationLocale(), digits)) {}

TextCollation::TextCollation(const QString& localeName, Digits digits)
    : m_collator(openCollator(localeName.toLatin1().constData(), digits)) {}

TextCollation::~TextCollation() = default;

QByteArray TextCollation::sortKey(QByteArrayView bytes) const {
    QByteArray key;
    appendSortKey(bytes, key);
    return key;
}

void TextCollation::appendSortKey(QByteArrayView bytes, QByteArray& keys) const {
    const QString text = shiftJisText(bytes);
    const auto* characters = reinterpret_cast<const UChar*>(text.utf16());
    const auto length = static_cast<int32_t>(text.size());
    const qsizetype start = keys.size();
    // Most keys fit in 64 bytes; a longer one is asked for again with the room it needs.
    keys.resize(start + 64);
    int32_t needed = ucol_getSortKey(m_collator.get(), characters, length,
                                     reinterpret_cast<uint8_t*>(keys.data() + start), 64);
    if (needed > 64) {
        keys.resize(start + needed);
        needed = ucol_getSortKey(m_collator.get(), characters, length,
                                 reinterpret_cast<uint8_t*>(keys.data() + start), needed);
    }
    keys.truncate(start + needed); // the key's own terminating zero stays inside
}

int TextCollation::compare(QByteArrayView a, QByteArrayView b) const {
    return std::strcmp(sortKey(a).constData(), sortKey(b).constData());
}

QString shiftJisText(QByteArrayView bytes) {
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) >= 0x80) {
            return ShiftJis::decode(bytes);
        }
    }
    return QString::fromLatin1(bytes);
}

} // namespace kelvano
