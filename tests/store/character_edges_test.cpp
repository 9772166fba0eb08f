#include "core/html/table_markup.h"
#include "core/store/file_names.h"
#include "core/store/shift_jis.h"
#include "core/table/cell_text_import.h"

#include <gtest/gtest.h>

namespace kelvano {
namespace {

// Every control character is refused in a file name, the last one below the space included, and
// the characters right beside the two control ranges are allowed.
TEST(CharacterEdges, EveryControlCharacterIsRefusedInAFileName) {
    for (char16_t code = 0; code <= 0xA0; ++code) {
        const bool control = code < 0x20 || (code >= 0x7F && code <= 0x9F);
        const bool separator = code == u'/' || code == u'\\';
        const QString name = QStringLiteral("a") + QChar(code) + QStringLiteral("b");
        EXPECT_EQ(isUsableFileName(name), !control && !separator) << int(code);
    }
}

// The IBM extension kanji run up to lead byte 0xFC (黑 is FC 4B): a character there is never split,
// cut in half or taken for two one-byte characters.
TEST(CharacterEdges, FCIsTheLastLeadByte) {
    EXPECT_EQ(ShiftJis::decode("a\xFC\x4B"), QStringLiteral("a\u9ED1"));
    EXPECT_EQ(ShiftJis::decode("a\xFC"), QStringLiteral("a\uFFFD"));
    EXPECT_EQ(cutAtCharacter("ab\xFC\x4B", 3), QByteArray("ab"));
    EXPECT_EQ(fileNamePart("C:\\pics\\\xFC\x5C.jpg"), QByteArray("\xFC\x5C.jpg"));
    EXPECT_EQ(cutAtCharacter("ab\xFD"
                             "K",
                             3),
              QByteArray("ab\xFD")); // FD is a byte of its own
}

} // namespace
} // namespace kelvano
