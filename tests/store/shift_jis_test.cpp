#include "store/shift_jis.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvano {
namespace {

TEST(ShiftJis, RoundTripsTrapCharactersByteForByte) {
    const QString text = QStringLiteral("ソ表Ｂ\\~ｱabc");
    const ShiftJis::Encoded encoded = ShiftJis::encode(text);
    ASSERT_TRUE(encoded.ok());
    EXPECT_EQ(encoded.bytes, test::hexBytes("835C 955C 8261 5C 7E B1 616263"));
    EXPECT_EQ(ShiftJis::decode(encoded.bytes), text);

    // Pure ASCII, backslash and tilde included, stays byte for byte.
    EXPECT_EQ(ShiftJis::encode(u"C:\\a~").bytes, "C:\\a~");
    EXPECT_EQ(ShiftJis::decode("C:\\a~"), QStringLiteral("C:\\a~"));
}

TEST(ShiftJis, ReportsUnencodableCharactersInsteadOfStoringQuestionMarks) {
    const ShiftJis::Encoded encoded = ShiftJis::encode(QStringLiteral("表😀a😀é"));
    EXPECT_FALSE(encoded.ok());
    EXPECT_EQ(encoded.unencodable, QStringLiteral("😀é"));
    EXPECT_FALSE(encoded.bytes.contains('?'));
    EXPECT_EQ(encoded.bytes, test::hexBytes("955C 61"));
}

TEST(ShiftJis, HalfACharacterAtACutDecodesToAReplacementCharacter) {
    EXPECT_EQ(ShiftJis::decode(test::hexBytes("6162 83")), QStringLiteral("ab\uFFFD"));
    EXPECT_EQ(ShiftJis::decode(QByteArray()), QString());
    EXPECT_TRUE(ShiftJis::isLeadByte(0x83));
    EXPECT_TRUE(ShiftJis::isLeadByte(0xE0));
    EXPECT_FALSE(ShiftJis::isLeadByte(0x5C));
    EXPECT_FALSE(ShiftJis::isLeadByte(0xB1));
}

} // namespace
} // namespace kelvano
