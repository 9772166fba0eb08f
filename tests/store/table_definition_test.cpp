#include "core/store/io_error.h"
#include "core/store/table_definition_file.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvano {
namespace {

/// A definition with a distinct, non-default value in every field.
TableDefinition distinctDefinition() {
    TableDefinition d;
    d.TableName = "Price " + test::So;
    d.FileName = "price";
    d.HeaderName = "3:Top";
    d.FooterName = "0:" + test::WideB;
    d.BorderWidth = 7;
    d.CaptionText = "cap";
    d.CaptionOnTop = false;
    d.Use3DColours = true;
    d.BorderColour = "FF0000";
    d.LightColour = "00FF00";
    d.DarkColour = "0000FF";
    d.TableWidth = "75%";
    d.CellSpacing = 9;
    d.CellPadding = 11;
    d.ColumnColourMode = false;
    d.RowColourMode = true;
    for (int i = 0; i < TableDefinition::ArrayLength; ++i) {
        d.ColumnBackColours[i] = 0x010000u + i;
        d.RowBackColours[i] = 0x020000u + i;
        d.ColumnTextColours[i] = 0x030000u + i;
        d.RowTextColours[i] = 0x040000u + i;
        d.ColumnFontSizes[i] = i % 29 - 14;
        d.ColumnAlignments[i] = static_cast<quint8>(i % 9);
    }
    d.ColumnCount = 0x0132;
    d.RowColourCount = 0x0A01;
    d.ShowEmptyCells = false;
    d.Deleted = true;
    return d;
}

TEST(TableDefinition, EveryFieldLiesAtItsOffset) {
    const QByteArray r = distinctDefinition().encode();
    ASSERT_EQ(r.size(), 1524);
    EXPECT_EQ(r.mid(0, 9), "\x08Price " + test::So);
    EXPECT_EQ(r.mid(9, 72), QByteArray(72, '\0'));
    EXPECT_EQ(r.mid(81, 6), "\x05price");
    EXPECT_EQ(r.mid(162, 6), "\x05"
                             "3:Top");
    EXPECT_EQ(r.mid(243, 5), "\x04"
                             "0:" +
                                 test::WideB);
    EXPECT_EQ(r.mid(324, 6), test::hexBytes("00 07 03 636170"));
    EXPECT_EQ(r.mid(407, 2), test::hexBytes("00 01"));
    EXPECT_EQ(r.mid(409, 28), "\x06"
                              "FF0000"
                              "\x06"
                              "00FF00"
                              "\x06"
                              "0000FF"
                              "\x03"
                              "75%" +
                                  QByteArray(3, '\0'));
    EXPECT_EQ(r.mid(437, 7), test::hexBytes("09 0B 00 01 000000"));
    EXPECT_EQ(r.mid(444, 8), test::hexBytes("00000100 01000100"));
    EXPECT_EQ(r.mid(648 + 200, 4), test::hexBytes("32000200"));
    EXPECT_EQ(r.mid(852, 4), test::hexBytes("00000300"));
    EXPECT_EQ(r.mid(1056 + 4, 4), test::hexBytes("01000400"));
    EXPECT_EQ(r.mid(1260, 8), test::hexBytes("F2FFFFFF F3FFFFFF"));
    EXPECT_EQ(r.mid(1464, 10), test::hexBytes("00010203040506070800"));
    EXPECT_EQ(r.mid(1514, 10), test::hexBytes("05 00 3201 010A 00 01 0000"));
    EXPECT_EQ(TableDefinition::decode(r), distinctDefinition());
}

TEST(TableDefinition, HeadingAndScrollFlagsTakeTheReservedBytesAfterTheColourModes) {
    for (int flag = 0; flag < 3; ++flag) {
        TableDefinition d;
        d.FirstColumnHeadings = flag == 0;
        d.FirstRowHeadings = flag == 1;
        d.ScrollOnSmallScreens = flag == 2;
        const QByteArray r = d.encode();
        QByteArray expected(3, '\0');
        expected[flag] = 1;
        EXPECT_EQ(r.mid(441, 3), expected);
        EXPECT_EQ(TableDefinition::decode(r), d);
        // Readers of records written elsewhere take any non-zero byte as on.
        QByteArray other = TableDefinition().encode();
        other[441 + flag] = '\x7F';
        EXPECT_EQ(TableDefinition::decode(other), d);
    }
}

TEST(TableDefinition, PageOptionsAreBitsOfByte1515AndTheOtherBitsAreWrittenAsZero) {
    const auto withOptions = [](bool sort, bool filter, bool sticky, bool csv) {
        TableDefinition d;
        d.SortByHeading = sort;
        d.FilterBox = filter;
        d.StickyHeading = sticky;
        d.CsvBeside = csv;
        return d;
    };
    const TableDefinition each[] = {
        withOptions(true, false, false, false), withOptions(false, true, false, false),
        withOptions(false, false, true, false), withOptions(false, false, false, true)};
    for (int bit = 0; bit < 4; ++bit) {
        const QByteArray r = each[bit].encode();
        ASSERT_EQ(r.size(), 1524);
        EXPECT_EQ(static_cast<quint8>(r[1515]), 1 << bit);
        EXPECT_EQ(r.mid(1516, 2), test::hexBytes("0100")) << "the column count stays where it was";
        EXPECT_EQ(TableDefinition::decode(r), each[bit]);
    }
    const TableDefinition all = withOptions(true, true, true, true);
    EXPECT_EQ(static_cast<quint8>(all.encode()[1515]), 0x0F);
    // Bits no one defines yet are read as nothing and written back as 0.
    QByteArray other = TableDefinition().encode();
    other[1515] = '\xF2';
    const TableDefinition read = TableDefinition::decode(other);
    EXPECT_EQ(read, withOptions(false, true, false, false));
    EXPECT_EQ(static_cast<quint8>(read.encode()[1515]), 0x02);
}

TEST(TableDefinition, NewDefinitionHoldsTheDefaultsByteForByte) {
    const QByteArray r = TableDefinition().encode();
    QByteArray expected(1524, '\0');
    expected[325] = 1; // border width
    expected[407] = 1; // caption on top
    expected[437] = 2; // cell spacing
    expected[438] = 1; // cell padding
    expected[439] = 1; // column colour mode
    for (int i = 0; i < 51; ++i) {
        expected.replace(444 + 4 * i, 4, test::hexBytes("FFFFFF00"));
        expected.replace(648 + 4 * i, 4, test::hexBytes("FFFFFF00"));
    }
    expected[1516] = 1; // column count
    expected[1518] = 1; // row colour count
    expected[1520] = 1; // empty cells shown
    EXPECT_EQ(r, expected);
}

TEST(TableDefinition, CutsLongTextsAndClampsCountsAtUse) {
    TableDefinition d;
    d.TableName = QByteArray(81, 't');
    EXPECT_EQ(TableDefinition::decode(d.encode()).TableName, QByteArray(80, 't'));

    QByteArray damaged = d.encode();
    damaged[0] = char(0xFF); // length byte above capacity
    damaged[407] = 2;        // any non-zero flag is on
    damaged.replace(1516, 4, test::hexBytes("FFFF 0000"));
    const TableDefinition read = TableDefinition::decode(damaged);
    EXPECT_EQ(read.TableName.size(), 80);
    EXPECT_TRUE(read.CaptionOnTop);
    EXPECT_EQ(read.ColumnCount, 0xFFFF);
    EXPECT_EQ(read.usableColumnCount(), 50);
    EXPECT_EQ(read.usableRowColourCount(), 1);
    d.RowColourCount = 300;
    EXPECT_EQ(d.usableRowColourCount(), 51);
}

TEST(TableDefinitionFile, NumbersAreRecordPositionsAndRewritesTouchOneRecord) {
    test::TempFolder folder;
    const TableDefinitionFile file(folder.path());
    file.openOrCreate();
    EXPECT_EQ(folder.read(QStringLiteral("TABLE.DAT")).size(), 0);

    TableDefinition a, b, c;
    a.TableName = "a";
    b.TableName = "b";
    c.TableName = "c";
    EXPECT_EQ(file.append(a), 0);
    EXPECT_EQ(folder.read(QStringLiteral("TABLE.DAT")).size(), 1524);
    EXPECT_EQ(file.append(b), 1);
    EXPECT_EQ(file.append(c), 2);
    const QByteArray before = folder.read(QStringLiteral("TABLE.DAT"));

    TableDefinition changed = distinctDefinition();
    file.write(1, changed);
    const QByteArray after = folder.read(QStringLiteral("TABLE.DAT"));
    ASSERT_EQ(after.size(), 4572);
    EXPECT_EQ(after.left(1524), before.left(1524));
    EXPECT_EQ(after.mid(3048), before.mid(3048));
    changed.Deleted = false; // every write stores a live record
    EXPECT_EQ(file.read(1), changed);
    EXPECT_EQ(file.read(2)->TableName, "c");
}

TEST(TableDefinitionFile, DeletedRecordsKeepTheirNumbersAndADamagedTailIsReported) {
    test::TempFolder folder;
    TableDefinition live, deleted;
    live.TableName = "live";
    deleted.Deleted = true;
    folder.write(QStringLiteral("TABLE.DAT"),
                 live.encode() + deleted.encode() + live.encode() + QByteArray(100, '\x01'));

    const TableDefinitionFile file(folder.path());
    const DefinitionList list = file.readAll();
    ASSERT_EQ(list.records.size(), 3);
    EXPECT_FALSE(list.records[0].definition.Deleted);
    EXPECT_TRUE(list.records[1].definition.Deleted);
    EXPECT_EQ(list.records[2].number, 2);
    EXPECT_EQ(list.records[2].definition.TableName, "live");
    EXPECT_TRUE(list.damagedTail);

    EXPECT_THROW(file.read(3), IoError);
    EXPECT_EQ(file.append(live), 3); // written over the incomplete tail
    EXPECT_FALSE(file.readAll().damagedTail);
}

TEST(TableDefinitionFile, MissingFileIsNotReadButIsCreatedForLists) {
    test::TempFolder folder;
    const TableDefinitionFile file(folder.path());
    EXPECT_EQ(file.read(0), std::nullopt);
    EXPECT_FALSE(folder.exists(QStringLiteral("TABLE.DAT")));
    EXPECT_TRUE(file.readAll().records.isEmpty());
    EXPECT_TRUE(folder.exists(QStringLiteral("TABLE.DAT")));
    EXPECT_THROW(file.write(5, TableDefinition()), IoError);
}

} // namespace
} // namespace kelvano
