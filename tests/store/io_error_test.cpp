#include "core/store/io_error.h"
#include "core/store/save_file.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

// The user reads why a file failed in Japanese, never Qt's "Unknown error".
TEST(IoErrorReasons, CommonFailuresAreToldInJapaneseWithTheirNumber) {
    test::TempFolder folder;
    QFile missing(folder.file(QStringLiteral("no/such/file")));
    ASSERT_FALSE(missing.open(QIODevice::ReadOnly));
    const IoError notFound = IoError::fromFile(missing);
    EXPECT_EQ(notFound.errorNumber(), ENOENT);
    EXPECT_EQ(notFound.reason(), QStringLiteral("ファイルまたはフォルダがありません"));
    EXPECT_TRUE(notFound.message().startsWith(missing.fileName()));

    for (int number : {EACCES, ENOSPC, EFBIG, EROFS, ENAMETOOLONG, ENOTDIR, EIO}) {
        const QString reason = systemErrorReason(number);
        EXPECT_FALSE(reason.isEmpty());
        EXPECT_GT(reason.front().unicode(), 0x3000) << number << " " << reason.toStdString();
    }
    EXPECT_FALSE(systemErrorReason(EXDEV).isEmpty());

    QFile closed(folder.file(QStringLiteral("x")));
    const IoError withoutNumber = IoError::fromFile(closed, 0);
    EXPECT_NE(withoutNumber.reason(), QStringLiteral("Unknown error"));
    EXPECT_EQ(withoutNumber.errorNumber(), 0);
}

TEST(IoErrorReasons, AFileSizeLimitDuringASaveSaysTheFileIsTooLarge) {
    test::TempFolder folder;
    const QString path = folder.file(QStringLiteral("big.html"));
    test::FileSizeLimit limit(1000);
    try {
        replaceWholeFile(path, QByteArray(5000, 'x'));
        FAIL() << "the save went through";
    } catch (const IoError& error) {
        EXPECT_EQ(error.errorNumber(), EFBIG);
        EXPECT_EQ(error.reason(), systemErrorReason(EFBIG));
    }
}

} // namespace
} // namespace kelvano
