#include "core/store/io_error.h"
#include "core/store/read_ahead.h"
#include "core/store/table_data_files.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

#include <QDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvano {
namespace {

TableCell cell(QByteArray text, QByteArray picture = {}, QByteArray link = {}, QByteArray placement = {},
               QByteArray background = {}) {
    return {text, picture, link, placement, background};
}

struct LoadedRows {
    TableDataFiles::LoadState state;
    QList<TableRow> rows;
};

/// The rows as the editor reads them: the file opened by openRows, then record by record through the
/// reader, columns 1..columnCount of each.
LoadedRows readRows(const TableDataFiles& files, int columnCount) {
    TableRowReader reader;
    LoadedRows loaded{files.openRows(reader), {}};
    TableRowRecord record;
    while (loaded.state == TableDataFiles::LoadState::Read && reader.next(record)) {
        loaded.rows.append(record.toRow(columnCount));
    }
    return loaded;
}

/// Saves the rows as the editor does: one record per row through writeRecords.
void writeRows(const TableDataFiles& files, const QList<TableRow>& rows) {
    files.writeRecords(static_cast<int>(rows.size()),
                       [&rows](int i) { return TableRowRecord::fromRow(rows[i]); });
}

TEST(TableRows, CellsLieAtTheirColumnOffsetsInFileOrder) {
    const TableRow row{cell("a1"), cell(QByteArray(300, 't'), "C:\\pic\\" + test::So + ".jpg", "http://x/",
                                        "LEFT", "bg.gif")};
    const QByteArray r = TableRowRecord::fromRow(row).encode();
    ASSERT_EQ(r.size(), 51306);
    EXPECT_EQ(r.left(251), QByteArray(251, '\0')); // index 0 is never used
    EXPECT_EQ(r.mid(251, 4), test::hexBytes("02 6131 00"));
    EXPECT_EQ(r.mid(502, 251), char(250) + QByteArray(250, 't'));
    EXPECT_EQ(r.mid(12801 + 502, 14), "\x0D"
                                      "C:\\pic\\" +
                                          test::So + ".jpg");
    EXPECT_EQ(r.mid(25602 + 502, 7), "\x06"
                                     "bg.gif");
    EXPECT_EQ(r.mid(38403 + 502, 10), "\x09"
                                      "http://x/");
    EXPECT_EQ(r.mid(51204, 4), test::hexBytes("00 01 00 00")); // empty placement is right, LEFT is 0
    EXPECT_EQ(r.mid(51255), QByteArray(51, '\0'));

    const TableRow back = TableRowRecord::decode(r).toRow(2);
    EXPECT_EQ(back[0], cell("a1", {}, {}, "RIGHT"));
    EXPECT_EQ(back[1],
              cell(QByteArray(250, 't'), "C:\\pic\\" + test::So + ".jpg", "http://x/", "LEFT", "bg.gif"));
}

TEST(TableRows, APageSeesTheCellsTheEditorReadsEvenWithOverlongLengths) {
    QByteArray r = TableRowRecord::fromRow({cell("a1", "p.gif", "u", "LEFT", "bg.gif")}).encode();
    r[2 * 251] = char(255); // a length past the slot's 250 bytes, as a damaged file may hold
    r[51204 + 2] = char(7); // any non-zero placement byte puts the picture on the right
    const TableRowRecord record = TableRowRecord::decode(r);
    const TableRowView view(r);
    EXPECT_EQ(view.text(1), "a1");
    EXPECT_EQ(view.picture(1), "p.gif");
    EXPECT_EQ(view.link(1), "u");
    EXPECT_EQ(view.background(1), "bg.gif");
    EXPECT_FALSE(view.pictureOnRight(1));
    EXPECT_EQ(view.text(2).size(), 250);
    EXPECT_EQ(view.text(2), record.CellTexts[2]);
    EXPECT_TRUE(view.pictureOnRight(2));
    EXPECT_EQ(view.text(50), "");
}

TEST(TableRows, PlacementBytesFollowTheirRules) {
    const TableRow row{cell("", "p", "", "RIGHT"), cell("", "p", "", "right"), cell("", "p", "", "")};
    TableRowRecord record = TableRowRecord::fromRow(row);
    EXPECT_EQ(record.PictureOnRight[1], 1);
    EXPECT_EQ(record.PictureOnRight[2], 0); // any text other than RIGHT is left
    EXPECT_EQ(record.PictureOnRight[3], 1);
    record.PictureOnRight[1] = 7;
    EXPECT_EQ(record.toRow(3)[0].placement, "RIGHT");
    EXPECT_EQ(record.toRow(3)[1].placement, "LEFT");
    EXPECT_TRUE(record.toRow(0).isEmpty());
    EXPECT_EQ(record.toRow(999).size(), 50);
}

TEST(TableDataFiles, NewTableStartsEmptyAndRowsRoundTrip) {
    test::TempFolder folder;
    const TableDataFiles files(folder.path(), QStringLiteral("price"));
    const LoadedRows fresh = readRows(files, 3);
    EXPECT_EQ(fresh.state, TableDataFiles::LoadState::CreatedEmpty);
    EXPECT_TRUE(fresh.rows.isEmpty());
    EXPECT_EQ(folder.read(QStringLiteral("price.TBL")).size(), 0);
    EXPECT_EQ(readRows(files, 3).state, TableDataFiles::LoadState::Read);

    const QList<TableRow> rows{{cell("1"), cell("2"), cell("3")},
                               {cell("x", "p.jpg", "u", "LEFT", "b.gif"), {}, {}}};
    ASSERT_NO_THROW(writeRows(files, rows));
    EXPECT_EQ(folder.read(QStringLiteral("price.TBL")).size(), 2 * 51306);
    const LoadedRows loaded = readRows(files, 3);
    ASSERT_EQ(loaded.rows.size(), 2);
    EXPECT_EQ(loaded.rows[1][0], cell("x", "p.jpg", "u", "LEFT", "b.gif"));
    EXPECT_EQ(loaded.rows[1][1], cell({}, {}, {}, "RIGHT"));

    // Fewer columns: the extra ones are not read, and go at the next save.
    const QList<TableRow> narrowed = readRows(files, 1).rows;
    ASSERT_EQ(narrowed[0].size(), 1);
    ASSERT_NO_THROW(writeRows(files, narrowed));
    EXPECT_EQ(readRows(files, 3).rows[0][1].text, QByteArray());
}

TEST(TableDataFiles, DamagedTailIsIgnoredAndDroppedAtTheNextSave) {
    test::TempFolder folder;
    const TableDataFiles files(folder.path(), QStringLiteral("t"));
    const QByteArray record = TableRowRecord::fromRow({cell("kept")}).encode();
    folder.write(QStringLiteral("t.TBL"), record + record.left(51305));
    const QList<TableRow> rows = readRows(files, 1).rows;
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].text, "kept");
    ASSERT_NO_THROW(writeRows(files, rows));
    EXPECT_EQ(folder.read(QStringLiteral("t.TBL")), record);
}

