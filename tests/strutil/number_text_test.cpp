#include "core/text/number_text.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <limits>

namespace kelvano::StringUtil {
namespace {

constexpr qint32 MinInt = std::numeric_limits<qint32>::min();
constexpr qint32 MaxInt = std::numeric_limits<qint32>::max();

TEST(NumberText, PaddedAndPlainDecimals) {
    EXPECT_EQ(zero(0), "00");
    EXPECT_EQ(zero(7), "07");
    EXPECT_EQ(zero(12), "12");
    EXPECT_EQ(zero(123), "123");
    EXPECT_EQ(spc(7), " 7");
    EXPECT_EQ(spc(10), "10");
    EXPECT_EQ(bytestr(255), "255");
    EXPECT_EQ(wordstr(65535), "65535");
    EXPECT_EQ(intstr(-9999), "-9999");
    // Values beyond the callers' range keep every digit.
    EXPECT_EQ(intstr(123456), "123456");
    EXPECT_EQ(intstr(-100000), "-100000");
    EXPECT_EQ(longstr(MinInt), "-2147483648");
}

TEST(NumberText, HexadecimalDigits) {
    EXPECT_EQ(dtoh(0), "00");
    EXPECT_EQ(dtoh(10), "0A");
    EXPECT_EQ(dtoh(255), "FF");

    EXPECT_EQ(hex3(0), "000000");
    EXPECT_EQ(hex3(255), "0000FF"); // pure red: the digits read blue, green, red
    EXPECT_EQ(hex3(0x123456), "123456");
    EXPECT_EQ(hex3(0xFF0000), "FF0000");
    EXPECT_EQ(hex3(0x7F0A0B0C), "0A0B0C"); // the top byte never shows
    EXPECT_EQ(hex3(-1), "FFFFFF");
    EXPECT_EQ(hex3(MinInt), "000000");
}

// A colour text for a page takes the pairs in reverse: red from the last pair, blue from the first.
TEST(NumberText, HexDigitPairsAreBlueGreenRed) {
    const QByteArray orange = hex3(0x0080FF); // red FF, green 80, blue 00
    EXPECT_EQ(orange.mid(0, 2), "00");
    EXPECT_EQ(orange.mid(2, 2), "80");
    EXPECT_EQ(orange.mid(4, 2), "FF");
    EXPECT_EQ(hex3(0x402010).mid(4, 2), "10");
}

TEST(NumberText, DigitGrouping) {
    EXPECT_EQ(dtoc(0), "0");
    EXPECT_EQ(dtoc(999), "999");
    EXPECT_EQ(dtoc(1000), "1,000");
    EXPECT_EQ(dtoc(1234), "1,234");
    EXPECT_EQ(dtoc(1234567), "1,234,567");
    EXPECT_EQ(dtoc(MaxInt), "2,147,483,647");
    EXPECT_EQ(dtoc(-1234567), "-1,234,567");
    EXPECT_EQ(dtoc(MinInt), "-2,147,483,648");
}

} // namespace
} // namespace kelvano::StringUtil
