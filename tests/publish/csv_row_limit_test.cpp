#include "core/store/core_messages.h"
#include "core/store/settings_record.h"
#include "core/store/table_definition.h"
#include "core/store/table_row_record.h"
#include "core/table/table_layers.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

// An import that brings a table to exactly its row limit is taken; one row more is refused. The
// table holds one row and the CSV file the rest, so that nothing large is read; a taken import fails
// only at writing, past a file-size limit set for the test.
TEST(PublishCsvRowLimit, AnImportReachingTheLimitIsTakenOneRowMoreIsRefused) {
    test::TempFolder folder;
    const QByteArray path = test::sjis(folder.path());
    folder.write(QStringLiteral("TAVELO.DAT"), SettingsRecord{path, path, path, ""}.encode());
    TableDefinition definition;
    definition.TableName = "t";
    definition.FileName = "t";
    definition.ColumnCount = 1;
    folder.write(QStringLiteral("TABLE.DAT"), definition.encode());
    // A row with a text: an import would take the place of a single empty row.
    TableRowRecord row;
    row.CellTexts[1] = "kept";
    const QByteArray stored = row.encode();
    folder.write(QStringLiteral("t.TBL"), stored);

    for (const int lines : {TableLayers::MaxRows - 1, TableLayers::MaxRows}) {
        QByteArray csv;
        for (int i = 0; i < lines; ++i) {
            csv += "x\n";
        }
        folder.write(QStringLiteral("in.csv"), csv);
        QProcess process;
        {
            const test::FileSizeLimit limit(1024 * 1024);
            process.start(QStringLiteral(KELVANO_PUBLISH_PATH),
                          {QStringLiteral("--program-folder"), folder.path(), QStringLiteral("--import-csv"),
                           QStringLiteral("0"), folder.file(QStringLiteral("in.csv")),
                           QStringLiteral("--append")});
            ASSERT_TRUE(process.waitForFinished(120000));
        }
        const QString err = QString::fromUtf8(process.readAllStandardError());
        const bool refused = err.contains(Messages::CsvTooManyRows.arg(TableLayers::MaxRows));
        EXPECT_EQ(refused, lines == TableLayers::MaxRows) << lines << err.toStdString();
        // Taken, it got as far as writing the table's file.
        EXPECT_EQ(err.contains(QStringLiteral("t.TBL")), !refused) << err.toStdString();
        EXPECT_EQ(process.exitCode(), 1);
        EXPECT_EQ(folder.read(QStringLiteral("t.TBL")), stored);
    }
}

} // namespace
} // namespace kelvano
