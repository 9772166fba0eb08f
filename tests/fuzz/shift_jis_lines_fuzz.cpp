// Shift-JIS conversion both ways, and the CR LF text lines of snippets and lists.

#include "core/store/shift_jis.h"
#include "core/store/text_lines.h"
#include "fuzz_support.h"

#include <cstring>
#include <unicode/uchar.h>

using namespace kelvano;
using kelvano::fuzz::require;

namespace {

constexpr QChar Replacement(0xFFFD);

QString without(QString text, QStringView characters) {
    for (const QChar character : characters) {
        text.remove(character);
    }
    return text;
}

/// Text that came from stored bytes encodes back to bytes that decode to the same text; only the
/// replacement characters of broken bytes cannot be stored.
void checkDecoded(QByteArrayView bytes) {
    const QString text = ShiftJis::decode(bytes);
    const ShiftJis::Encoded encoded = ShiftJis::encode(text);
    require(without(encoded.unencodable, QStringView(&Replacement, 1)).isEmpty(),
            "every decoded character but U+FFFD encodes");
    require(ShiftJis::decode(encoded.bytes) == without(text, encoded.unencodable),
            "decoded text survives its encoding");
}

/// Typed text: every character is either stored as itself or named as unencodable, never replaced.
void checkTyped(QByteArrayView utf16Bytes) {
    QString text(utf16Bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(text.data(), utf16Bytes.data(), static_cast<std::size_t>(text.size()) * 2);
    const ShiftJis::Encoded encoded = ShiftJis::encode(text);
    require(!encoded.bytes.contains('?') || text.contains(QLatin1Char('?')), "nothing becomes \"?\"");
    for (const QChar character : encoded.unencodable) {
        require(text.contains(character), "only characters of the text are named unencodable");
    }
    if (encoded.ok()) {
        // ICU leaves out default-ignorable characters (soft hyphen, zero-width space, byte order mark)
        // that the code page cannot hold instead of refusing them; they are invisible.
        QString visible = text;
        visible.removeIf(
            [](QChar c) { return u_hasBinaryProperty(c.unicode(), UCHAR_DEFAULT_IGNORABLE_CODE_POINT); });
        const QString decoded = ShiftJis::decode(encoded.bytes);
        require(decoded == text || decoded == visible, "encodable text survives a round trip");
    }
}

void checkLines(QByteArrayView contents) {
    const QList<QByteArray> lines = splitLines(contents);
    qsizetype joinedSize = 0;
    for (const QByteArray& line : lines) {
        require(!line.contains('\n'), "a line holds no line end");
        joinedSize += line.size() + 2;
    }
    const QByteArray joined = joinLines(lines);
    require(joined.size() == joinedSize, "every line ends with CR LF");
    require(splitLines(joined) == lines, "joined lines split into the same lines");
    const bool crLfOnly = contents.count('\n') == contents.count("\r\n");
    if (crLfOnly && (contents.isEmpty() || contents.endsWith("\r\n"))) {
        require(joined == contents, "a file of CR LF lines joins back to itself");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkDecoded(input);
    checkTyped(input);
    checkLines(input);
    return 0;
}
