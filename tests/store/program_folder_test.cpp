#include "core/store/program_folder.h"
#include "support/temp_folder.h"

#include <QDir>
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

    // A folder whose path cannot be stored in a folder setting is not used either.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("café")));
    EXPECT_EQ(resolveProgramFolder(folder.file(QStringLiteral("café"))), fallback);
    const QString deep = folder.path() + QString(240, QLatin1Char('d'));
    ASSERT_TRUE(QDir().mkpath(deep));
    EXPECT_EQ(resolveProgramFolder(deep), fallback);

    // An installed program's folder (share/kelvano beside bin/) is never used, writable or not.
    ASSERT_TRUE(QDir().mkpath(folder.file(QStringLiteral("usr/bin"))));
    EXPECT_EQ(resolveProgramFolder(folder.file(QStringLiteral("usr/bin"))),
              folder.file(QStringLiteral("usr/bin/")));
    ASSERT_TRUE(QDir().mkpath(folder.file(QStringLiteral("usr/share/kelvano"))));
    EXPECT_EQ(resolveProgramFolder(folder.file(QStringLiteral("usr/bin"))), fallback);
    QStandardPaths::setTestModeEnabled(false);
}

} // namespace
} // namespace kelvano
