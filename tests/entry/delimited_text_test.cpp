#include "core/table/cell_text_import.h"
#include "core/table/delimited_text.h"
#include "core/table/table_layers.h"
#include "core/table/text_collation.h"
#include "support/temp_folder.h"
#include "words/table_words.h"

#include <gtest/gtest.h>

namespace kelvano {
namespace {

using Records = QList<QByteArrayList>;

TEST(DelimitedText, ParsesQuotingLineBreaksAndEveryLineEnd) {
    // Quoted separators, doubled quotes, CR LF / LF / CR inside quotes, empty fields and an empty line.
    const QByteArray csv = "a,\"b,c\",\"say \"\"hi\"\"\"\r\n"
                           "\"two\r\nlines\",,\"x\ny\"\n"
                           "\r"
                           "last,\"\"\r\n";
    EXPECT_EQ(DelimitedText::parse(csv, ','),
              (Records{{"a", "b,c", "say \"hi\""}, {"two\r\nlines", "", "x\ny"}, {""}, {"last", ""}}));
    // No line end after the last record; stray quotes inside and after fields are kept; an open quote runs
    // on.
    EXPECT_EQ(DelimitedText::parse("5\"6,\"q\"x\t;,\"open,\nend", ','),
              (Records{{"5\"6", "qx\t;", "open,\nend"}}));
    EXPECT_EQ(DelimitedText::parse("", ','), Records{});
    EXPECT_EQ(DelimitedText::parse("\t\n", '\t'), (Records{{"", ""}}));
    // Shift-JIS second bytes never look like separators or quotes.
    EXPECT_EQ(DelimitedText::parse(test::So + "\t" + test::Hyo + "\n", '\t'),
              (Records{{test::So, test::Hyo}}));
}

TEST(DelimitedText, WritesFieldsQuotedOnlyWhereNeeded) {
    const Records records{{"plain", "a,b", "q\"", "cr\r", "lf\n", "tab\t", "semi;"}, {"", ""}};
    EXPECT_EQ(DelimitedText::format(records, ',', "\r\n"),
              QByteArray("plain,\"a,b\",\"q\"\"\",\"cr\r\",\"lf\n\",tab\t,semi;\r\n,\r\n"));
    // The clipboard form: tabs, quotes where a text holds a tab, a quote or a line break; no last line end.
    EXPECT_EQ(DelimitedText::format(records, '\t', "\n", false),
              QByteArray("plain\ta,b\t\"q\"\"\"\t\"cr\r\"\t\"lf\n\"\t\"tab\t\"\tsemi;\n\t"));
    for (const char separator : {',', '\t', ';'}) {
        EXPECT_EQ(DelimitedText::parse(DelimitedText::format(records, separator, "\r\n"), separator),
                  records);
    }
}

TEST(DelimitedText, DetectsEncodingAndSeparator) {
    const auto detect = [](const QByteArray& bytes) {
        const DelimitedFormat format = DelimitedText::detect(bytes);
        return std::tuple(format.encoding, format.byteOrderMark, format.separator);
    };
    EXPECT_EQ(detect("\xEF\xBB\xBF"
                     "a,b\r\n"),
              std::tuple(TextEncoding::Utf8, true, ','));
    EXPECT_EQ(detect("\xE8\xA1\xA8\tb\n"), std::tuple(TextEncoding::Utf8, false, '\t')); // 表 in UTF-8
    EXPECT_EQ(detect(test::Hyo + ";x;y\n1;2;3\n"), std::tuple(TextEncoding::ShiftJis, false, ';'));
    EXPECT_EQ(detect("single\n"), std::tuple(TextEncoding::Utf8, false, ','));
    // Commas inside quotes do not count: counted, they would tie with the semicolons and win as the first.
    EXPECT_EQ(detect("\"1,5\";x\n\"2,5\";y\n"), std::tuple(TextEncoding::Utf8, false, ';'));
    // An even split beats an uneven one of as many separators.
    EXPECT_EQ(detect("a;b,c,d\ne;f\n"), std::tuple(TextEncoding::Utf8, false, ';'));
    EXPECT_EQ(detect("a,b;c\nd,e\n"), std::tuple(TextEncoding::Utf8, false, ','));
    EXPECT_EQ(DelimitedText::withoutByteOrderMark("\xEF\xBB\xBF"
                                                  "x"),
              QByteArrayView("x"));
}

TEST(CellTextImport, ConvertsCutsAndReportsWhatCannotBeStored) {
    const QByteArray longUtf8 = QByteArray(249, 'x') + "\xE8\xA1\xA8"; // 249 + one double-byte character
    const Records records{{"\xE8\xA1\xA8", "\xF0\x9F\x98\x80", longUtf8, "drop", ""}, {"ok"}};
    const CellTextImport imported = importCellTexts(records, TextEncoding::Utf8, 3, 250);
    ASSERT_EQ(imported.rows.size(), 2);
    EXPECT_EQ(imported.rows[0][0], std::optional<QByteArray>(test::Hyo));
    EXPECT_EQ(imported.rows[0][1], std::nullopt);
    EXPECT_EQ(imported.rows[0][2], std::optional<QByteArray>(QByteArray(249, 'x'))); // not half a character
    EXPECT_EQ(imported.rows[1].size(), 1);
    EXPECT_EQ(imported.droppedColumns, 2);
    EXPECT_EQ(imported.droppedFields, 1);
    EXPECT_EQ(imported.cutCells, QList<QPoint>{QPoint(2, 0)});
    EXPECT_EQ(imported.unencodableCells, QList<QPoint>{QPoint(1, 0)});
    EXPECT_EQ(imported.unencodable, QStringLiteral("\U0001F600"));
    EXPECT_EQ(Messages::cellNames(imported.unencodableCells, 4, 1), QStringLiteral("行5 列3"));
    EXPECT_EQ(Messages::cellNames({QPoint(0, 0), QPoint(1, 0), QPoint(2, 0)}, 0, 0, 2),
              QStringLiteral("行1 列1、行1 列2 ほか1セル"));
    // Shift-JIS fields are taken byte for byte.
    EXPECT_EQ(importCellTexts({{test::So}}, TextEncoding::ShiftJis, 1, 250).rows[0][0],
              std::optional<QByteArray>(test::So));
}

TEST(NumericSort, OrdersDigitsByValueWithEmptyCellsLastBothWays) {
    const TextCollation numeric(QStringLiteral("ja_JP"), TextCollation::Digits::Numeric);
    EXPECT_LT(numeric.compare("9", "98"), 0);
    EXPECT_LT(numeric.compare("98", "120"), 0);
    EXPECT_LT(numeric.compare("item2", "item10"), 0);

    TableLayers layers(2);
    const QByteArrayList keys{"120", "", "9", "98", "", "9"};
    TableRow row(2);
    for (int i = 0; i < keys.size(); ++i) {
        row[0].text = keys[i];
        row[1].text = QByteArray::number(i);
        layers.appendRow(row);
    }
    layers.removeRow(0);
    // Equal keys and empty cells keep their order in both directions.
    EXPECT_EQ(layers.sortOrderEmptyLast(0, Qt::AscendingOrder, numeric),
              (std::vector<int>{2, 5, 3, 0, 1, 4}));
    EXPECT_EQ(layers.sortOrderEmptyLast(0, Qt::DescendingOrder, numeric),
              (std::vector<int>{0, 3, 2, 5, 1, 4}));
    // The existing sort stays textual with the empty key first.
    EXPECT_EQ(layers.sortOrder(0, Qt::AscendingOrder, TextCollation(QStringLiteral("ja_JP"))),
              (std::vector<int>{1, 4, 0, 2, 5, 3}));
}

TEST(TableLayers, ReplacingAndPermutingRowsKeepsEveryLayerAndHiddenColumns) {
    TableLayers layers(2);
    TableRowRecord stored;
    stored.CellTexts[1] = "a";
    stored.CellPictures[2] = "p.jpg";
    stored.CellTexts[5] = "hidden";
    stored.PictureOnRight[2] = 0;
    layers.appendRecord(stored);
    layers.removeRow(0);
    const QByteArray before = layers.record(0).encode();
    const std::vector<TableLayers::Row> original = layers.rows(0, 1);

    // Texts replaced from column 1: column 0 and the hidden column stay; nullopt keeps a text.
    TableLayers::Row changed =
        layers.withTexts(layers.rows(0, 1).front(), 1, {QByteArray("b"), QByteArray("c")});
    ASSERT_TRUE(layers.replaceRows(0, 1, {changed, TableLayers::Row{}}));
    EXPECT_EQ(layers.rowCount(), 2);
    EXPECT_EQ(layers.cell(0, 1), (TableCell{"b", "p.jpg", "", "LEFT", ""}));
    EXPECT_EQ(layers.record(0).CellTexts[5], "hidden");
    layers.permuteRows({1, 0});
    EXPECT_EQ(layers.text(1, 0), "a");
    layers.permuteRows({0, 0}); // not a permutation: nothing moves
    EXPECT_EQ(layers.text(1, 0), "a");

    // Replacing every row by none leaves one empty row; the row limit is kept.
    ASSERT_TRUE(layers.replaceRows(0, 2, {}));
    EXPECT_EQ(layers.rowCount(), 1);
    EXPECT_EQ(layers.row(0), TableRow(2));
    EXPECT_FALSE(layers.replaceRows(1, 0, std::vector<TableLayers::Row>(TableLayers::MaxRows)));
    // Rows taken out come back byte for byte.
    ASSERT_TRUE(layers.replaceRows(0, 1, original));
    EXPECT_EQ(layers.record(0).encode(), before);
}

} // namespace
} // namespace kelvano
