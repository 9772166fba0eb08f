#include "store/program_folder.h"
#include "support/temp_folder.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

TEST(ProgramFolder, IsTheExecutablesFolderWhenWritableElseTheApplicationDataFolder) {
    test::TempFolder folder;
    const QString withoutSeparator = folder.path().chopped(1);
    EXPECT_EQ(resolveProgramFolder(withoutSeparator), folder.path());

    QStandardPaths::setTestModeEnabled(true);
    const QString fallback = resolveProgramFolder(folder.file(QStringLiteral("not-a-folder")));
    EXPECT_TRUE(fallback.endsWith(QLatin1Char('/')));
    EXPECT_NE(fallback, folder.path());
    EXPECT_TRUE(QFileInfo(fallback).isDir());
    QStandardPaths::setTestModeEnabled(false);
}

} // namespace
} // namespace kelvano
