#include "core/html/clock.h"
#include "core/html/header_macros.h"
#include "core/store/shift_jis.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::sjis;

/// 1 June 1997, a Sunday, at 09:05:07 local time, read through the Japanese locale.
class HeaderMacros : public testing::Test {
protected:
    void SetUp() override { Clock::setFixedNow(QDateTime(QDate(1997, 6, 1), QTime(9, 5, 7))); }
    void TearDown() override { Clock::setFixedNow({}); }

    QByteArray expand(QByteArrayView line) const { return ExpandMacros(line, m_japanese); }

    const QLocale m_japanese{QLocale::Japanese, QLocale::Japan};
};

TEST_F(HeaderMacros, JapaneseFormatsGiveTheDateTimeAndWeekday) {
    EXPECT_EQ(expand("<p>Updated <getnowdate></p>"), "<p>Updated 1997/06/01</p>");
    EXPECT_EQ(expand("<GETNOWTIME>"), "9:05:07");
    EXPECT_EQ(expand("<GetNowTime>"), "9:05:07");
    EXPECT_EQ(expand("<GETNOWDAY><GETNOWDAY>"), sjis(QStringLiteral("日曜日日曜日")));
    Clock::setFixedNow(QDateTime(QDate(1997, 6, 7), QTime(23, 59, 59)));
    EXPECT_EQ(expand("<getnowday> <getnowtime>"), sjis(QStringLiteral("土曜日 23:59:59")));
    Clock::setFixedNow(QDateTime(QDate(2026, 12, 7), QTime(0, 0, 0)));
    EXPECT_EQ(expand("<GETNOWDATE><GETNOWDAY>"), "2026/12/07" + sjis(QStringLiteral("月曜日")));
}

TEST_F(HeaderMacros, TheSystemLocaleUnderJapaneseLangGivesTheSameFormats) {
    // CTest runs the tests with LANG=ja_JP.UTF-8.
    if (qgetenv("LANG") != "ja_JP.UTF-8") {
        GTEST_SKIP() << "LANG is not ja_JP.UTF-8";
    }
    EXPECT_EQ(ExpandMacros("<GETNOWDATE> <GETNOWTIME>", QLocale::system()), "1997/06/01 9:05:07");
}

TEST_F(HeaderMacros, OnlyWellFormedTagsAreReplacedAndTheRestKeepsItsCase) {
    EXPECT_EQ(expand("< GETNOWDATE>"), "< GETNOWDATE>");
    EXPECT_EQ(expand("<getnowdate >"), "<getnowdate >");
    EXPECT_EQ(expand("<<GETNOWTIME>"), "<9:05:07");
    EXPECT_EQ(expand("<getnowdate"), "<getnowdate");
    EXPECT_EQ(expand("getnowdate"), "getnowdate");
    EXPECT_EQ(expand("<GETNOW>DATE>"), "<GETNOW>DATE>");
    EXPECT_EQ(expand(">getnowdate>"), ">getnowdate>");
    EXPECT_EQ(expand("<GETNOWDATEX>"), "<GETNOWDATEX>");
    EXPECT_EQ(expand("<p class=x>plain text</p>"), "<p class=x>plain text</p>");
    EXPECT_EQ(expand("<a href=\"index.html\">My Table</a>"), "<a href=\"index.html\">My Table</a>");
    EXPECT_EQ(expand("<GetNowDay2>"), "<GetNowDay2>");
    EXPECT_EQ(expand(""), "");
    // An earlier unclosed "<" stays open across a replacement, as a rescan from the start finds it.
    EXPECT_EQ(expand("<a<getnowdate>b>"), "<a1997/06/01b>");
    EXPECT_EQ(expand("x<getnowday>y<getnowday>"),
              "x" + sjis(QStringLiteral("日曜日")) + "y" + sjis(QStringLiteral("日曜日")));
}

TEST_F(HeaderMacros, DoubleByteCharactersAreNeverChanged) {
    // Ｂ is 82 61 (a second byte that is "a"); ソ is 83 5C; ｱ (B1) is a single-byte katakana.
    const QByteArray line = "a" + test::WideB + "b" + test::So +
                            "c\xB1"
                            "d<getnowdate>";
    EXPECT_EQ(expand(line), "a" + test::WideB + "b" + test::So +
                                "c\xB1"
                                "d1997/06/01");
    // A lead byte at the end of the line, or one whose second byte is a letter, is kept as it is.
    EXPECT_EQ(expand("ab\x82"), "ab\x82");
    EXPECT_EQ(expand("\x82"
                     "a\x82"
                     "a<\x82"
                     "a>"),
              "\x82"
              "a\x82"
              "a<\x82"
              "a>");
}

TEST_F(HeaderMacros, TagsAnywhereInLongLinesAreReplaced) {
    QByteArray line;
    QByteArray expected;
    for (int i = 0; i < 2000; ++i) {
        line += "text <getnowdate> ";
        expected += "text 1997/06/01 ";
    }
    line += QByteArray(300, 'z') + "<GETNOWTIME>";
    expected += QByteArray(300, 'z') + "9:05:07";
    EXPECT_EQ(expand(line), expected);
}

TEST_F(HeaderMacros, FormatsFollowTheLocale) {
    const QLocale american(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(ExpandMacros("<GETNOWDATE>", american), "6/1/97");
    // ICU puts a narrow no-break space before AM, which code page 932 cannot hold: it becomes a blank.
    EXPECT_EQ(ExpandMacros("<GETNOWTIME>", american), "9:05:07 AM");
    EXPECT_EQ(ExpandMacros("<GETNOWDAY>", american), sjis(QStringLiteral("日曜日")));
}

} // namespace
} // namespace kelvano