TEST(TableDataFiles, ALargeFileReadAheadGivesEveryRowInOrder) {
    test::TempFolder folder;
    const TableDataFiles files(folder.path(), QStringLiteral("t"));
    // Enough rows to be read ahead on a thread, ending part-way into a block; texts grow and shrink so
    // that a record read into the room of the one before keeps nothing of it.
    const int count = 3 * TableRowReader::RecordsPerBlock + 5;
    QList<TableRow> rows;
    for (int i = 0; i < count; ++i) {
        const QByteArray text = i % 3 == 2 ? QByteArray() : QByteArray::number(i).repeated(1 + i % 7);
        rows.append(
            {cell(text, i % 2 ? "p.gif" : "", "", i % 4 ? "RIGHT" : "LEFT"), cell("b", "", "", "RIGHT")});
    }
    ASSERT_NO_THROW(writeRows(files, rows));
    // A damaged tail after the last whole record is ignored here too, even one longer than a record's
    // texts.
    QFile file(files.tablePath());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(QByteArray(TableRowRecord::Size - 100, 'x'));
    file.close();

    EXPECT_EQ(readRows(files, 2).rows, rows);
    TableRowReader reader;
    ASSERT_TRUE(reader.open(files.tablePath()));
    for (int i = 0; i < count; ++i) {
        const std::optional<TableRowView> row = reader.nextView();
        ASSERT_TRUE(row) << i;
        EXPECT_EQ(row->text(1), rows[i][0].text) << i;
        EXPECT_EQ(row->picture(1), rows[i][0].picture) << i;
        EXPECT_EQ(row->pictureOnRight(1), rows[i][0].placement == "RIGHT") << i;
        EXPECT_EQ(row->text(2), "b") << i;
    }
    EXPECT_FALSE(reader.nextView());

    // Stopping part-way ends the reading thread.
    TableRowReader early;
    ASSERT_TRUE(early.open(files.tablePath()));
    TableRowRecord record;
    ASSERT_TRUE(early.next(record));
}

