#include "core/store/shift_jis.h"
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

TEST(ShiftJis, ControlBytesAndBrokenBytesNeverTurnIntoOtherBytes) {
    // Every byte below 0x80 is the character of that number, with or without a double-byte
    // character beside it, and is written back as the same byte.
    const QByteArray controls = test::hexBytes("1A 1C 7F");
    for (const QByteArray& bytes : {controls, controls + test::Hyo}) {
        const QString text = ShiftJis::decode(bytes);
        EXPECT_EQ(text.first(3), QStringLiteral("\u001A\u001C\u007F"));
        EXPECT_EQ(ShiftJis::encode(text).bytes, bytes);
    }

    // Bytes that are no character, and a lead byte before a byte that cannot follow it, read as
    // U+FFFD, which cannot be stored: never as a control code that would be written as 0x7F.
    const QString broken = ShiftJis::decode(test::hexBytes("80 A0 FD 95 0A") + test::So);
    EXPECT_EQ(broken, QStringLiteral("\uFFFD\uFFFD\uFFFD\uFFFD\nソ"));
    const ShiftJis::Encoded encoded = ShiftJis::encode(broken);
    EXPECT_EQ(encoded.unencodable, QStringLiteral("\uFFFD"));
    EXPECT_EQ(encoded.bytes, "\n" + test::So);
}

QByteArray utf8ByTable(QByteArrayView bytes) {
    QByteArray out("x"); // appended to, never replaced
    ShiftJis::appendUtf8(out, bytes);
    return out.mid(1);
}

// The table must give what decoding gives for every byte and every pair of bytes, and for a byte
// before a pair and after it (a lead byte at the end, a broken pair between characters, the rotated
// control codes beside a Japanese character).
TEST(ShiftJis, Utf8ByTheTableIsWhatDecodingGivesForEveryByteAndPair) {
    int differing = 0;
    for (int first = 0; first < 256; ++first) {
        for (int second = -1; second < 256; ++second) {
            QByteArray bytes(1, static_cast<char>(first));
            if (second >= 0) {
                bytes += static_cast<char>(second);
            }
            differing += utf8ByTable(bytes) != ShiftJis::decode(bytes).toUtf8() ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    const QByteArray japanese = ShiftJis::encode(u"表ソ").bytes;
    for (int byte = 0; byte < 256; ++byte) {
        for (const QByteArray& bytes :
             {japanese + char(byte), char(byte) + japanese, japanese + char(byte) + japanese + char(byte)}) {
            ASSERT_EQ(utf8ByTable(bytes), ShiftJis::decode(bytes).toUtf8()) << byte;
        }
    }
    EXPECT_EQ(utf8ByTable(japanese + "a\x1A"), QByteArray("\xE8\xA1\xA8\xE3\x82\xBD"
                                                          "a\x1A"));
}

} // namespace
} // namespace kelvano
