#include "core/html/table_markup.h"
#include "stored_rows.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvano {
namespace {

TEST(HtmlColour, GivesRedGreenBlueFromALowRedValue) {
    EXPECT_EQ(HtmlColour(0xFFFFFF), "FFFFFF");
    EXPECT_EQ(HtmlColour(0x000000), "000000");
    EXPECT_EQ(HtmlColour(0x0080FF), "FF8000");
    EXPECT_EQ(HtmlColour(0x00FFFF), "FFFF00");
    EXPECT_EQ(HtmlColour(0xAB123456), "563412"); // the top byte is not a colour
}

TEST(FileNamePart, TakesTheTextAfterTheLastSeparatorButNeverASecondByte) {
    EXPECT_EQ(fileNamePart("C:\\pics\\apple.jpg"), "apple.jpg");
    EXPECT_EQ(fileNamePart("C:apple.jpg"), "apple.jpg");
    EXPECT_EQ(fileNamePart("/home/u/pics/apple.jpg"), "apple.jpg");
    EXPECT_EQ(fileNamePart("apple.jpg"), "apple.jpg");
    EXPECT_EQ(fileNamePart("C:\\pics\\"), "");
    EXPECT_EQ(fileNamePart(""), "");
    // The folder part ends in 表 (95 5C): its 5C is not a separator, the "\" after it is.
    EXPECT_EQ(fileNamePart("C:\\" + test::Hyo + "\\a.jpg"), "a.jpg");
    // A name made of ソ (83 5C) and 表 keeps both characters whole.
    EXPECT_EQ(fileNamePart("C:\\pics\\" + test::So + test::Hyo + ".jpg"), test::So + test::Hyo + ".jpg");
    EXPECT_EQ(fileNamePart(test::Hyo + "x.jpg"), test::Hyo + "x.jpg");
    // A lead byte before a byte that cannot close a character (":" 3A, "/" 2F, a control byte) is a
    // character of its own: the separator after it counts; a lead byte at the end is one too.
    EXPECT_EQ(fileNamePart("C:\\GRPH\\\x83:Foot"), "Foot");
    EXPECT_EQ(fileNamePart("a\x9F/b.jpg"), "b.jpg");
    EXPECT_EQ(fileNamePart("a\xFC\x1F\\c.jpg"), "c.jpg");
    EXPECT_EQ(fileNamePart("a/\x83"), "\x83");
    EXPECT_EQ(fileNamePart("C:\\" + test::Hyo + "\x83\x40.jpg"), test::Hyo + "\x83\x40.jpg");
}

TEST(TableMarkup, StartLineCarriesOnlyTheAttributesThatAreSet) {
    TableDefinition d;
    d.BorderWidth = 0;
    d.CellSpacing = 0;
    d.CellPadding = 0;
    EXPECT_EQ(TableMarkup(d, {}).startLine(), "<TABLE>");

    d.CellPadding = 3;
    EXPECT_EQ(TableMarkup(d, {}).startLine(), "<TABLE CELLPADDING=\"3\">");

    d = TableDefinition{};
    d.BorderWidth = 50;
    d.TableWidth = "640";
    d.BorderColour = "000080";
    d.LightColour = "FFFFFF";
    d.DarkColour = "808080";
    d.CellSpacing = 100;
    EXPECT_EQ(TableMarkup(d, {}).startLine(), "<TABLE BORDER=\"50\" WIDTH=\"640\" BORDERCOLOR=\"#000080\" "
                                              "CELLSPACING=\"100\" CELLPADDING=\"1\">");
    // With 3-D colours the single border colour is ignored, and each 3-D colour needs a value.
    d.Use3DColours = true;
    EXPECT_EQ(TableMarkup(d, {}).startLine(),
              "<TABLE BORDER=\"50\" WIDTH=\"640\" BORDERCOLORLIGHT=\"#FFFFFF\" BORDERCOLORDARK=\"#808080\" "
              "CELLSPACING=\"100\" CELLPADDING=\"1\">");
    d.LightColour.clear();
    d.TableWidth = "75%";
    EXPECT_EQ(TableMarkup(d, {}).startLine(),
              "<TABLE BORDER=\"50\" WIDTH=\"75%\" BORDERCOLORDARK=\"#808080\" "
              "CELLSPACING=\"100\" CELLPADDING=\"1\">");
}

TEST(TableMarkup, CaptionSitsOnTopWithoutAlignmentOrBelowWithIt) {
    TableDefinition d;
    EXPECT_EQ(TableMarkup(d, {}).captionLine(), "");
    d.CaptionText = "Price " + test::Hyo + " <B>list</B>";
    EXPECT_EQ(TableMarkup(d, {}).captionLine(), "<CAPTION>Price " + test::Hyo + " <B>list</B></CAPTION>");
    d.CaptionOnTop = false;
    EXPECT_EQ(TableMarkup(d, {}).captionLine(),
              "<CAPTION ALIGN=\"BOTTOM\">Price " + test::Hyo + " <B>list</B></CAPTION>");
}

using test::appendStoredRow;
using test::rowOf;

TEST(TableMarkup, NewDefinitionCellsAndEmptyCells) {
    TableDefinition d;
    TableRowRecord record;
    TableMarkup table(d, "grph/");
    EXPECT_EQ(rowOf(table, record), "<TR><TD BGCOLOR=\"#FFFFFF\" VALIGN=\"TOP\"><FONT COLOR=\"#000000\"><BR>"
                                    "</FONT></TD></TR>");
    d.ShowEmptyCells = false;
    TableMarkup hidden(d, "grph/");
    EXPECT_EQ(rowOf(hidden, record),
              "<TR><TD BGCOLOR=\"#FFFFFF\" VALIGN=\"TOP\"><FONT COLOR=\"#000000\"></FONT></TD></TR>");
}

TEST(TableMarkup, CellPiecesInColumnColourMode) {
    TableDefinition d;
    d.ColumnCount = 3;
    d.ColumnBackColours[0] = 0x0000FF;
    d.ColumnTextColours[0] = 0x00FF00;
    d.ColumnFontSizes[0] = 2;
    d.ColumnAlignments[0] = 4;
    d.ColumnFontSizes[1] = -1;
    d.ColumnAlignments[1] = 8;
    d.ColumnAlignments[2] = 9; // no such code: no alignment attribute
    TableRowRecord record;
    record.CellTexts[1] = "<B>sale</B>";
    record.CellPictures[1] = "C:\\pics\\left.jpg";
    record.PictureOnRight[1] = 0;
    record.CellLinks[1] = "http://x/?a=1&b=2";
    record.CellPictures[2] = "right.jpg";
    record.PictureOnRight[2] = 1;
    record.CellBackgrounds[3] = "C:\\bg\\" + test::Hyo + ".gif";
    record.CellTexts[3] = test::So;
    record.CellTexts[4] = "beyond the column count";

    TableMarkup table(d, "grph/");
    EXPECT_EQ(
        rowOf(table, record),
        "<TR>"
        "<TD BGCOLOR=\"#FF0000\" ALIGN=\"CENTER\" VALIGN=\"CENTER\"><FONT COLOR=\"#00FF00\" SIZE=\"+2\">"
        "<A HREF=\"http://x/?a=1&b=2\"><IMG SRC=\"grph/left.jpg\"><B>sale</B></A></FONT></TD>"
        "<TD BGCOLOR=\"#FFFFFF\" ALIGN=\"RIGHT\" VALIGN=\"BOTTOM\"><FONT COLOR=\"#000000\" SIZE=\"-1\">"
        "<BR><IMG SRC=\"grph/right.jpg\"></FONT></TD>"
        "<TD BACKGROUND=\"grph/" +
            test::Hyo + ".gif\"><FONT COLOR=\"#000000\">" + test::So +
            "</FONT></TD>"
            "</TR>");
}

TEST(TableMarkup, RowColourModeCyclesThroughTheRowEntries) {
    TableDefinition d;
    d.ColumnColourMode = false;
    d.RowColourMode = true;
    d.RowColourCount = 3;
    d.ColumnBackColours[0] = 0x123456; // not used in row mode
    for (int r = 0; r < 3; ++r) {
        d.RowBackColours[r] = 0x11 * (r + 1);
        d.RowTextColours[r] = 0x1100 * (r + 1);
    }
    d.ColumnFontSizes[0] = 1;
    d.ColumnAlignments[0] = 2;
    TableRowRecord record;
    record.CellTexts[1] = "x";
    record.CellBackgrounds[1] = {};

    TableMarkup table(d, {});
    QList<QByteArray> rows;
    for (int k = 0; k < 7; ++k) {
        rows.append(rowOf(table, record));
    }
    const auto rowWith = [](const char* back, const char* text) {
        return QByteArray("<TR><TD BGCOLOR=\"#") + back +
               "\" ALIGN=\"RIGHT\" VALIGN=\"TOP\"><FONT COLOR=\"#" + text +
               "\" SIZE=\"+1\">x</FONT></TD></TR>";
    };
    const QList<QByteArray> expected{rowWith("110000", "001100"), rowWith("220000", "002200"),
                                     rowWith("330000", "003300")};
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(rows[k], expected[k % 3]) << "row " << k;
    }

