#include "core/html/html5_table_markup.h"
#include "stored_rows.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::rowOf;

TEST(Html5TableMarkup, TableLinesGiveEveryTableValueAsCss) {
    TableDefinition d;
    Html5TableMarkup plain(d, {}, PageEncoding::ShiftJis);
    EXPECT_EQ(plain.startLine(), "<table style=\"border:1px outset;border-spacing:2px\">");
    EXPECT_EQ(plain.endLine(), "</table>");
    EXPECT_EQ(plain.scrollStartLine(), "");
    EXPECT_EQ(plain.captionLine(), "");

    // Zero spacing and padding are left to the browser's defaults, as the classic markup does.
    d.BorderWidth = 0;
    d.CellSpacing = 0;
    d.CellPadding = 0;
    d.ScrollOnSmallScreens = true;
    d.CaptionText = "<b>" + test::Hyo + "</b>";
    d.CaptionOnTop = false;
    d.BorderColour = "000080"; // no border, so no colour either
    Html5TableMarkup bare(d, {}, PageEncoding::ShiftJis);
    EXPECT_EQ(bare.startLine(), "<table>");
    EXPECT_EQ(bare.scrollStartLine(), "<div style=\"overflow-x:auto\">");
    EXPECT_EQ(bare.scrollEndLine(), "</div>");
    EXPECT_EQ(bare.captionLine(),
              "<caption style=\"caption-side:bottom\"><b>" + test::Hyo + "</b></caption>");

    d.BorderWidth = 5;
    d.TableWidth = "640";
    d.CellSpacing = 7;
    EXPECT_EQ(Html5TableMarkup(d, {}, PageEncoding::ShiftJis).startLine(),
              "<table style=\"border:5px solid #000080;width:640px;border-spacing:7px\">");
    // The light colour lights the table's top and left edges and the cells' lower and right ones.
    d.Use3DColours = true;
    d.LightColour = "FFFFFF";
    d.DarkColour.clear();
    d.TableWidth = "75%";
    EXPECT_EQ(Html5TableMarkup(d, {}, PageEncoding::ShiftJis).startLine(),
              "<table style=\"border:5px solid;border-color:#FFFFFF gray gray #FFFFFF;width:75%;"
              "border-spacing:7px\">");
    d.TableWidth = "x9";
    d.CellPadding = 4;
    d.ColumnColourMode = false;
    Html5TableMarkup threeD(d, {}, PageEncoding::ShiftJis);
    EXPECT_EQ(threeD.startLine(),
              "<table style=\"border:5px solid;border-color:#FFFFFF gray gray #FFFFFF;border-spacing:7px\">");
    EXPECT_EQ(rowOf(threeD, TableRowRecord{}),
              "<tr><td style=\"border:1px solid;border-color:gray #FFFFFF #FFFFFF gray;padding:4px;"
              "vertical-align:top\"><br></td></tr>");
}

TEST(Html5TableMarkup, AStoredColourThatIsNoCssColourIsWrittenAsBrowsersReadTheClassicAttribute) {
    TableDefinition d;
    d.BorderWidth = 2;
    const std::pair<QByteArray, QByteArray> colours[] = {
        {"FF0000", "#FF0000"}, // six hex digits and three stay as they are
        {"abc", "#abc"},
        {"red", "#000e0d"},           // "#red": r read as 0, then the hex digits e and d
        {"ABCD", "#abcd00"},          // four digits are padded to six, not CSS's #RGBA
        {"#FF0000", "#ff0000"},       // "##FF0000": the second "#" a 0, the leading zeros dropped
        {"FF0000 ", "#ff0000"},       // white space at the end is not read
        {"1234567890", "#125690"},    // parts of four digits: their first two each
        {"0", "#000000"},             // padded to 000
        {test::Hyo + "1", "#000100"}, // one character, however many bytes, is one 0: "010"
    };
    for (const auto& [stored, css] : colours) {
        d.BorderColour = stored;
        EXPECT_EQ(Html5TableMarkup(d, {}, PageEncoding::ShiftJis).startLine(),
                  "<table style=\"border:2px solid " + css + ";border-spacing:2px\">")
            << stored.toStdString();
    }
}

