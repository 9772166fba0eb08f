#include "core/store/shift_jis.h"

#include <algorithm>
#include <array>
#include <memory>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>
#include <vector>

namespace kelvano::ShiftJis {
namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

/// Bytes that are no character of the code page, or a lead byte whose second byte cannot follow it,
/// decode to U+FFFD. ICU's own substitute would be U+001A, a control code that encodes to a byte.
void substituteReplacementCharacter(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                                    UConverterCallbackReason reason, UErrorCode* status) {
    if (reason > UCNV_IRREGULAR) {
        return;
    }
    static constexpr UChar Replacement = 0xFFFD;
    *status = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &Replacement, 1, 0, status);
}

/// One converter per thread, opened on first use and reset after every conversion.
UConverter* converter() {
    thread_local Converter converter = [] {
        UErrorCode status = U_ZERO_ERROR;
        Converter opened(ucnv_open("windows-31j", &status));
        if (U_SUCCESS(status)) {
            ucnv_setToUCallBack(opened.get(), substituteReplacementCharacter, nullptr, nullptr, nullptr,
                                &status);
        }
        if (U_FAILURE(status)) {
            throw std::runtime_error("ICU has no windows-31j converter");
        }
        return opened;
    }();
    return converter.get();
}

// ICU's table for code page 932 rotates three control codes: it reads byte 0x1A as U+001C, 0x1C as
// U+007F and 0x7F as U+001A, and writes them back the same way. Code page 932 keeps every byte below
// 0x80 as the character of that number, as the ASCII fast paths here do; without undoing the rotation
// a 0x1A byte in a text that also holds a Japanese character would be written back as 0x7F.
char16_t fromIcuControl(char16_t c) {
    switch (c) {
    case 0x1C:
        return 0x1A;
    case 0x7F:
        return 0x1C;
    case 0x1A:
        return 0x7F;
    default:
        return c;
    }
}

char16_t toIcuControl(char16_t c) {
    switch (c) {
    case 0x1A:
        return 0x1C;
    case 0x1C:
        return 0x7F;
    case 0x7F:
        return 0x1A;
    default:
        return c;
    }
}

bool isRotatedControl(QChar c) {
    return c.unicode() == 0x1A || c.unicode() == 0x1C || c.unicode() == 0x7F;
}

bool isAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

bool isAscii(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar character) { return character.unicode() < 0x80; });
}

const UChar* utf16(QStringView text) {
    return reinterpret_cast<const UChar*>(text.utf16());
}

/// Encodes with the converter set to stop at the first unencodable character; false on any failure.
bool tryEncode(UConverter* converter, QStringView text, QByteArray& out) {
    QString icuText;
    if (std::any_of(text.begin(), text.end(), isRotatedControl)) {
        icuText.reserve(text.size());
        for (const QChar c : text) {
            icuText.append(QChar(toIcuControl(c.unicode())));
        }
        text = icuText;
    }
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    out.resize(text.size() * 2 + 2);
    const int32_t length = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                           utf16(text), static_cast<int32_t>(text.size()), &status);
    ucnv_reset(converter);
    if (U_FAILURE(status)) {
        return false;
    }
    out.truncate(length);
    return true;
}

} // namespace

// Code page 932 keeps ASCII as it is (0x5C and 0x7E included), so pure ASCII takes a fast path.
Encoded encode(QStringView text) {
    Encoded result;
    if (isAscii(text)) {
        result.bytes = text.toLatin1();
        return result;
    }
    if (tryEncode(converter(), text, result.bytes)) {
        return result;
    }
    // Slow path, taken only for refused input: encode character by character to name the culprits.
    result.bytes.clear();
    QByteArray piece;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QStringView character = text.mid(i, width);
        if (tryEncode(converter(), character, piece)) {
            result.bytes += piece;
        } else if (!result.unencodable.contains(character)) {
            result.unencodable += character;
        }
        i += width;
    }
    return result;
}

namespace {

/// True when the bytes end in the first byte of a double-byte character whose second byte was cut off.
bool endsInHalfCharacter(QByteArrayView bytes) {
    qsizetype i = 0;
    while (i < bytes.size()) {
        i += isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    }
    return i > bytes.size();
}

} // namespace

