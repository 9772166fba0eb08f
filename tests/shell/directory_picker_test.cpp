#include "gui/shell/directory_picker.h"
#include "gui/shell/file_view.h"
#include "gui/shell/folder_view.h"
#include "shell_fixture.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <unistd.h>

namespace kelvano {
namespace {

using namespace Qt::Literals::StringLiterals;

class DirectoryPickerTest : public test::ShellFixture {
protected:
    void confirm() { QTest::mouseClick(button(), Qt::LeftButton); }
    QPushButton* button() const { return test::button(picker, "Button1"); }
    TFolderView* tree() const { return test::control<TFolderView>(picker, "FolderView1"); }
    TFileView* files() const { return test::control<TFileView>(picker, "FileView1"); }

    test::DialogRecorder dialogs;
    TForm2 picker;
};

TEST_F(DirectoryPickerTest, WindowAndItsControls) {
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("ディレクトリ参照"));
    EXPECT_EQ(picker.size(), QSize(718, 408));
    EXPECT_EQ(picker.pickTarget(), FolderTarget::None);
    EXPECT_EQ(tree()->FileView(), files());
    EXPECT_TRUE(files()->FileExecute());
    EXPECT_TRUE(files()->Mask().isEmpty());
    EXPECT_EQ(button()->text(), QStringLiteral("設定"));
    EXPECT_EQ(button()->geometry(), QRect(32, 408 - 60, 75, 25));
    picker.show();
    picker.resize(600, 300);
    QApplication::processEvents();
    EXPECT_EQ(button()->y(), 240) << "the button stays near the bottom of the tree";
}

TEST_F(DirectoryPickerTest, ConfirmingAWritableFolderHandsItOnWithASeparator) {
    QSignalSpy picked(&picker, &TForm2::folderPicked);
    folder.write(QStringLiteral("docs/TAVELO.TST"), "an older test file");
    picker.Open(path(u"docs") + u'/', FolderTarget::DataFolder);
    EXPECT_TRUE(picker.isVisible());
    EXPECT_EQ(picker.pickTarget(), FolderTarget::DataFolder);
    EXPECT_EQ(tree()->SelectedPath(), path(u"docs"));
    EXPECT_EQ(files()->topLevelItemCount(), 4);

    confirm();
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.first().at(0).value<FolderTarget>(), FolderTarget::DataFolder);
    EXPECT_EQ(picked.first().at(1).toString(), path(u"docs/"));
    EXPECT_FALSE(folder.exists(QStringLiteral("docs/TAVELO.TST"))) << "the test file is gone";
    EXPECT_EQ(picker.pickTarget(), FolderTarget::None);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_TRUE(dialogs.shown().isEmpty());

    for (FolderTarget target : {FolderTarget::HtmlFolder, FolderTarget::ImageFolder}) {
        picker.Open(path(u"photos"), target);
        confirm();
        EXPECT_EQ(picked.last().at(0).value<FolderTarget>(), target);
        EXPECT_EQ(picked.last().at(1).toString(), path(u"photos/"));
    }
}

TEST_F(DirectoryPickerTest, TheRootGetsASecondSeparator) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs write access to the root folder";
    }
    QSignalSpy picked(&picker, &TForm2::folderPicked);
    picker.Open(QStringLiteral("/"), FolderTarget::HtmlFolder);
    confirm();
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.first().at(1).toString(), QStringLiteral("//"));
    EXPECT_FALSE(QFile::exists(QStringLiteral("/TAVELO.TST")));
}

TEST_F(DirectoryPickerTest, AFolderThatTakesNoFileIsRefusedAndThePickerStaysOpen) {
    QSignalSpy picked(&picker, &TForm2::folderPicked);
    picker.Open(path(u"empty"), FolderTarget::HtmlFolder);
    QDir(path(u"empty")).removeRecursively();
    confirm();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown().first().message.text, QStringLiteral("そのディレクトリは設定出来ません"));
    EXPECT_EQ(dialogs.shown().first().message.caption, QStringLiteral("TAVELO"));
    EXPECT_EQ(dialogs.shown().first().message.icon, MessageIcon::Error);
    EXPECT_EQ(dialogs.shown().first().ownerName, QStringLiteral("Form2"));
    EXPECT_EQ(picked.count(), 0);
    EXPECT_EQ(picker.pickTarget(), FolderTarget::HtmlFolder);
    EXPECT_TRUE(picker.isVisible());

    // The desktop is no file-system folder.
    dialogs.clear();
    picker.Open(FileSystemNamespace::DesktopParsingName, FolderTarget::DataFolder);
    EXPECT_EQ(tree()->SelectedPath(), FileSystemNamespace::DesktopParsingName);
    confirm();
    EXPECT_EQ(dialogs.texts(), QStringList{u"そのディレクトリは設定出来ません"_s});
    EXPECT_EQ(picked.count(), 0);
}

TEST_F(DirectoryPickerTest, AFolderWhereTheTestFileCannotBeMadeIsRefused) {
    // A folder in the way of the test file stops its creation whoever runs the tests, root included.
    ASSERT_TRUE(QDir(path(u"docs")).mkdir(u"TAVELO.TST"_s));
    picker.Open(path(u"docs"), FolderTarget::DataFolder);
    confirm();
    EXPECT_EQ(dialogs.texts(), QStringList{u"そのディレクトリは設定出来ません"_s});
    EXPECT_EQ(picker.pickTarget(), FolderTarget::DataFolder);
    EXPECT_TRUE(QFileInfo(path(u"docs/TAVELO.TST")).isDir());
}

TEST_F(DirectoryPickerTest, AFolderWhoseNameCannotBeStoredIsRefused) {
    ASSERT_TRUE(QDir(path()).mkdir(u"café"_s));
    QSignalSpy picked(&picker, &TForm2::folderPicked);
    picker.Open(path(u"café"), FolderTarget::HtmlFolder);
    confirm();
    EXPECT_EQ(picked.count(), 0);
    EXPECT_EQ(dialogs.texts(), QStringList{u"そのディレクトリは設定出来ません"_s});
    EXPECT_FALSE(QFile::exists(path(u"café/TAVELO.TST")));
}

TEST_F(DirectoryPickerTest, AnUnknownStartFolderKeepsTheTreesSelection) {
    picker.Open(path(u"photos"), FolderTarget::DataFolder);
    picker.Open(path(u"nowhere"), FolderTarget::HtmlFolder);
    EXPECT_EQ(tree()->SelectedPath(), path(u"photos"));
    EXPECT_EQ(picker.pickTarget(), FolderTarget::HtmlFolder);
}

} // namespace
} // namespace kelvano
