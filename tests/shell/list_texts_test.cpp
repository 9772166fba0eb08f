#include "core/shell/list_texts.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvano {
namespace {

TEST(ListTexts, SizeIsWholeKilobytesPlusOneRightAlignedInEight) {
    EXPECT_EQ(ListTexts::sizeText(0), QStringLiteral("       1KB"));
    EXPECT_EQ(ListTexts::sizeText(1023), QStringLiteral("       1KB"));
    EXPECT_EQ(ListTexts::sizeText(1024), QStringLiteral("       2KB"));
    EXPECT_EQ(ListTexts::sizeText(10 * 1024 * 1024 - 1), QStringLiteral("   10240KB"));
    EXPECT_EQ(ListTexts::sizeText(qint64(5) * 1024 * 1024 * 1024), QStringLiteral(" 5242881KB"));
    EXPECT_EQ(ListTexts::sizeText(qint64(200) * 1024 * 1024 * 1024 * 1024), QStringLiteral("214748364801KB"));
}

TEST(ListTexts, DateIsLocalTimeYearFirstWithTwoDigitYears) {
    const QDateTime lastWrite(QDate(1997, 12, 31), QTime(23, 59, 30));
    EXPECT_EQ(ListTexts::dateText(lastWrite), QStringLiteral("97/12/31 23:59"));
    EXPECT_EQ(ListTexts::dateText(QDateTime(QDate(2005, 1, 2), QTime(3, 4, 59))),
              QStringLiteral("05/01/02 03:04"));
    EXPECT_EQ(ListTexts::dateText(lastWrite.toUTC()), QStringLiteral("97/12/31 23:59"))
        << "shown in local time";
    EXPECT_EQ(ListTexts::dateText(QDateTime()), QString());
}

TEST(ListTexts, ExtensionAndUpperCasing) {
    EXPECT_EQ(ListTexts::extensionOf(u"/a/b/photo.jpg.bak"), QStringLiteral(".bak"));
    EXPECT_EQ(ListTexts::extensionOf(u"/a/dir.d/noext"), QString())
        << "a dot in a folder name does not count";
    EXPECT_EQ(ListTexts::extensionOf(u"/a/.hidden"), QStringLiteral(".hidden"));
    EXPECT_EQ(ListTexts::upperAscii(u"photo.jpgｊé"), QStringLiteral("PHOTO.JPGｊé"));
}

TEST(ListTexts, MaskListsMatchingExtensionsInAnyCaseAndEveryFolder) {
    const QStringList jpg{QStringLiteral(".JPG")};
    EXPECT_TRUE(ListTexts::passesMask(jpg, u"/p/photo.jpg", false));
    EXPECT_TRUE(ListTexts::passesMask(jpg, u"/p/PHOTO.JPG", false));
    EXPECT_TRUE(ListTexts::passesMask(jpg, u"/p/Photo.Jpg", false));
    EXPECT_FALSE(ListTexts::passesMask(jpg, u"/p/photo.jpeg", false));
    EXPECT_FALSE(ListTexts::passesMask(jpg, u"/p/photo.jpg.bak", false));
    EXPECT_FALSE(ListTexts::passesMask(jpg, u"/p/photo", false));
    EXPECT_FALSE(ListTexts::passesMask(jpg, u"/p/x.jpg/photo", false));
    EXPECT_TRUE(ListTexts::passesMask(jpg, u"/p/folder", true));
    EXPECT_TRUE(ListTexts::passesMask({}, u"/p/anything.bak", false));
    EXPECT_TRUE(ListTexts::passesMask({QStringLiteral(".gif"), QStringLiteral(".jpeg")}, u"/p/a.JPEG", false))
        << "entries are upper-cased too";
    EXPECT_FALSE(ListTexts::passesMask({QStringLiteral("")}, u"/p/noext", false))
        << "an item without extension never matches, not even an empty entry";
}

} // namespace
} // namespace kelvano
