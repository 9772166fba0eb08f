#include "core/store/io_error.h"
#include "core/text/line_filters.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace kelvano::StringUtil {
namespace {

const QString List = QStringLiteral("list.txt");

/// A folder holding list.txt with lines that match a key exactly, by their beginning, or not at all.
class LineFilters : public testing::Test {
protected:
    void SetUp() override { folder.write(List, lines); }

    QString list() const { return folder.file(List); }
    QByteArray result() const { return folder.read(List); }
    bool scratchLeft() const { return folder.exists(ScratchFileName); }

    test::TempFolder folder;
    // Mixed line ends and no line end after the last line: every written line ends in CR LF.
    const QByteArray lines = "key\r\nkeyring\nKEY\r\n\r\n" + test::So + "key\r\nkey";
};

TEST_F(LineFilters, CutlineRemovesLinesEqualToTheKey) {
    Cutline(list(), "key");
    EXPECT_EQ(result(), "keyring\r\nKEY\r\n\r\n" + test::So + "key\r\n");
    EXPECT_FALSE(scratchLeft());

    Cutline(list(), ""); // the empty key removes the empty lines
    EXPECT_EQ(result(), "keyring\r\nKEY\r\n" + test::So + "key\r\n");
}

TEST_F(LineFilters, FCutlineRemovesLinesBeginningWithTheKey) {
    FCutline(list(), "key");
    EXPECT_EQ(result(), "KEY\r\n\r\n" + test::So + "key\r\n");

    FCutline(list(), test::So);
    EXPECT_EQ(result(), "KEY\r\n\r\n");

    FCutline(list(), ""); // the empty key matches every line
    EXPECT_EQ(result(), "");
    EXPECT_FALSE(scratchLeft());
}

TEST_F(LineFilters, ExlineReplacesLinesEqualToTheKey) {
    Exline(list(), "key", "new");
    EXPECT_EQ(result(), "new\r\nkeyring\r\nKEY\r\n\r\n" + test::So + "key\r\nnew\r\n");

    Exline(list(), "", test::Hyo);
    EXPECT_EQ(result(), "new\r\nkeyring\r\nKEY\r\n" + test::Hyo + "\r\n" + test::So + "key\r\nnew\r\n");
    EXPECT_FALSE(scratchLeft());
}

TEST_F(LineFilters, FExlineReplacesLinesBeginningWithTheKey) {
    FExline(list(), "key", "");
    EXPECT_EQ(result(), "\r\n\r\nKEY\r\n\r\n" + test::So + "key\r\n\r\n");

    FExline(list(), "", "x");
    EXPECT_EQ(result(), "x\r\nx\r\nx\r\nx\r\nx\r\nx\r\n");
}

TEST_F(LineFilters, AMissingFileChangesNothingAndCreatesNoScratchFile) {
    const QString missing = folder.file(QStringLiteral("missing.txt"));
    Cutline(missing, "key");
    FCutline(missing, "key");
    Exline(missing, "key", "new");
    FExline(missing, "key", "new");
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(scratchLeft());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{List});
}

TEST_F(LineFilters, AScratchFileThatCannotBeCreatedChangesNothing) {
    ASSERT_TRUE(QDir(folder.path()).mkdir(ScratchFileName));
    Cutline(list(), "key");
    EXPECT_EQ(result(), lines);
}

TEST_F(LineFilters, AFailedWriteThrowsAndLeavesTheFileAsItWas) {
    folder.write(List, QByteArray(5000, 'a') + "\r\nkey\r\n" + QByteArray(5000, 'b'));
    const QByteArray before = result();
    {
        const test::FileSizeLimit limit(4096);
        EXPECT_THROW(Exline(list(), "key", "new"), IoError);
    }
    EXPECT_EQ(result(), before);
    EXPECT_FALSE(scratchLeft());
}

TEST_F(LineFilters, AnOldScratchFileIsReplacedAndTheFileKeepsItsPermissions) {
    folder.write(ScratchFileName, "left over from before\r\n");
    const QFileDevice::Permissions readOnlyForOthers =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(list(), readOnlyForOthers));
    Cutline(list(), "KEY");
    EXPECT_EQ(result(), "key\r\nkeyring\r\n\r\n" + test::So + "key\r\nkey\r\n");
    EXPECT_FALSE(scratchLeft());
    const QFileDevice::Permissions ownerGroupOther(0x7077);
    EXPECT_EQ(QFile::permissions(list()) & ownerGroupOther, readOnlyForOthers);
}

TEST_F(LineFilters, TheScratchFileItselfCanBeFiltered) {
    folder.write(ScratchFileName, "a\r\nb\r\n");
    Cutline(folder.file(ScratchFileName), "a");
    EXPECT_EQ(folder.read(ScratchFileName), "b\r\n");
}

TEST_F(LineFilters, ABareFileNameUsesTheCurrentFolder) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    FCutline(List, "key");
    QDir::setCurrent(previous);
    EXPECT_EQ(result(), "KEY\r\n\r\n" + test::So + "key\r\n");
    EXPECT_FALSE(scratchLeft());
}

TEST_F(LineFilters, AnEmptyFileStaysEmpty) {
    folder.write(List, "");
    Exline(list(), "", "new");
    EXPECT_EQ(result(), "");
}

} // namespace
} // namespace kelvano::StringUtil
