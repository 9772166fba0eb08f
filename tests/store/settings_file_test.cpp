#include "core/store/io_error.h"
#include "core/store/settings_file.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvano {
namespace {

TEST(SettingsFile, MissingOrShortFileIsCreatedEmptyWithFirstRunDefaults) {
    test::TempFolder folder;
    const QByteArray programFolder = folder.path().toLocal8Bit();

    LoadedSettings first = SettingsFile::load(folder.path());
    EXPECT_EQ(first.state, SettingsFileState::Missing);
    EXPECT_EQ(first.settings, (SettingsRecord{programFolder, programFolder, programFolder, {}}));
    EXPECT_EQ(folder.read(QStringLiteral("TAVELO.DAT")).size(), 0);

    folder.write(QStringLiteral("TAVELO.DAT"), QByteArray(1003, 'x'));
    LoadedSettings shortFile = SettingsFile::load(folder.path());
    EXPECT_EQ(shortFile.state, SettingsFileState::Short);
    EXPECT_EQ(shortFile.settings, first.settings);
    EXPECT_EQ(folder.read(QStringLiteral("TAVELO.DAT")).size(), 0);
}

TEST(SettingsFile, ReadsTheFirstRecordFieldByField) {
    test::TempFolder folder;
    QByteArray record(1004, '\0');
    folder.write(QStringLiteral("TAVELO.DAT"), record);
    EXPECT_EQ(SettingsFile::load(folder.path()).settings, SettingsRecord{});

    record[0] = 2;
    record.replace(1, 2, "d/");
    record[251] = 2;
    record.replace(252, 2, "h/");
    record[502] = char(251); // a length byte above the capacity reads as 250
    record.replace(503, 250, QByteArray(250, 'i'));
    record[753] = 5;
    record.replace(754, 5, "grph/");
    folder.write(QStringLiteral("TAVELO.DAT"), record + QByteArray(1004, 'z'));

    const LoadedSettings loaded = SettingsFile::load(folder.path());
    EXPECT_EQ(loaded.state, SettingsFileState::Read);
    EXPECT_EQ(loaded.settings, (SettingsRecord{"d/", "h/", QByteArray(250, 'i'), "grph/"}));
}

TEST(SettingsFile, SaveWritesOneRecordAndCutsLongFolders) {
    test::TempFolder folder;
    folder.write(QStringLiteral("TAVELO.DAT"), QByteArray(3000, 'z'));
    const SettingsRecord settings{QByteArray(260, 'a'), "/web/html/", test::Hyo + "/", "grph/"};
    ASSERT_NO_THROW(SettingsFile::save(folder.path(), settings));

    const QByteArray saved = folder.read(QStringLiteral("TAVELO.DAT"));
    ASSERT_EQ(saved.size(), 1004);
    EXPECT_EQ(saved.left(251), char(250) + QByteArray(250, 'a'));
    EXPECT_EQ(saved.mid(251, 11), "\x0A/web/html/");
    EXPECT_EQ(saved.mid(262, 240), QByteArray(240, '\0'));
    EXPECT_EQ(saved.mid(502, 4), test::hexBytes("03 955C 2F"));
    EXPECT_EQ(saved.mid(753, 6), "\x05grph/");
    EXPECT_EQ(SettingsFile::load(folder.path()).settings.DataFolder, QByteArray(250, 'a'));
}

TEST(SettingsFile, FailedSaveLeavesTheOldFile) {
    test::TempFolder folder;
    const SettingsRecord old{"old/", "old/", "old/", {}};
    ASSERT_NO_THROW(SettingsFile::save(folder.path(), old));
    {
        test::FileSizeLimit limit(100);
        try {
            SettingsFile::save(folder.path(), SettingsRecord{"new/", "new/", "new/", {}});
            FAIL() << "the save went through";
        } catch (const IoError& error) {
            // The failure names the file and says why, for the message the window shows.
            EXPECT_EQ(error.path(), folder.file(QStringLiteral("TAVELO.DAT")));
            EXPECT_EQ(error.errorNumber(), EFBIG);
        }
    }
    EXPECT_EQ(SettingsFile::load(folder.path()).settings, old);
}

} // namespace
} // namespace kelvano
