#include "core/table/table_layers.h"
#include "core/table/text_collation.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <string>
#include <unicode/uloc.h>

namespace kelvano {
namespace {

/// Column texts of every row, for comparing whole tables at a glance.
QList<QByteArrayList> texts(const TableLayers& layers) {
    QList<QByteArrayList> rows;
    for (int row = 0; row < layers.rowCount(); ++row) {
        QByteArrayList cells;
        for (int column = 0; column < layers.columnCount(); ++column) {
            cells.append(layers.text(row, column).toByteArray());
        }
        rows.append(cells);
    }
    return rows;
}

/// A 10-column table of the given first-column texts, with a fully decorated cell in column 7 of `row`.
TableLayers decoratedTable(const QByteArrayList& keys, int decoratedRow) {
    TableLayers layers(10);
    for (const QByteArray& key : keys) {
        TableRow row(10);
        row[0].text = key;
        row[9].text = key + "-end";
        layers.appendRow(row);
    }
    layers.removeRow(0);
    layers.setValue(CellLayer::Picture, decoratedRow, 6, "C:\\pic\\" + test::So + ".jpg");
    layers.setValue(CellLayer::Placement, decoratedRow, 6, "LEFT");
    layers.setValue(CellLayer::Link, decoratedRow, 6, "http://example.com/");
    layers.setValue(CellLayer::Background, decoratedRow, 6, "bg.gif");
    layers.setValue(CellLayer::Text, decoratedRow, 6, test::Hyo);
    return layers;
}

/// The row that carries the decorated cell, checking that every layer of it arrived together.
int decoratedRowOf(const TableLayers& layers) {
    int found = -1;
    for (int row = 0; row < layers.rowCount(); ++row) {
        if (!layers.value(CellLayer::Picture, row, 6).isEmpty()) {
            EXPECT_EQ(found, -1) << "two decorated rows";
            found = row;
            const TableCell cell = layers.cell(row, 6);
            EXPECT_EQ(cell, (TableCell{test::Hyo, "C:\\pic\\" + test::So + ".jpg", "http://example.com/",
                                       "LEFT", "bg.gif"}));
        }
    }
    return found;
}

TEST(TableLayers, CellsOfEveryLayerAreKeptApartAndTrimmedToTheColumns) {
    TableLayers layers(3);
    EXPECT_EQ(layers.rowCount(), 1);
    EXPECT_EQ(layers.columnCount(), 3);
    EXPECT_EQ(layers.row(0), TableRow(3));

    layers.setValue(CellLayer::Text, 0, 1, "middle");
    layers.setValue(CellLayer::Link, 0, 1, "u");
    layers.setValue(CellLayer::Text, 0, 2, QByteArray(300, 'x'));
    layers.setValue(CellLayer::Text, 0, 0, "first");
    layers.setValue(CellLayer::Text, 0, 1, "");       // emptied between two filled cells
    layers.setValue(CellLayer::Text, 0, 3, "beyond"); // no such column
    EXPECT_EQ(texts(layers), (QList<QByteArrayList>{{"first", "", QByteArray(300, 'x')}}));
    EXPECT_EQ(layers.value(CellLayer::Link, 0, 1), "u");
    EXPECT_EQ(layers.value(CellLayer::Placement, 0, 1), "");

    // Only "RIGHT", "LEFT" and empty are placements; anything else is stored as LEFT, as the file keeps it.
    layers.setValue(CellLayer::Placement, 0, 0, "RIGHT");
    layers.setValue(CellLayer::Placement, 0, 1, "left");
    EXPECT_EQ(layers.value(CellLayer::Placement, 0, 0), "RIGHT");
    EXPECT_EQ(layers.value(CellLayer::Placement, 0, 1), "LEFT");
    EXPECT_EQ(layers.value(CellLayer::Placement, 0, 2), "");

    // A record keeps 250 bytes of a text and the placement byte: empty and RIGHT give 1.
    const TableRowRecord record = layers.record(0);
    EXPECT_EQ(record.encode().mid(3 * 251, 251), char(250) + QByteArray(250, 'x'));
    EXPECT_EQ(record.PictureOnRight[1], 1);
    EXPECT_EQ(record.PictureOnRight[2], 0);
    EXPECT_EQ(record.PictureOnRight[3], 1);
}

TEST(TableLayers, RowOperationsMoveWholeRows) {
    TableLayers layers = decoratedTable({"1", "2", "3"}, 1);

    // Inserting at row 2 of 3: old 2 and 3 move down, the new row 2 is empty in every layer.
    ASSERT_TRUE(layers.insertEmptyRow(1));
    EXPECT_EQ(layers.rowCount(), 4);
    EXPECT_EQ(layers.text(0, 0), "1");
    EXPECT_EQ(layers.row(1), TableRow(10));
    EXPECT_EQ(layers.text(2, 0), "2");
    EXPECT_EQ(layers.text(3, 0), "3");
    EXPECT_EQ(decoratedRowOf(layers), 2);

    // Moving at the ends is the caller's to refuse; swapping neighbours carries every layer.
    layers.swapRows(2, 3);
    EXPECT_EQ(decoratedRowOf(layers), 3);
    EXPECT_EQ(layers.text(3, 9), "2-end");
    layers.swapRows(3, 2);
    EXPECT_EQ(decoratedRowOf(layers), 2);

    // Deleting above the decorated row moves it up; deleting the last row leaves the others alone.
    layers.removeRow(1);
    EXPECT_EQ(decoratedRowOf(layers), 1);
    layers.removeRow(2);
    EXPECT_EQ(texts(layers).size(), 2);
    EXPECT_EQ(layers.text(0, 0), "1");
    EXPECT_EQ(decoratedRowOf(layers), 1);

    // A row added after deleting at the end is empty in every layer.
    ASSERT_TRUE(layers.insertEmptyRow(layers.rowCount()));
    EXPECT_EQ(layers.row(2), TableRow(10));
    EXPECT_FALSE(layers.value(CellLayer::Placement, 2, 6).size());

    // Deleting the only row leaves one empty row, as a new table has.
    TableLayers single = decoratedTable({"only"}, 0);
    single.removeRow(0);
    EXPECT_EQ(single.rowCount(), 1);
    EXPECT_EQ(single.row(0), TableRow(10));
}

TEST(TableLayers, SortingOrdersTextsByCollationAndDescendingIsTheExactReverse) {
    const TextCollation collation(QStringLiteral("ja_JP"));
    EXPECT_LT(collation.compare("", "A"), 0);
    EXPECT_LT(collation.compare("a", "A"), 0);
    EXPECT_LT(collation.compare("A", "b"), 0);
    EXPECT_LT(collation.compare("10", "9"), 0);
    EXPECT_NE(collation.compare("a", "A"), 0);
    {
        // The POSIX locale (LANG=C) orders as the others do, lower case first.
        const std::string saved = uloc_getDefault();
        UErrorCode status = U_ZERO_ERROR;
        uloc_setDefault("en_US_POSIX", &status);
        EXPECT_LT(TextCollation().compare("a", "A"), 0);
        uloc_setDefault(saved.c_str(), &status);
    }

    // Equal keys keep their order ascending and come out reversed descending.
    TableLayers layers = decoratedTable({"b", "", "A", "a", "9", "10", "b"}, 2);
    layers.setValue(CellLayer::Text, 6, 1, "second b");
    layers.sortRows(0, Qt::AscendingOrder, collation);
    const QByteArrayList ascending{"", "10", "9", "a", "A", "b", "b"};
    QByteArrayList keys;
    for (int row = 0; row < layers.rowCount(); ++row) {
        keys.append(layers.text(row, 0).toByteArray());
    }
    EXPECT_EQ(keys, ascending);
    EXPECT_EQ(layers.text(6, 1), "second b");
    EXPECT_EQ(decoratedRowOf(layers), 4); // the row keyed "A"
    const QList<QByteArrayList> ascendingRows = texts(layers);

    layers.sortRows(0, Qt::DescendingOrder, collation);
    QList<QByteArrayList> reversed = ascendingRows;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(texts(layers), reversed);
    EXPECT_EQ(layers.text(0, 1), "second b");
    EXPECT_EQ(decoratedRowOf(layers), 2);

    // Japanese texts sort by their characters, not their Shift-JIS bytes.
    TableLayers kana(1);
    for (const char* text : {"\x83\x4A", "\x82\xA0", "\x83\x41"}) { // カ, あ, ア
        TableRow row(1);
        row[0].text = text;
        kana.appendRow(row);
    }
    kana.removeRow(0);
    kana.sortRows(0, Qt::AscendingOrder, collation);
    EXPECT_EQ(kana.text(0, 0), "\x82\xA0");
    EXPECT_EQ(kana.text(2, 0), "\x83\x4A");
}

} // namespace
} // namespace kelvano
