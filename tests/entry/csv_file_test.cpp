#include "core/store/io_error.h"
#include "core/table/csv_exchange.h"
#include "core/table/table_layers_file.h"
#include "support/temp_folder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

namespace kelvano {
namespace {

using Records = QList<QByteArrayList>;

Records allRecords(const CsvFile& file) {
    Records records;
    CsvRecords reader = file.records();
    for (QByteArrayList record; reader.next(record);) {
        records.append(record);
    }
    return records;
}

TEST(CsvFile, CountsItsRecordsKeepsTheFirstAndReadsThemAgainOneAtATime) {
    test::TempFolder folder;
    // A field past the bytes read, cut inside a three-byte character: it keeps whole characters only.
    const QByteArray longField = QByteArray(CsvFile::FieldBytesRead - 1, 'x') + "\xE8\xA1\xA8";
    QByteArray text = "\xEF\xBB\xBF";
    Records expected;
    for (int line = 1; line <= 12; ++line) {
        const QByteArray number = QByteArray::number(line);
        if (line == 11) {
            text += "\"two\r\nlines\"," + longField + "\r\n";
            expected.append({"two\r\nlines", QByteArray(CsvFile::FieldBytesRead - 1, 'x')});
        } else {
            text += number + ",\xE8\xA1\xA8\r\n";
            expected.append({number, "\xE8\xA1\xA8"});
        }
    }
    folder.write(QStringLiteral("in.csv"), text);
    const CsvFile file = CsvFile::read(folder.file(QStringLiteral("in.csv")));
    EXPECT_FALSE(file.refusal);
    EXPECT_TRUE(file.format.byteOrderMark);
    EXPECT_EQ(file.recordCount, 12);
    EXPECT_EQ(file.firstRecords, expected.first(CsvFile::FirstRecordsKept));
    EXPECT_EQ(allRecords(file), expected);
    EXPECT_EQ(allRecords(file), expected) << "read again from the first";

    // A quote that never closes, past the records kept for the preview, refuses the whole file; its
    // line counts the line break inside record 11.
    folder.write(QStringLiteral("open.csv"), text + "\"never closed\r\n");
    const CsvFile open = CsvFile::read(folder.file(QStringLiteral("open.csv")));
    EXPECT_EQ(open.refusal, (CsvRefusal{CsvRefusal::QuoteNotClosed, 14}));
    EXPECT_EQ(open.recordCount, 0);
    EXPECT_TRUE(allRecords(open).isEmpty());

    // An empty file holds no record.
    folder.write(QStringLiteral("empty.csv"), "");
    const CsvFile empty = CsvFile::read(folder.file(QStringLiteral("empty.csv")));
    EXPECT_EQ(empty.recordCount, 0);
    EXPECT_TRUE(allRecords(empty).isEmpty());
}

TEST(CsvFile, ReadsNoMoreThanOnePastTheRowLimit) {
    test::TempFolder folder;
    for (const qsizetype lines : {CsvFile::RecordsRead - 1, CsvFile::RecordsRead, CsvFile::RecordsRead + 1}) {
        QByteArray text;
        for (qsizetype line = 0; line < lines; ++line) {
            text += "a\n";
        }
        folder.write(QStringLiteral("rows.csv"), text);
        const CsvFile file = CsvFile::read(folder.file(QStringLiteral("rows.csv")));
        const qsizetype kept = std::min(lines, CsvFile::RecordsRead);
        EXPECT_EQ(file.recordCount, kept) << lines;
        EXPECT_EQ(allRecords(file).size(), kept) << lines;
    }
}

TEST(CsvFile, AFileChangedSinceItWasCountedIsNotReadAgain) {
    test::TempFolder folder;
    const QString path = folder.file(QStringLiteral("in.csv"));
    folder.write(QStringLiteral("in.csv"), "a,b\r\nc,d\r\n");
    const CsvFile file = CsvFile::read(path);
    // The same size, written a second later: another file for all the reader can tell.
    folder.write(QStringLiteral("in.csv"), "a,b\r\nc,X\r\n");
    const utimbuf later{::time(nullptr) + 1, ::time(nullptr) + 1};
    ::utime(QFile::encodeName(path).constData(), &later);
    try {
        file.records();
        FAIL() << "a changed file was read";
    } catch (const IoError& error) {
        EXPECT_EQ(error.errorNumber(), FileChangedError);
        EXPECT_EQ(error.reason(), QStringLiteral("読み込んだあとでファイルが変わりました"));
        EXPECT_EQ(error.path(), path);
    }
    QFile::remove(path);
    EXPECT_THROW(file.records(), IoError);
}

TEST(CsvImport, RowsThatFailWhileTheyAreWrittenLeaveTheTableAsItWas) {
    test::TempFolder folder;
    const TableDataFiles files(folder.path(), QStringLiteral("t"));
    TableLayers layers(2);
    layers.appendRow({TableCell{"kept", "", "", "", ""}});
    layers.removeRow(0);
    ASSERT_NO_THROW(TableLayersFile::save(files, layers));
    const QByteArray stored = folder.read(QStringLiteral("t.TBL"));

    // More rows than go into one chunk, the last one failing: nothing of them reaches the file.
    int asked = 0;
    EXPECT_THROW(TableLayersFile::importRows(
                     files, 2, 40,
                     [&]() -> QList<std::optional<QByteArray>> {
                         if (++asked == 40) {
                             throw IoError::fromErrorNumber(QStringLiteral("in.csv"), FileChangedError);
                         }
                         return {QByteArray("new")};
                     },
                     true),
                 IoError);
    EXPECT_EQ(folder.read(QStringLiteral("t.TBL")), stored);

    // Rows asked for in order, after the kept one.
    asked = 0;
    const std::optional<int> kept = TableLayersFile::importRows(
        files, 2, 3, [&]() -> QList<std::optional<QByteArray>> { return {QByteArray::number(asked++)}; },
        true);
    EXPECT_EQ(kept, 1);
    const TableLayersFile::Loaded loaded = TableLayersFile::load(files, 2);
    ASSERT_EQ(loaded.layers.rowCount(), 4);
    EXPECT_EQ(loaded.layers.text(0, 0), "kept");
    EXPECT_EQ(loaded.layers.text(3, 0), "2");
}

} // namespace
} // namespace kelvano
