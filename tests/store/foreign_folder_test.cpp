#include "core/store/file_names.h"
#include "core/store/io_error.h"
#include "core/store/record_file.h"
#include "core/store/snippet_store.h"
#include "core/store/table_data_files.h"
#include "core/store/table_lock.h"
#include "core/store/text_lines.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

// Folder texts that name no folder here: a folder copied from Windows, a share, a relative folder
// and none at all. Each would otherwise put its files into the working folder.
const QString ForeignFolders[] = {QStringLiteral("D:\\Web\\Tables\\DATA\\"),
                                  QStringLiteral("\\\\server\\share\\"), QStringLiteral("DATA/"), QString()};

TEST(ForeignFolder, OnlyAnAbsolutePathNamesAPlaceOfThisSystem) {
    EXPECT_TRUE(isPathOfThisSystem(u"/"));
    EXPECT_TRUE(isPathOfThisSystem(u"/home/a/DATA/"));
    for (const QString& folder : ForeignFolders) {
        EXPECT_FALSE(isPathOfThisSystem(folder)) << folder.toStdString();
    }
    EXPECT_FALSE(isPathOfThisSystem(u"./DATA/"));
    EXPECT_FALSE(isPathOfThisSystem(u"C:/Web/"));
}

TEST(ForeignFolder, IsNeverReadNorWrittenButCountsAsAMissingFolder) {
    const test::WorkingFolder working;
    for (const QString& folder : ForeignFolders) {
        SCOPED_TRACE(folder.toStdString());
        // The snippets: no index to list, none to register into.
        const SnippetStore headers(folder, SnippetKind::Header);
        EXPECT_FALSE(headers.loadEntries());
        EXPECT_FALSE(headers.registerSnippet("top", {"<HTML>"}));
        EXPECT_FALSE(headers.remove(0));
        EXPECT_THROW(headers.change(0, {"<HTML>"}), IoError);

        // A table's data files: neither read nor created, and no lock file.
        const TableDataFiles files(folder, QStringLiteral("price"));
        TableRowReader reader;
        EXPECT_EQ(files.openRows(reader), TableDataFiles::LoadState::Unavailable);
        EXPECT_FALSE(files.openRowsForReading(reader));
        EXPECT_EQ(reader.openError(), ENOENT);
        EXPECT_THROW(files.writeRecords(0, {}), IoError);
        EXPECT_FALSE(files.readReferences());
        EXPECT_FALSE(files.addReference("abc"));
        EXPECT_FALSE(files.addLink("order.html"));
        EXPECT_FALSE(files.removeLink("order.html"));
        TableLock lock(files);
        EXPECT_EQ(lock.take(), TableLock::Taking::Impossible);

        // The file operations underneath.
        EXPECT_FALSE(readOrCreateLinesFile(folder + QStringLiteral("HEAD.0")));
        RecordFile record(folder + QStringLiteral("FOOT.DAT"), 82);
        EXPECT_FALSE(record.openOrCreate());
        try {
            files.replaceRecords(0, 1, [](int) { return TableRowRecord(); });
            ADD_FAILURE() << "the rows were written";
        } catch (const IoError& error) {
            EXPECT_EQ(error.errorNumber(), ENOENT);
            EXPECT_EQ(error.path(), folder + QStringLiteral("price.TBL"));
        }
    }
    EXPECT_EQ(working.entries(), QStringList());
}

TEST(ForeignFolder, AFileOfTheSameNameInTheWorkingFolderIsNotTaken) {
    const test::WorkingFolder working;
    // A file that happens to lie in the working folder under the relative name is not the table's.
    {
        QFile stray(QStringLiteral("DATA/price.TBL"));
        ASSERT_TRUE(QDir().mkpath(QStringLiteral("DATA")));
        ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    }
    const TableDataFiles files(QStringLiteral("DATA/"), QStringLiteral("price"));
    TableRowReader reader;
    EXPECT_FALSE(files.openRowsForReading(reader));
    EXPECT_FALSE(readLinesFile(QStringLiteral("DATA/price.TBL")));
}

} // namespace
} // namespace kelvano