    // A background image replaces the row colour too.
    record.CellBackgrounds[1] = "bg.gif";
    EXPECT_EQ(rowOf(table, record), "<TR><TD BACKGROUND=\"bg.gif\" ALIGN=\"RIGHT\" VALIGN=\"TOP\"><FONT "
                                    "COLOR=\"#002200\" SIZE=\"+1\">x</FONT></TD></TR>");
}

TEST(TableMarkup, RecordsThatNoDialogWritesStillGiveWellFormedRows) {
    TableRowRecord record;
    record.CellTexts[1] = "a";

    TableDefinition both;
    both.RowColourMode = true; // and column mode: the column colours win
    both.RowBackColours[0] = 0x0000FF;
    TableMarkup bothTable(both, {});
    EXPECT_EQ(rowOf(bothTable, record),
              "<TR><TD BGCOLOR=\"#FFFFFF\" VALIGN=\"TOP\"><FONT COLOR=\"#000000\">a</FONT></TD></TR>");

    TableDefinition neither;
    neither.ColumnColourMode = false;
    neither.ColumnFontSizes[0] = 3;
    TableMarkup neitherTable(neither, {});
    EXPECT_EQ(rowOf(neitherTable, record), "<TR><TD  VALIGN=\"TOP\">a</TD></TR>");

    TableDefinition noColumns;
    noColumns.ColumnCount = 0;
    TableMarkup noColumnsTable(noColumns, {});
    EXPECT_EQ(rowOf(noColumnsTable, record), "<TR></TR>");

    TableDefinition tooMany;
    tooMany.ColumnCount = 65535;
    tooMany.ColumnColourMode = false;
    tooMany.RowColourMode = true;
    tooMany.RowColourCount = 65535; // counts as 51: the rows cycle through every entry
    tooMany.RowBackColours[50] = 0x0000FF;
    TableMarkup tooManyTable(tooMany, {});
    QByteArray row;
    for (int k = 0; k < 51; ++k) {
        row = rowOf(tooManyTable, record);
    }
    EXPECT_EQ(row.count("<TD "), 50);
    EXPECT_TRUE(row.startsWith("<TR><TD BGCOLOR=\"#FF0000\"")) << row.toStdString();
    EXPECT_TRUE(rowOf(tooManyTable, record).startsWith("<TR><TD BGCOLOR=\"#FFFFFF\""));

    TableDefinition zeroRowColours;
    zeroRowColours.ColumnColourMode = false;
    zeroRowColours.RowColourMode = true;
    zeroRowColours.RowColourCount = 0; // counts as 1
    zeroRowColours.RowBackColours[1] = 0x0000FF;
    TableMarkup zeroTable(zeroRowColours, {});
    EXPECT_EQ(rowOf(zeroTable, record), rowOf(zeroTable, record));
    EXPECT_TRUE(rowOf(zeroTable, record).startsWith("<TR><TD BGCOLOR=\"#FFFFFF\""));
}

