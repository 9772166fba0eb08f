#include "core/text/exponent_form.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <limits>

namespace kelvano::StringUtil {
namespace {

TEST(ExponentForm, TwentyThreeCharactersWithFourExponentDigits) {
    EXPECT_EQ(exponentForm(1.5), " 1.50000000000000E+0000");
    EXPECT_EQ(exponentForm(1.5).size(), 23);
    EXPECT_EQ(exponentForm(123.456), " 1.23456000000000E+0002");
    EXPECT_EQ(exponentForm(-0.0123), "-1.23000000000000E-0002");
    EXPECT_EQ(exponentForm(0.0), " 0.00000000000000E+0000");
    EXPECT_EQ(exponentForm(-0.0), " 0.00000000000000E+0000");
    EXPECT_EQ(exponentForm(1e300), " 1.00000000000000E+0300");
    EXPECT_EQ(exponentForm(-1e-300), "-1.00000000000000E-0300");
    // Fifteen significant digits: the rounding may carry into the exponent.
    EXPECT_EQ(exponentForm(9.9999999999999999), " 1.00000000000000E+0001");
    EXPECT_EQ(exponentForm(std::numeric_limits<double>::infinity()), " INF");
    EXPECT_EQ(exponentForm(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(exponentForm(std::numeric_limits<double>::quiet_NaN()), " NAN");
}

TEST(ExponentForm, Dot2CutsOffAfterTwoDecimals) {
    EXPECT_EQ(Dot2(exponentForm(123.456)), "123.45");
    EXPECT_EQ(Dot2(exponentForm(1)), "1.00");
    EXPECT_EQ(Dot2(exponentForm(1.999)), "1.99");
    EXPECT_EQ(Dot2(exponentForm(123456789012.345)), "123456789012.34");  // exponent 11
    EXPECT_EQ(Dot2(exponentForm(1234567890123.45)), "1234567890123.45"); // exponent 12
    EXPECT_EQ(Dot2(exponentForm(1.5e15)), "1500000000000000.00");
}

TEST(ExponentForm, Dot2OfValuesBelowOneAndNegativeValues) {
    EXPECT_EQ(Dot2(exponentForm(0.456)), "0.45");
    EXPECT_EQ(Dot2(exponentForm(0.0123)), "0.01");
    EXPECT_EQ(Dot2(exponentForm(0.00999)), "0.00");
    EXPECT_EQ(Dot2(exponentForm(0)), "0.00");
    EXPECT_EQ(Dot2(exponentForm(-123.456)), "-123.45");
    EXPECT_EQ(Dot2(exponentForm(-0.456)), "-0.45");
}

TEST(ExponentForm, Round2FromOneUpRoundsHalfUpOnTheThirdDecimal) {
    EXPECT_EQ(Round2(exponentForm(1)), "1.00");
    EXPECT_EQ(Round2(exponentForm(123.454)), "123.45");
    EXPECT_EQ(Round2(exponentForm(123.455)), "123.46");
    // 1.005 is stored as 1.00499999..., but its exponent form reads 1.00500000000000.
    EXPECT_EQ(Round2(exponentForm(1.005)), "1.01");
    EXPECT_EQ(Round2(exponentForm(1.095)), "1.10");
    EXPECT_EQ(Round2(exponentForm(9.999)), "10.00");
    EXPECT_EQ(Round2(exponentForm(99.995)), "100.00");
    EXPECT_EQ(Round2(exponentForm(999999999999.995)), "1000000000000.00"); // exponent 11 carries to 13 digits
    EXPECT_EQ(Round2(exponentForm(-2.345)), "-2.35");
    EXPECT_EQ(Round2(exponentForm(-9.996)), "-10.00");
    EXPECT_EQ(Round2(exponentForm(0)), "0.00");
}

TEST(ExponentForm, Round2BelowOneKeepsTwoSignificantDigits) {
    EXPECT_EQ(Round2(exponentForm(0.0123)), "0.012");
    EXPECT_EQ(Round2(exponentForm(0.456)), "0.46");
    EXPECT_EQ(Round2(exponentForm(0.0994)), "0.099");
    EXPECT_EQ(Round2(exponentForm(0.0195)), "0.020");
    EXPECT_EQ(Round2(exponentForm(-0.456)), "-0.46");
    // A carry out of the leading digit reaches the next power of ten and keeps the number of decimals.
    EXPECT_EQ(Round2(exponentForm(0.0996)), "0.100");
    EXPECT_EQ(Round2(exponentForm(0.00996)), "0.0100");
    EXPECT_EQ(Round2(exponentForm(0.996)), "1.00");
}

TEST(ExponentForm, TextsThatAreNoExponentFormReadNothingOutsideThem) {
    EXPECT_EQ(Dot2(""), "0.00");
    EXPECT_EQ(Round2(""), "0.00");
    EXPECT_EQ(Dot2(" INF"), "0.00");
    EXPECT_EQ(Round2("-NAN"), "-0.00");
    EXPECT_EQ(Dot2(" 1.5E+2"), "150.00");
    EXPECT_EQ(Round2(" 9.999E+"), "10.00");
    EXPECT_EQ(Round2(" 1.5E-x"), "1.50");
}

} // namespace
} // namespace kelvano::StringUtil
