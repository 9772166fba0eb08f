#include "core/store/shift_jis.h"

#include <algorithm>
#include <memory>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

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

} // namespace kelvano::ShiftJis