TEST(TableDataFiles, AReaderOfSomeSlotsGetsThemAllAndOfALargeFileNoOthers) {
    test::TempFolder folder;
    const TableDataFiles files(folder.path(), QStringLiteral("t"));
    // Every slot of every column filled and different, lengths from 0 to the capacity, so that a
    // range that starts or ends one byte off, or lands in the wrong record, shows.
    const int count = 2 * TableRowReader::RecordsPerBlock + 3;
    QList<TableRow> rows;
    for (int i = 0; i < count; ++i) {
        TableRow row;
        for (int c = 1; c <= TableRowRecord::MaxColumns; ++c) {
            const QByteArray id = QByteArray::number(i) + '.' + QByteArray::number(c);
            const QByteArray text = (i + c) % 7 == 0 ? QByteArray() : id.repeated(1 + (i * c) % 40).left(250);
            row.append(cell(text, "p" + id, "l" + id, (i + c) % 3 ? "LEFT" : "RIGHT", "b" + id));
        }
        rows.append(row);
    }
    ASSERT_NO_THROW(writeRows(files, rows));
    QFile file(files.tablePath());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(QByteArray(TableRowRecord::Size - 50, 'x')); // a torn tail that holds every range
    file.close();

    const auto expectSlots = [&](RecordSlots used, int usedColumns, bool othersEmpty) {
        TableRowReader reader;
        ASSERT_TRUE(files.openRowsForReading(reader, used));
        for (int i = 0; i < count; ++i) {
            const std::optional<TableRowView> row = reader.nextView();
            ASSERT_TRUE(row) << i;
            for (int c = 0; c <= TableRowRecord::MaxColumns; ++c) {
                // A slot outside the part is empty when only the part is read.
                const auto given = [&](quint8 layer) {
                    return !othersEmpty || (c >= 1 && c <= usedColumns && (used.layers & layer) != 0);
                };
                const TableCell expected = c == 0 ? TableCell{} : rows[i][c - 1];
                const std::string where = "row " + std::to_string(i) + " column " + std::to_string(c);
                EXPECT_EQ(row->text(c), given(RecordSlots::Texts) ? expected.text : "") << where;
                EXPECT_EQ(row->picture(c), given(RecordSlots::Pictures) ? expected.picture : "") << where;
                EXPECT_EQ(row->background(c), given(RecordSlots::Backgrounds) ? expected.background : "")
                    << where;
                EXPECT_EQ(row->link(c), given(RecordSlots::Links) ? expected.link : "") << where;
                EXPECT_EQ(row->pictureOnRight(c),
                          given(RecordSlots::Placements) && expected.placement == "RIGHT")
                    << where;
            }
        }
        EXPECT_FALSE(reader.nextView());
    };
    // A narrow table's page: each layer's first columns, read by themselves.
    expectSlots({.columns = 7}, 7, true);
    // A single column, and no columns at all counted as one.
    expectSlots({.columns = 1}, 1, true);
    expectSlots({.columns = 0}, 1, true);
    // The texts alone (the CSV export), all columns; pictures and backgrounds (the upload's list).
    expectSlots({.layers = RecordSlots::Texts, .columns = 50}, 50, true);
    expectSlots({.layers = RecordSlots::Pictures | RecordSlots::Backgrounds, .columns = 60}, 50, true);
    // The last column of the last layer.
    expectSlots({.layers = RecordSlots::Links | RecordSlots::Placements, .columns = 50}, 50, true);
    // A whole wide table is read whole.
    expectSlots({}, 50, false);
}

TEST(TableDataFiles, AReadAheadFailureIsAnIoError) {
    test::TempFolder folder;
    const int notAFile = ::open(QFile::encodeName(folder.path()).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(notAFile, 0);
    FileReadAhead blocks(notAFile, folder.path(), 4096);
    try {
        blocks.next();
        FAIL() << "a folder was read";
    } catch (const IoError& error) {
        EXPECT_EQ(error.errorNumber(), EISDIR);
        EXPECT_EQ(error.path(), folder.path());
    }
    ::close(notAFile);
}

TEST(TableDataFiles, OneFileWhateverTheCaseOfItsName) {
    test::TempFolder folder;
    const QByteArray record = TableRowRecord::fromRow({cell("v")}).encode();
    folder.write(QStringLiteral("Price.tbl"), record);
    const TableDataFiles files(folder.path(), QStringLiteral("price"));
    EXPECT_EQ(files.tablePath(), folder.file(QStringLiteral("Price.tbl")));
    EXPECT_EQ(readRows(files, 1).rows.size(), 1);
    ASSERT_NO_THROW(writeRows(files, {{cell("v")}, {cell("w")}}));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("Price.tbl")});
}