TEST(Html5TableMarkup, CellsCarryColoursSizesAlignmentsPicturesAndLinks) {
    TableDefinition d;
    d.ColumnCount = 3;
    d.FirstRowHeadings = true;
    d.FirstColumnHeadings = true;
    d.ColumnBackColours[0] = 0x0000FF;
    d.ColumnTextColours[0] = 0x00FF00;
    d.ColumnFontSizes[0] = 2;
    d.ColumnAlignments[0] = 4;
    d.ColumnFontSizes[1] = -5; // below size 1: size 1
    d.ColumnAlignments[1] = 8;
    d.ColumnFontSizes[2] = 9; // above size 7: size 7
    d.ColumnAlignments[2] = 9;
    TableRowRecord record;
    record.CellTexts[1] = "<B>sale</B>";
    record.CellPictures[1] = "C:\\my pics\\left side.jpg";
    record.CellLinks[1] = "http://x/a b.cgi?a=1&b=2&amp;c=3";
    record.CellPictures[2] = "\"a&b\".png";
    record.PictureOnRight[2] = 1;
    record.CellBackgrounds[3] = "C:\\bg\\" + test::Hyo + "(1).gif";
    record.CellTexts[3] = test::So;

    Html5TableMarkup table(d, "grph/", PageEncoding::ShiftJis);
    const QByteArray secondRow =
        "<tr><th scope=\"row\" style=\"border:1px inset;padding:1px;background-color:#FF0000;"
        "text-align:center;vertical-align:middle\"><span style=\"color:#00FF00;font-size:x-large\">"
        "<a href=\"http://x/a%20b.cgi?a=1&amp;b=2&amp;c=3\"><img src=\"grph/left%20side.jpg\" alt=\"left "
        "side\">"
        "<B>sale</B></a></span></th>"
        "<td style=\"border:1px inset;padding:1px;background-color:#FFFFFF;text-align:right;"
        "vertical-align:bottom\"><span style=\"color:#000000;font-size:x-small\"><br>"
        "<img src=\"grph/%22a%26b%22.png\" alt=\"&quot;a&amp;b&quot;\"></span></td>"
        "<td style=\"border:1px inset;padding:1px;background-image:url('grph/%E8%A1%A8%281%29.gif')\"><span "
        "style=\"color:#000000;font-size:xxx-large\">" +
        test::So + "</span></td></tr>";
    QByteArray firstRow = secondRow;
    firstRow.replace("<th scope=\"row\"", "<th scope=\"col\"")
        .replace("<td", "<th scope=\"col\"")
        .replace("</td>", "</th>")
        .replace("<tr>", "<thead><tr>")
        .append("</thead>");
    EXPECT_EQ(rowOf(table, record), firstRow);
    EXPECT_EQ(rowOf(table, record), "<tbody>" + secondRow);
    EXPECT_EQ(rowOf(table, record), secondRow);
    EXPECT_EQ(table.endLine(), "</tbody></table>");

    // In a UTF-8 page a non-ASCII path is percent-encoded as UTF-8 (表 is E8 A1 A8).
    EXPECT_EQ(urlOfPath("grph/" + test::Hyo + "(1).gif", PageEncoding::Utf8, true),
              "grph/%E8%A1%A8%281%29.gif");
    EXPECT_EQ(urlOfPath("a%41b%zz?x#y", PageEncoding::ShiftJis, true), "a%41b%25zz%3Fx%23y");
    EXPECT_EQ(urlOfPath("a.cgi?x=1#y&#65;", PageEncoding::ShiftJis, false), "a.cgi?x=1#y&#65;");
}

TEST(Html5TableMarkup, RowColoursCycleAndNoColourModeLeavesTheSpanOut) {
    TableDefinition d;
    d.BorderWidth = 0;
    d.CellPadding = 0;
    d.ColumnColourMode = false;
    d.RowColourMode = true;
    d.RowColourCount = 2;
    d.RowBackColours[1] = 0x00FFFF;
    d.RowTextColours[1] = 0x0000FF;
    d.ColumnAlignments[0] = 3;
    d.ShowEmptyCells = false;
    Html5TableMarkup table(d, {}, PageEncoding::ShiftJis);
    TableRowRecord record;
    record.CellTexts[1] = "x";
    EXPECT_EQ(
        rowOf(table, record),
        "<tr><td style=\"background-color:#FFFFFF;vertical-align:middle\"><span style=\"color:#000000\">x"
        "</span></td></tr>");
    // An empty cell drawn without a line break holds nothing, not even an empty span.
    EXPECT_EQ(rowOf(table, {}),
              "<tr><td style=\"background-color:#FFFF00;vertical-align:middle\"></td></tr>");
    d.RowColourMode = false;
    d.ColumnAlignments[0] = 0;
    Html5TableMarkup none(d, {}, PageEncoding::ShiftJis);
    EXPECT_EQ(rowOf(none, {}), "<tr><td style=\"vertical-align:top\"></td></tr>");
}

} // namespace
} // namespace kelvano