QString decode(QByteArrayView bytes) {
    if (bytes.isEmpty()) {
        return {};
    }
    if (isAscii(bytes)) {
        return QString::fromLatin1(bytes);
    }
    if (endsInHalfCharacter(bytes)) {
        return decode(bytes.chopped(1)) + QChar(QChar::ReplacementCharacter);
    }
    QString out(bytes.size() + 1, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_toUChars(converter(), reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                      bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    ucnv_reset(converter());
    if (U_FAILURE(status)) {
        return QString::fromLatin1(bytes);
    }
    out.truncate(length);
    for (QChar& c : out) {
        c = QChar(fromIcuControl(c.unicode()));
    }
    return out;
}

bool isTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

namespace {

/// A character's UTF-8 (at most 3 bytes: code page 932 holds no character beyond the BMP); length 0
/// where the byte or pair is no character of its own.
struct Utf8Character {
    std::array<char, 3> bytes{};
    quint8 length = 0;
};

constexpr int leadSlot(unsigned char lead) {
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 0x1F;
}
constexpr int LeadBytes = 0x9F - 0x81 + 1 + 0xFC - 0xE0 + 1;

Utf8Character utf8Of(char16_t unit) {
    Utf8Character c;
    if (unit == QChar::ReplacementCharacter || QChar::isSurrogate(unit)) {
        return c;
    }
    const QByteArray bytes = QString(QChar(unit)).toUtf8();
    std::copy(bytes.begin(), bytes.end(), c.bytes.begin());
    c.length = static_cast<quint8>(bytes.size());
    return c;
}

struct Utf8Table {
    std::array<Utf8Character, 256> single;
    std::vector<Utf8Character> pairs; ///< leadSlot(lead) * 256 + trail

    Utf8Table() : pairs(LeadBytes * 256) {
        // A byte that is no lead byte is a character of its own when it decodes to one character
        // and leaves the byte after it alone.
        for (int byte = 0x80; byte < 0x100; ++byte) {
            if (!isLeadByte(static_cast<unsigned char>(byte))) {
                const char text[] = {static_cast<char>(byte), 'A'};
                const QString decoded = decode(QByteArrayView(text, 2));
                if (decoded.size() == 2 && decoded[1] == u'A') {
                    single[static_cast<std::size_t>(byte)] = utf8Of(decoded[0].unicode());
                }
            }
        }
        // Every pair in one conversion; the offsets tell which pair made which character. A pair is a
        // character when it made exactly one that came from its first byte.
        std::vector<char> source;
        source.reserve(LeadBytes * 256 * 2);
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (isLeadByte(static_cast<unsigned char>(lead))) {
                for (int trail = 0; trail < 256; ++trail) {
                    source.push_back(static_cast<char>(lead));
                    source.push_back(static_cast<char>(trail));
                }
            }
        }
        std::vector<UChar> target(source.size() + 16);
        std::vector<int32_t> offsets(target.size());
        UChar* written = target.data();
        const char* read = source.data();
        UErrorCode status = U_ZERO_ERROR;
        ucnv_toUnicode(converter(), &written, target.data() + target.size(), &read,
                       source.data() + source.size(), offsets.data(), true, &status);
        ucnv_reset(converter());
        if (U_FAILURE(status)) {
            return; // no pair in the table: every text is decoded whole
        }
        std::vector<int> made(source.size() / 2, 0);
        std::vector<char16_t> unit(source.size() / 2, 0);
        for (std::ptrdiff_t i = 0; i < written - target.data(); ++i) {
            const auto pair = static_cast<std::size_t>(offsets[static_cast<std::size_t>(i)] / 2);
            made[pair] += offsets[static_cast<std::size_t>(i)] % 2 == 0 ? 1 : 2;
            unit[pair] = target[static_cast<std::size_t>(i)];
        }
        for (std::size_t pair = 0; pair < made.size(); ++pair) {
            if (made[pair] == 1) {
                pairs[pair] = utf8Of(unit[pair]);
            }
        }
    }
};

} // namespace

void appendUtf8(QByteArray& out, QByteArrayView bytes) {
    static const Utf8Table table;
    // A byte gives at most 3 bytes of UTF-8 (a half-width katakana); the room is taken once.
    const qsizetype start = out.size();
    out.resize(start + 3 * bytes.size());
    char* to = out.data() + start;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            *to++ = static_cast<char>(byte);
            ++i;
            continue;
        }
        const Utf8Character* c = nullptr;
        if (!isLeadByte(byte)) {
            c = &table.single[byte];
            ++i;
        } else if (i + 1 < bytes.size()) {
            c = &table.pairs[static_cast<std::size_t>(leadSlot(byte) * 256 +
                                                      static_cast<unsigned char>(bytes[i + 1]))];
            i += 2;
        }
        if (c == nullptr || c->length == 0) {
            out.truncate(start);
            out += decode(bytes).toUtf8();
            return;
        }
        to = std::copy_n(c->bytes.data(), c->length, to);
    }
    out.truncate(to - out.constData());
}

} // namespace kelvano::ShiftJis
