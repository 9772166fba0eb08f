#include "core/text/date_serial.h"

#include <QByteArray>
#include <gtest/gtest.h>

namespace kelvano::StringUtil {
namespace {

TEST(DateSerial, DaysCountFromNineteenEighty) {
    EXPECT_EQ(nextdate("1980/01/01"), 1);
    EXPECT_EQ(nextdate("98/03/15"), 6645);
    EXPECT_EQ(nextdate("1980/12/31"), 366); // every February has 29 days
    EXPECT_EQ(nextdate("1981/01/01"), 366); // and every year 365
    EXPECT_EQ(nextdate("1998/3/5"), nextdate("98/03/05"));
}

TEST(DateSerial, TwoDigitYearsAreWidenedAtEighty) {
    EXPECT_EQ(nextdate("79/01/01"), nextdate("2079/01/01"));
    EXPECT_EQ(nextdate("79/01/01"), 99 * 365 + 1);
    EXPECT_EQ(nextdate("80/01/01"), 1);
    EXPECT_EQ(nextdate("00/01/01"), nextdate("2000/01/01"));
    EXPECT_EQ(nextdate("0098/01/01"), (98 - 1980) * 365 + 1); // four digits are taken as they stand
    EXPECT_EQ(nextdated("99/12"), 19 * 12 + 12);
    EXPECT_EQ(nextdated("05/1"), 25 * 12 + 1);
}

TEST(DateSerial, MissingOrImpossibleMonthsAndDaysGiveZero) {
    EXPECT_EQ(nextdate("1998/03"), 0);
    EXPECT_EQ(nextdate("1998"), 0);
    EXPECT_EQ(nextdate(""), 0);
    EXPECT_EQ(nextdate("1998/13/01"), 0);
    EXPECT_EQ(nextdate("1998/00/01"), 0);
    EXPECT_EQ(nextdated("1998"), 18 * 12);
    EXPECT_EQ(nextdated(""), -1980 * 12);
}

TEST(DateSerial, OnlyDigitsOfTheFirstThreePartsCount) {
    EXPECT_EQ(nextdate("H10 98/03/15"), nextdate("1098/03/15"));
    // 98年/3月/15日 in code page 932
    EXPECT_EQ(nextdate(QByteArray::fromHex("3938944e2f338c8e2f313593fa")), 6645);
    EXPECT_EQ(nextdate("98/03/15/99"), 6645);
    EXPECT_EQ(nextdate("98/03/1234567"), 18 * 365 + 31 + 29 + 12345); // each part keeps five digits
    EXPECT_EQ(nextdated("1998/0000012"), 18 * 12);
}

} // namespace
} // namespace kelvano::StringUtil