TEST(TableDataFiles, OnlyAPlainFileHoldsRowsAndNoneIsWaitedFor) {
    test::TempFolder folder;
    const TableDataFiles files(folder.path(), QStringLiteral("t"));
    TableRowReader reader;
    EXPECT_FALSE(files.openRowsForReading(reader));
    EXPECT_EQ(reader.openError(), ENOENT);
    // A pipe in the data file's place would never end, or hold the reader up until someone writes.
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file(QStringLiteral("t.TBL"))).constData(), 0600), 0);
    EXPECT_FALSE(files.openRowsForReading(reader));
    EXPECT_EQ(reader.openError(), NotAPlainFileError);
    EXPECT_EQ(reader.openFailure().message(),
              folder.file(QStringLiteral("t.TBL")) +
                  QStringLiteral("\n通常のファイルではありません（パイプやデバイスなど）"));
    EXPECT_EQ(files.openRows(reader), TableDataFiles::LoadState::Unavailable);
}

TEST(TableDataFiles, FailedSaveOrUnavailableFolderLosesNothing) {
    test::TempFolder folder;
    const TableDataFiles files(folder.path(), QStringLiteral("t"));
    const QList<TableRow> one{{cell("old")}};
    ASSERT_NO_THROW(writeRows(files, one));
    {
        test::FileSizeLimit limit(60000);
        EXPECT_THROW(writeRows(files, {{cell("a")}, {cell("b")}}), IoError);
    }
    const QList<TableRow> kept = readRows(files, 1).rows;
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(kept[0][0].text, "old");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("t.TBL")});

    const TableDataFiles nowhere(folder.file(QStringLiteral("no/such/")), QStringLiteral("t"));
    EXPECT_EQ(readRows(nowhere, 1).state, TableDataFiles::LoadState::Unavailable);
    EXPECT_THROW(writeRows(nowhere, one), IoError);
    EXPECT_EQ(nowhere.readReferences(), std::nullopt);
    EXPECT_EQ(nowhere.readLinks(), std::nullopt);
}

TEST(ReferenceList, AddsEachTextOnceRespectingCase) {
    test::TempFolder folder;
    const TableDataFiles files(folder.path(), QStringLiteral("t"));
    EXPECT_EQ(files.readReferences(), QList<QByteArray>{});
    EXPECT_TRUE(folder.exists(QStringLiteral("t.ALI")));

    EXPECT_EQ(files.addReference("ABC"), QList<QByteArray>{});
    EXPECT_EQ(files.addReference("abc"), QList<QByteArray>{"ABC"});
    EXPECT_EQ(files.addReference("abc"), (QList<QByteArray>{"ABC", "abc"}));
    files.addReference("");
    files.addReference(test::Hyo);
    EXPECT_EQ(folder.read(QStringLiteral("t.ALI")), "ABC\r\nabc\r\n" + test::Hyo + "\r\n");

    // A list whose last line lost its line end (edited by hand) keeps that line whole.
    folder.write(QStringLiteral("t.ALI"), "abc");
    EXPECT_EQ(files.addReference("x"), QList<QByteArray>{"abc"});
    EXPECT_EQ(folder.read(QStringLiteral("t.ALI")), "abc\r\nx\r\n");
    EXPECT_EQ(files.readReferences(), (QList<QByteArray>{"abc", "x"}));
}

TEST(LinkList, AddsOnceAllowsOneEmptyLineAndRemovesEveryEqualLine) {
    test::TempFolder folder;
    const TableDataFiles files(folder.path(), QStringLiteral("t"));
    ASSERT_TRUE(files.addLink("http://a/"));
    ASSERT_TRUE(files.addLink(""));
    ASSERT_TRUE(files.addLink(""));
    ASSERT_TRUE(files.addLink("http://a/"));
    EXPECT_EQ(files.readLinks(), (QList<QByteArray>{"http://a/", ""}));

    folder.write(QStringLiteral("t.URL"), "x\r\nhttp://a/\r\ny\r\nhttp://a/\r\n");
    EXPECT_EQ(files.removeLink("http://a/"), (QList<QByteArray>{"x", "y"}));
    EXPECT_EQ(folder.read(QStringLiteral("t.URL")), "x\r\ny\r\n");
    EXPECT_EQ(files.removeLink("absent"), (QList<QByteArray>{"x", "y"}));
    EXPECT_FALSE(folder.exists(QStringLiteral("t.TMP")));

    // A scratch file that cannot be made leaves the list as it was.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("t.TMP")));
    EXPECT_EQ(files.removeLink("x"), std::nullopt);
    EXPECT_EQ(folder.read(QStringLiteral("t.URL")), "x\r\ny\r\n");
}

} // namespace
} // namespace kelvano
