#include "core/html/header_macros.h"
#include "core/html/html5_table_markup.h"
#include "core/html/picture_sizes.h"
#include "stored_rows.h"
#include "support/temp_folder.h"

#include <QImage>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::rowOf;

TEST(TableStyle, TheStyleBlockHoldsTheTableColumnsAndRowPlacesAndTheCellsNoStyle) {
    TableDefinition d;
    d.ColumnCount = 2;
    d.ColumnBackColours[0] = 0x0000FF;
    d.ColumnTextColours[0] = 0x00FF00;
    d.ColumnFontSizes[0] = 1;
    d.ColumnAlignments[1] = 9; // none
    d.ColumnBackColours[1] = 0x000000;
    d.FirstRowHeadings = true;
    d.StickyHeading = true;
    d.ScrollOnSmallScreens = true;
    Html5TableMarkup table(d, "grph/", PageEncoding::ShiftJis);
    EXPECT_EQ(table.styleSheet(), "<style>.kelvano{border:1px outset;border-spacing:2px;line-break:strict}"
                                  ".kelvano>*>tr>*{border:1px inset;padding:1px}"
                                  ".kelvano>*>tr>:nth-child(1){background-color:#FF0000;vertical-align:top}"
                                  ".kelvano>*>tr>:nth-child(1)>span{color:#00FF00;font-size:large}"
                                  ".kelvano>*>tr>:nth-child(2){background-color:#000000}"
                                  ".kelvano>*>tr>:nth-child(2)>span{color:#000000}"
                                  ".kelvano>thead{position:sticky;top:0}"
                                  ".kelvano-scroll{overflow-x:auto;max-height:100vh}"
                                  "@media print{.kelvano-scroll{overflow:visible;max-height:none}}</style>");
    EXPECT_EQ(table.startLine(), "<table class=\"kelvano\">");
    EXPECT_EQ(table.scrollStartLine(), "<div class=\"kelvano-scroll\">");
    TableRowRecord record;
    record.CellTexts[1] = "a";
    record.CellBackgrounds[2] = "C:\\bg\\tile 1.gif";
    EXPECT_EQ(rowOf(table, record), "<thead><tr><th scope=\"col\"><span>a</span></th><th scope=\"col\" "
                                    "style=\"background:url('grph/tile%201.gif')\"><span><br></span></th>"
                                    "</tr></thead>");
    record.CellBackgrounds[2].clear();
    EXPECT_EQ(rowOf(table, record), "<tbody><tr><td><span>a</span></td><td><span><br></span></td></tr>");
}

TEST(TableStyle, RowColoursGoByPlaceSoThatTheyHoldAfterASort) {
    TableDefinition d;
    d.BorderWidth = 0;
    d.CellPadding = 0;
    d.CellSpacing = 0;
    d.ColumnColourMode = false;
    d.RowColourMode = true;
    d.RowColourCount = 3;
    for (int r = 0; r < 3; ++r) {
        d.RowBackColours[r] = 0x11u * (r + 1);
        d.RowTextColours[r] = 0x1100u * (r + 1);
    }
    d.ColumnFontSizes[0] = -1;
    const auto rules = [](const char* row, const char* back, const char* text) {
        return QByteArray(row) + "*{background-color:#" + back + '}' + row + "*>span{color:#" + text + '}';
    };
    // Without a heading row, data row k is body row k + 1.
    EXPECT_EQ(Html5TableMarkup(d, {}, PageEncoding::Utf8).styleSheet(),
              "<style>.kelvano{line-break:strict}.kelvano>*>tr>:nth-child(1){vertical-align:top}"
              ".kelvano>*>tr>:nth-child(1)>span{font-size:small}" +
                  rules(".kelvano>tbody>tr:nth-child(3n+1)>", "110000", "001100") +
                  rules(".kelvano>tbody>tr:nth-child(3n+2)>", "220000", "002200") +
                  rules(".kelvano>tbody>tr:nth-child(3n+3)>", "330000", "003300") + "</style>");
    // With one, the head's row takes colour 0 and body row j colour j mod 3.
    d.FirstRowHeadings = true;
    d.SortByHeading = true;
    Html5TableMarkup headed(d, {}, PageEncoding::Utf8);
    const QByteArray sheet = headed.styleSheet();
    EXPECT_TRUE(sheet.contains(rules(".kelvano>tbody>tr:nth-child(3n+3)>", "110000", "001100")));
    EXPECT_TRUE(sheet.contains(rules(".kelvano>thead>tr>", "110000", "001100")));
    EXPECT_TRUE(sheet.contains(rules(".kelvano>tbody>tr:nth-child(3n+1)>", "220000", "002200")));
    EXPECT_TRUE(headed.scriptLine().endsWith("(1,0,0)</script>")) << "the style sheet keeps the stripes";
    EXPECT_TRUE(Html5TableMarkup(d, {}, PageEncoding::Utf8).scriptLine().endsWith("(1,0,3)</script>"));
    // One row colour for every row.
    d.RowColourCount = 1;
    EXPECT_TRUE(Html5TableMarkup(d, {}, PageEncoding::Utf8)
                    .styleSheet()
                    .endsWith(rules(".kelvano>*>tr>", "110000", "001100") + "</style>"));
}

