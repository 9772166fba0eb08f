#include "core/text/text_edits.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvano::StringUtil {
namespace {

TEST(TextEdits, BlanksTabsCommasAndYenSignsAreRemoved) {
    EXPECT_EQ(strclear(" a\tb  c\t"), "abc");
    EXPECT_EQ(strclear(test::WideB + " " + test::So), test::WideB + test::So);
    EXPECT_EQ(yencut("\\1,234,567"), "1234567");
    EXPECT_EQ(yencut(",\\,"), "");
}

TEST(TextEdits, YencutKeepsDoubleByteCharactersWhoseSecondByteLooksLikeAYenSign) {
    EXPECT_EQ(yencut(test::So + "\\1,000" + test::Hyo), test::So + "1000" + test::Hyo);
    EXPECT_EQ(yencut(test::Hyo + test::So), test::Hyo + test::So);
    // A lead byte at the very end has no second byte; it is kept as it is.
    EXPECT_EQ(yencut("1,0\x83"), "10\x83");
}

TEST(TextEdits, PrefixesCompareBytesExactly) {
    EXPECT_TRUE(strcheck("abcdef", "abc"));
    EXPECT_TRUE(strcheck("abc", ""));
    EXPECT_TRUE(strcheck("", ""));
    EXPECT_FALSE(strcheck("ab", "abc"));
    EXPECT_FALSE(strcheck("Abc", "abc"));
    EXPECT_TRUE(strcheck(test::So + "x", test::So));
    EXPECT_FALSE(strcheck(test::Hyo, test::So));

    EXPECT_EQ(strget("abcdef", "xyz"), "def"); // only the prefix's length counts
    EXPECT_EQ(strget("abc", "abc"), "");
    EXPECT_EQ(strget("ab", "abc"), "");
    EXPECT_EQ(strget(test::So + "x", "a"), "\x5cx"); // sizes count bytes
}

TEST(TextEdits, PaddingAddsAtMostEightyBlanksAndNeverCuts) {
    EXPECT_EQ(spastr("ab", 5), "ab   ");
    EXPECT_EQ(spastr2("ab", 5), "   ab");
    EXPECT_EQ(spastr("", 100), QByteArray(80, ' '));
    EXPECT_EQ(spastr2("", 255), QByteArray(80, ' '));
    EXPECT_EQ(spastr("x", 81), "x" + QByteArray(80, ' '));
    EXPECT_EQ(spastr("twelve chars", 5), "twelve chars");
    EXPECT_EQ(spastr("abc", 0), "abc");
    EXPECT_EQ(spastr(test::So, 3), test::So + " ");
}

TEST(TextEdits, FolderTextsEndWithOneSeparator) {
    EXPECT_EQ(AddEndPath(QByteArrayView("/data/")), "/data/");
    EXPECT_EQ(AddEndPath(QByteArrayView("/data")), "/data/");
    EXPECT_EQ(AddEndPath(QByteArrayView("")), "");
    EXPECT_EQ(AddEndPath(QByteArrayView("/")), "/");
    EXPECT_EQ(AddEndPath(QByteArray("/data/") + test::So), "/data/" + test::So + "/");
    EXPECT_EQ(AddEndPath(QStringLiteral("/データ")), QStringLiteral("/データ/"));
    EXPECT_EQ(AddEndPath(QString()), QString());
}

} // namespace
} // namespace kelvano::StringUtil
