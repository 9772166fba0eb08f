#include "core/store/folder_mapping.h"
#include "core/store/io_error.h"
#include "core/store/shift_jis.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::sjis;

class FolderMapping : public testing::Test {
protected:
    void makeFolders(std::initializer_list<const char*> folders) const {
        for (const char* folder : folders) {
            ASSERT_TRUE(QDir().mkpath(program.file(QString::fromUtf8(folder))));
        }
    }
    QList<FolderProposal> propose(const SettingsRecord& settings) const {
        return proposeFolders(settings, program.path());
    }

    test::TempFolder program;
};

TEST_F(FolderMapping, EachMissingFolderIsMatchedByItsLastNamesWithoutRegardToCase) {
    makeFolders({"Data", "html/Grph", "GRPH"});
    const SettingsRecord windows{"D:\\Web\\Tables\\DATA\\", "D:\\Web\\Tables\\HTML\\",
                                 "D:\\Web\\Tables\\HTML\\GRPH\\", "GRPH/"};
    // The longest match wins: HTML\GRPH is html/Grph, not the GRPH beside it.
    EXPECT_EQ(propose(windows),
              (QList<FolderProposal>{
                  {FolderSetting::Data, windows.DataFolder, program.path() + QStringLiteral("Data/")},
                  {FolderSetting::Html, windows.HtmlFolder, program.path() + QStringLiteral("html/")},
                  {FolderSetting::Image, windows.ImageFolder, program.path() + QStringLiteral("html/Grph/")},
              }));
    const SettingsRecord mapped = withProposals(windows, propose(windows));
    EXPECT_EQ(mapped.ImageFolder, sjis(program.path() + QStringLiteral("html/Grph/")));
    EXPECT_EQ(mapped.ServerImagePath, "GRPH/");

    // A folder that is there stays as it is and gets no proposal; so does the server path.
    const SettingsRecord here{sjis(program.path()), "\\\\server\\share\\html\\", sjis(program.path()), ""};
    EXPECT_EQ(propose(here), (QList<FolderProposal>{{FolderSetting::Html, here.HtmlFolder,
                                                     program.path() + QStringLiteral("html/")}}));
    // A moved absolute folder and "/" separators are matched the same way.
    const SettingsRecord moved{"/gone/away/DATA/", "/gone/away/nothing/", sjis(program.path()), ""};
    EXPECT_EQ(propose(moved), (QList<FolderProposal>{{FolderSetting::Data, moved.DataFolder,
                                                      program.path() + QStringLiteral("Data/")}}));
}

TEST_F(FolderMapping, ElseTheProgramFolderWhenItHoldsWhatTheFolderHolds) {
    const SettingsRecord windows{"D:\\Web\\Tables\\", "D:\\Web\\Tables\\", "D:\\Web\\Tables\\", ""};
    EXPECT_EQ(propose(windows), QList<FolderProposal>());
    program.write(QStringLiteral("price.tbl"), "");
    program.write(QStringLiteral("index.HTML"), "");
    // Pictures are wanted for the image folder; a text file is none.
    program.write(QStringLiteral("notes.txt"), "");
    const QList<FolderProposal> proposals = propose(windows);
    ASSERT_EQ(proposals.size(), 2);
    EXPECT_EQ(proposals[0].setting, FolderSetting::Data);
    EXPECT_EQ(proposals[0].proposed, program.path());
    EXPECT_EQ(proposals[1].setting, FolderSetting::Html);
    program.write(QStringLiteral("Photo.JPG"), "");
    EXPECT_EQ(propose(windows).size(), 3);
    // A name inside Shift-JIS text whose second byte is 0x5C is no separator: "表" stays one name.
    makeFolders({"表"});
    const SettingsRecord trap{"D:\\" + test::Hyo + "\\", sjis(program.path()), sjis(program.path()), ""};
    EXPECT_EQ(propose(trap).value(0).proposed, program.path() + QStringLiteral("表/"));
}

TEST_F(FolderMapping, FolderStatesTellAForeignTextFromAMissingFolder) {
    EXPECT_EQ(folderState(sjis(program.path())), FolderState::Present);
    EXPECT_EQ(folderState(sjis(program.path() + QStringLiteral("gone/"))), FolderState::Missing);
    EXPECT_EQ(folderState("D:\\Web\\"), FolderState::NotOfThisSystem);
    EXPECT_EQ(folderState(""), FolderState::NotOfThisSystem);
    // A file is no folder.
    program.write(QStringLiteral("file"), "");
    EXPECT_EQ(folderState(sjis(program.path() + QStringLiteral("file"))), FolderState::Missing);
}

TEST_F(FolderMapping, ShiftJisNamesAreRenamedAllOrNone) {
    makeFolders({"DATA"});
    const QString data = program.file(QStringLiteral("DATA/"));
    test::writeRawName(program.path(), sjis(QStringLiteral("りんご.jpg")));
    test::writeRawName(data, sjis(QStringLiteral("表.TBL")));
    test::writeRawName(data, sjis(QStringLiteral("みかん.jpg")));
    program.write(QStringLiteral("plain.jpg"), "");
    // The same folder twice is looked at once.
    const QList<NameRepair> repairs = shiftJisNamedFiles({program.path(), data, program.path()});
    ASSERT_EQ(repairs.size(), 3);
    EXPECT_EQ(repairs[0].to, QStringLiteral("りんご.jpg"));
    EXPECT_EQ(repairs[1].folder, data);
    // Byte order: "みかん" (0x82DD) before "表" (0x955C).
    EXPECT_EQ(repairs[1].to, QStringLiteral("みかん.jpg"));
    EXPECT_EQ(repairs[2].to, QStringLiteral("表.TBL"));

    // A UTF-8 name already there stops the last rename: the first two are put back.
    program.write(QStringLiteral("DATA/表.TBL"), "other");
    const std::optional<IoError> failure = repairNames(repairs);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->errorNumber(), EEXIST);
    EXPECT_EQ(failure->path(), data + QStringLiteral("表.TBL"));
    EXPECT_EQ(shiftJisNamedFiles({program.path(), data}).size(), 3);
    EXPECT_FALSE(program.exists(QStringLiteral("りんご.jpg")));
    EXPECT_EQ(program.read(QStringLiteral("DATA/表.TBL")), "other");

    QFile::remove(data + QStringLiteral("表.TBL"));
    EXPECT_FALSE(repairNames(repairs));
    EXPECT_EQ(shiftJisNamedFiles({program.path(), data}), QList<NameRepair>());
    EXPECT_TRUE(program.exists(QStringLiteral("りんご.jpg")));
    EXPECT_TRUE(program.exists(QStringLiteral("DATA/表.TBL")));
}

} // namespace
} // namespace kelvano