TEST(TableStyle, TheTagIsReplacedInAnyCaseEveryTimeAndOtherLinesStay) {
    int made = 0;
    const auto block = [&made] {
        ++made;
        return QByteArray("<style></style>");
    };
    EXPECT_EQ(ExpandTableStyle("<title>x</title>", block), "<title>x</title>");
    EXPECT_EQ(made, 0) << "no block is made for a header without the tag";
    EXPECT_EQ(ExpandTableStyle(" <TableStyle>a<tablestyle>", block), " <style></style>a<style></style>");
    EXPECT_EQ(made, 1);
    EXPECT_EQ(ExpandTableStyle("<TABLESTYLE <TABLESTYLE", block), "<TABLESTYLE <TABLESTYLE");
    EXPECT_EQ(ExpandTableStyle("<<TABLESTYLE>>", block), "<<style></style>>");
}

TEST(PictureSizes, TheHeadersOfJpegPngGifAndBmpGiveTheSizeAndOthersNone) {
    test::TempFolder folder;
    // Qt writes no GIF: its header is written here.
    folder.write(QStringLiteral("a.gif"), QByteArray("GIF89a\x25\x00\x05\x00\x00\x00\x00", 13));
    EXPECT_EQ(pictureFileSize(folder.file(QStringLiteral("a.gif"))), QSize(37, 5));
    for (const char* format : {"jpg", "png", "bmp"}) {
        QImage image(37, 5, QImage::Format_RGB32);
        image.fill(Qt::red);
        const QString name = QStringLiteral("a.") + QLatin1String(format);
        ASSERT_TRUE(image.save(folder.file(name), format)) << format;
        EXPECT_EQ(pictureFileSize(folder.file(name)), QSize(37, 5)) << format;
    }
    // A JPEG whose frame header follows other segments, one with fill bytes before its marker.
    const QByteArray jpeg = test::hexBytes("FFD8 FFE0 0004 0000 FFFF FFFE 0003 00 FFC2 0011 08 0100 0280");
    folder.write(QStringLiteral("late.jpg"), jpeg);
    EXPECT_EQ(pictureFileSize(folder.file(QStringLiteral("late.jpg"))), QSize(0x280, 0x100));
    // Cut before the frame, or a zero size: no size.
    folder.write(QStringLiteral("cut.jpg"), jpeg.first(jpeg.size() - 4));
    EXPECT_EQ(pictureFileSize(folder.file(QStringLiteral("cut.jpg"))), std::nullopt);
    folder.write(QStringLiteral("zero.gif"), QByteArray("GIF89a\x00\x00\x05\x00", 10));
    EXPECT_EQ(pictureFileSize(folder.file(QStringLiteral("zero.gif"))), std::nullopt);
    folder.write(QStringLiteral("text.png"), "not a picture at all, not at all");
    EXPECT_EQ(pictureFileSize(folder.file(QStringLiteral("text.png"))), std::nullopt);
    EXPECT_EQ(pictureFileSize(folder.file(QStringLiteral("missing.jpg"))), std::nullopt);

    // In a page: a picture found in the image folder gets its size, a missing one none.
    PictureSizes sizes(folder.path() + QLatin1Char('/'));
    TableDefinition d;
    d.ColumnCount = 2;
    d.ColumnColourMode = false;
    d.ColumnAlignments.fill(9);
    d.BorderWidth = 0;
    d.CellPadding = 0;
    Html5TableMarkup table(d, {}, PageEncoding::ShiftJis);
    table.setPictureSizes(&sizes);
    TableRowRecord record;
    record.CellPictures[1] = "C:\\pics\\a.png";
    record.CellPictures[2] = "C:\\pics\\missing.jpg";
    EXPECT_EQ(rowOf(table, record), "<tr><td><br><img src=\"a.png\" alt=\"a\" width=\"37\" height=\"5\"></td>"
                                    "<td><br><img src=\"missing.jpg\" alt=\"missing\"></td></tr>");
}

} // namespace
} // namespace kelvano