TEST(TableMarkup, HeadingCellsAreThWithTheirScopeAndTheScrollLinesFrameTheTable) {
    TableDefinition d;
    d.ColumnCount = 2;
    TableRowRecord row;
    row.CellTexts[1] = "a";
    row.CellTexts[2] = "b";
    const QByteArray td1 = R"(<TD BGCOLOR="#FFFFFF" VALIGN="TOP"><FONT COLOR="#000000">a</FONT></TD>)";
    const QByteArray td2 = R"(<TD BGCOLOR="#FFFFFF" VALIGN="TOP"><FONT COLOR="#000000">b</FONT></TD>)";
    const QByteArray row1 =
        R"(<TH SCOPE="ROW" BGCOLOR="#FFFFFF" VALIGN="TOP"><FONT COLOR="#000000">a</FONT></TH>)";
    const QByteArray col1 =
        R"(<TH SCOPE="COL" BGCOLOR="#FFFFFF" VALIGN="TOP"><FONT COLOR="#000000">a</FONT></TH>)";
    const QByteArray col2 =
        R"(<TH SCOPE="COL" BGCOLOR="#FFFFFF" VALIGN="TOP"><FONT COLOR="#000000">b</FONT></TH>)";
    const auto twoRows = [&](const TableDefinition& definition) {
        TableMarkup markup(definition, {});
        QByteArray out;
        appendStoredRow(markup, out, row);
        out += '|';
        appendStoredRow(markup, out, row);
        return out;
    };

    EXPECT_EQ(twoRows(d), "<TR>" + td1 + td2 + "</TR>|<TR>" + td1 + td2 + "</TR>");
    d.FirstColumnHeadings = true;
    EXPECT_EQ(twoRows(d), "<TR>" + row1 + td2 + "</TR>|<TR>" + row1 + td2 + "</TR>");
    d.FirstRowHeadings = true;
    // The heading row makes the table's head, and the next row opens its body.
    EXPECT_EQ(twoRows(d), "<THEAD><TR>" + col1 + col2 + "</TR></THEAD>|<TBODY><TR>" + row1 + td2 + "</TR>");
    d.FirstColumnHeadings = false;
    EXPECT_EQ(twoRows(d), "<THEAD><TR>" + col1 + col2 + "</TR></THEAD>|<TBODY><TR>" + td1 + td2 + "</TR>");

    // Without colours the cell keeps its blank before the alignment, as a TD does.
    d.ColumnColourMode = false;
    TableMarkup plain(d, {});
    QByteArray out;
    appendStoredRow(plain, out, row);
    EXPECT_TRUE(out.startsWith(R"(<THEAD><TR><TH SCOPE="COL"  VALIGN="TOP">a</TH>)")) << out.toStdString();

    EXPECT_EQ(TableMarkup(d, {}).scrollStartLine(), "");
    EXPECT_EQ(TableMarkup(d, {}).scrollEndLine(), "");
    d.ScrollOnSmallScreens = true;
    EXPECT_EQ(TableMarkup(d, {}).scrollStartLine(), R"(<DIV STYLE="overflow-x:auto">)");
    EXPECT_EQ(TableMarkup(d, {}).scrollEndLine(), "</DIV>");
}

} // namespace
} // namespace kelvano
