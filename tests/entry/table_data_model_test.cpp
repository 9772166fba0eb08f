#include "core/table/layer_view_model.h"
#include "core/table/table_data_model.h"
#include "core/table/table_layers_file.h"
#include "core/table/text_collation.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

TableLayers tableOf(const QByteArrayList& keys, int columnCount) {
    TableLayers layers(columnCount);
    for (const QByteArray& key : keys) {
        TableRow row(columnCount);
        row[0].text = key;
        layers.appendRow(row);
    }
    layers.removeRow(0);
    return layers;
}

TEST(TableDataModel, StaysAConsistentModelThroughEveryRowOperation) {
    TableDataModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    LayerViewModel links(&model, CellLayer::Link);
    QAbstractItemModelTester linksTester(&links, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setLayers(tableOf({"c", "a", "b"}, 4));
    model.setValue(CellLayer::Link, 2, 1, "http://b/");
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("列4"));
    EXPECT_EQ(model.headerData(2, Qt::Vertical).toString(), QStringLiteral("行3"));
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("c"));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignLeft | Qt::AlignTop);

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    EXPECT_TRUE(model.insertEmptyRow(1));
    EXPECT_TRUE(model.insertEmptyRow(model.rowCount()));
    EXPECT_EQ(model.headerData(4, Qt::Vertical).toString(), QStringLiteral("行5"));
    model.swapDataRows(0, 1);
    model.removeDataRow(4);
    model.removeDataRow(0);
    model.sortRows(0, Qt::DescendingOrder, TextCollation(QStringLiteral("ja_JP")));
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("c"));
    EXPECT_EQ(model.data(model.index(2, 0)).toString(), QStringLiteral("a"));
    EXPECT_FALSE(changed.isEmpty());
    // The link view follows its row and cannot be edited.
    EXPECT_EQ(links.data(links.index(1, 1)).toString(), QStringLiteral("http://b/"));
    EXPECT_FALSE(links.flags(links.index(1, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(links.setData(links.index(1, 1), QStringLiteral("x")));

    // Removing rows down to the last one leaves it empty.
    while (model.rowCount() > 1) {
        model.removeDataRow(0);
    }
    model.removeDataRow(0);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QString());
    EXPECT_TRUE(model.setData(model.index(0, 3), QStringLiteral("表")));
    EXPECT_EQ(model.value(CellLayer::Text, 0, 3), test::Hyo);
}

TEST(TableDataModel, ACellShowsItsLineBreaksAsSpacesAndKeepsThem) {
    TableDataModel model;
    model.setLayers(tableOf({"a\r\nb\nc\rd"}, 1));
    const QModelIndex cell = model.index(0, 0);
    EXPECT_EQ(cell.data(Qt::DisplayRole).toString(), QStringLiteral("a b c d"));
    EXPECT_EQ(cell.data(Qt::EditRole).toString(), QStringLiteral("a\r\nb\nc\rd"));
    EXPECT_EQ(model.layers().text(0, 0), "a\r\nb\nc\rd");
}

TEST(TableDataModel, TracksTheWidestTextOfEachColumnThroughChanges) {
    TableDataModel model;
    int measured = 0;
    model.setTextMeasure([&measured](QByteArrayView text) {
        ++measured;
        return int(text.size());
    });
    model.setLayers(tableOf({"aaaa", "bb", "cccccc"}, 2));
    EXPECT_EQ(model.widestText(0), 6);
    EXPECT_EQ(model.widestText(1), 0);
    EXPECT_EQ(measured, 3);

    measured = 0;
    model.setValue(CellLayer::Text, 0, 1, "12345");
    EXPECT_EQ(model.widestText(1), 5);
    EXPECT_LE(measured, 2); // a typed character measures the old and new text only
    model.setValue(CellLayer::Link, 0, 1, "a very long link that is not the text");
    EXPECT_EQ(model.widestText(1), 5);

    model.removeDataRow(2); // the widest text goes
    EXPECT_EQ(model.widestText(0), 4);
    model.setValue(CellLayer::Text, 0, 0, "a"); // and so does the next widest
    EXPECT_EQ(model.widestText(0), 2);
    model.sortRows(0, Qt::AscendingOrder, TextCollation(QStringLiteral("ja_JP")));
    EXPECT_EQ(model.widestText(0), 2);
    model.setValue(CellLayer::Text, 0, 0, "");
    model.setValue(CellLayer::Text, 1, 0, "");
    EXPECT_EQ(model.widestText(0), 0);
}

class TableLayersFileTest : public testing::Test {
protected:
    test::TempFolder m_folder;
    TableDataFiles m_files{m_folder.path(), QStringLiteral("price")};
};

TEST_F(TableLayersFileTest, ANewTableGetsAnEmptyFileAndOneRow) {
    const TableLayersFile::Loaded loaded = TableLayersFile::load(m_files, 3);
    EXPECT_EQ(loaded.state, TableLayersFile::Opening::Created);
    EXPECT_EQ(loaded.layers.rowCount(), 1);
    EXPECT_EQ(loaded.layers.columnCount(), 3);
    EXPECT_EQ(m_folder.read(QStringLiteral("price.TBL")), QByteArray());

    // An existing empty file reads as one empty row too, without the message's state.
    const TableLayersFile::Loaded again = TableLayersFile::load(m_files, 3);
    EXPECT_EQ(again.state, TableLayersFile::Opening::Read);
    EXPECT_EQ(again.layers.rowCount(), 1);

    const TableDataFiles nowhere(m_folder.path() + QStringLiteral("missing/"), QStringLiteral("price"));
    EXPECT_EQ(TableLayersFile::load(nowhere, 3).state, TableLayersFile::Opening::Unavailable);
    EXPECT_THROW(TableLayersFile::save(nowhere, again.layers), IoError);
}

TEST_F(TableLayersFileTest, RowsRoundTripWithEveryLayerAndKeepColumnsBeyondTheCount) {
    TableLayers layers(5);
    TableRow row(5);
    row[0] = {test::So, "C:\\pic\\a.jpg", "http://x/", "LEFT", "bg.gif"};
    row[4] = {"fifth", {}, {}, {}, {}};
    layers.appendRow(row);
    layers.removeRow(0);
    layers.insertEmptyRow(1); // empty rows are written too
    ASSERT_NO_THROW(TableLayersFile::save(m_files, layers));
    const QByteArray file = m_folder.read(QStringLiteral("price.TBL"));
    ASSERT_EQ(file.size(), 2 * 51306);
    EXPECT_EQ(file.mid(251, 3), "\x02" + test::So);
    EXPECT_EQ(file.mid(51204 + 1, 5), QByteArray::fromHex("0001010101"));

    // A damaged tail is ignored; three columns keep the first three.
    m_folder.write(QStringLiteral("price.TBL"), file + QByteArray(100, 'z'));
    const TableLayersFile::Loaded loaded = TableLayersFile::load(m_files, 3);
    EXPECT_EQ(loaded.state, TableLayersFile::Opening::Read);
    ASSERT_EQ(loaded.layers.rowCount(), 2);
    EXPECT_EQ(loaded.layers.columnCount(), 3);
    EXPECT_EQ(loaded.layers.cell(0, 0), row[0]);
    EXPECT_EQ(loaded.layers.cell(1, 2), (TableCell{{}, {}, {}, "RIGHT", {}}));
    ASSERT_NO_THROW(TableLayersFile::save(m_files, loaded.layers));
    const QByteArray saved = m_folder.read(QStringLiteral("price.TBL"));
    EXPECT_EQ(saved, file); // column 5 is stored again as it was
    EXPECT_EQ(TableLayersFile::load(m_files, 5).layers.text(0, 4), "fifth");

    // A failed save leaves the old file as it was.
    {
        const test::FileSizeLimit limit(60000);
        EXPECT_THROW(TableLayersFile::save(m_files, tableOf({"a", "b", "c"}, 3)), IoError);
    }
    EXPECT_EQ(m_folder.read(QStringLiteral("price.TBL")), saved);
}

} // namespace
} // namespace kelvano
