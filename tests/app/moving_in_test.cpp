#include "core/store/settings_file.h"
#include "core/store/shift_jis.h"
#include "core/store/snippet_store.h"
#include "gui/base/folder_target.h"
#include "gui/main/main_window.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::sjis;

const QByteArray WindowsData = "D:\\Web\\Tables\\DATA\\";
const QByteArray WindowsHtml = "D:\\Web\\Tables\\HTML\\";
const QByteArray WindowsImages = "D:\\Web\\Tables\\HTML\\GRPH\\";

/// A program folder brought from a Windows computer: its TAVELO.DAT names the folders there, and its
/// data folder holds one header, in folders spelled in another case.
class MovingIn : public testing::Test {
protected:
    void SetUp() override {
        program.write(QStringLiteral("TAVELO.DAT"),
                      SettingsRecord{WindowsData, WindowsHtml, WindowsImages, "GRPH/"}.encode());
        ASSERT_TRUE(QDir().mkpath(program.file(QStringLiteral("data"))));
        ASSERT_TRUE(QDir().mkpath(program.file(QStringLiteral("HTML/grph"))));
        program.write(QStringLiteral("data/head.dat"), SnippetIndexRecord{"top", false}.encode());
    }
    QLabel* mark(TForm1& form, const char* name) const { return test::control<QLabel>(form, name); }
    QString question() const {
        return recorder.shown().isEmpty() ? QString() : recorder.shown().first().message.text;
    }

    test::TempFolder program;
    test::DialogRecorder recorder;
};

TEST_F(MovingIn, NoLeavesTheFoldersAsTheyAreMarkedAndCreatesNothingInTheWorkingFolder) {
    const test::WorkingFolder working;
    recorder.answerNext(false);
    {
        test::WindowSet windows(program.path());
        TForm1& form = windows.form1();
        // The question, then what a missing data folder has always brought.
        ASSERT_EQ(recorder.shown().size(), 2);
        EXPECT_EQ(recorder.shown().last().message.text, Messages::CheckFolderSettings);
        EXPECT_TRUE(recorder.shown().first().question);
        EXPECT_EQ(recorder.shown().first().enterAnswers, Answer::Yes);
        EXPECT_EQ(question(),
                  QStringLiteral("保存されているフォルダが見つかりません。次のフォルダを使いますか？\n"
                                 "  データ: D:\\Web\\Tables\\DATA\\ → %1data/\n"
                                 "  HTML: D:\\Web\\Tables\\HTML\\ → %1HTML/\n"
                                 "  画像: D:\\Web\\Tables\\HTML\\GRPH\\ → %1HTML/grph/")
                      .arg(program.path()));
        EXPECT_EQ(test::edit(form, "Edit1")->text(), QStringLiteral("D:\\Web\\Tables\\DATA\\"));
        EXPECT_EQ(test::listView(form, "ListView3")->rowCount(), 0);
        // Each field shows why its folder cannot be used.
        for (const char* name : {"FolderMark1", "FolderMark2", "FolderMark6"}) {
            EXPECT_TRUE(mark(form, name)->isVisibleTo(test::tabSheet(form, "TabSheet3"))) << name;
            EXPECT_EQ(mark(form, name)->toolTip(), Messages::FolderNotOfThisSystem);
        }
        // A folder typed and accepted takes its mark away; a missing one gets the other reason.
        test::edit(form, "Edit2")->setText(program.file(QStringLiteral("HTML/")));
        test::edit(form, "Edit6")->setText(program.file(QStringLiteral("gone/")));
        form.FolderPicked(FolderTarget::HtmlFolder, program.file(QStringLiteral("HTML/")));
        EXPECT_FALSE(mark(form, "FolderMark2")->isVisibleTo(test::tabSheet(form, "TabSheet3")));
        EXPECT_EQ(mark(form, "FolderMark6")->toolTip(), Messages::FolderMissing);
        form.close();
    }
    EXPECT_EQ(working.entries(), QStringList());
    EXPECT_EQ(SettingsFile::read(program.path()).DataFolder, WindowsData);
}

TEST_F(MovingIn, YesKeepsTheProgramFoldersFoldersAndReadsTheListsFromThem) {
    const test::WorkingFolder working;
    recorder.answerNext(true);
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();
    ASSERT_EQ(recorder.shown().size(), 1);
    // Kept at once, before the program ends.
    const SettingsRecord kept = SettingsFile::read(program.path());
    EXPECT_EQ(kept, (SettingsRecord{sjis(program.path() + QStringLiteral("data/")),
                                    sjis(program.path() + QStringLiteral("HTML/")),
                                    sjis(program.path() + QStringLiteral("HTML/grph/")), "GRPH/"}));
    EXPECT_EQ(test::edit(form, "Edit6")->text(), program.path() + QStringLiteral("HTML/grph/"));
    EXPECT_EQ(test::columnTexts(test::listView(form, "ListView3"), 1), QStringList{QStringLiteral("top")});
    for (const char* name : {"FolderMark1", "FolderMark2", "FolderMark6"}) {
        EXPECT_FALSE(mark(form, name)->isVisibleTo(test::tabSheet(form, "TabSheet3"))) << name;
    }
    EXPECT_EQ(working.entries(), QStringList());
}

TEST_F(MovingIn, ShiftJisFileNamesAreOfferedFirstAndRenamedWithTheFolders) {
    const QByteArray ringo = sjis(QStringLiteral("りんご.jpg"));
    const QByteArray raw = test::writeRawName(program.file(QStringLiteral("HTML/grph/")), ringo);
    recorder.answerNext(true);
    {
        test::WindowSet windows(program.path());
        EXPECT_TRUE(question().startsWith(
            QStringLiteral("ファイル名の文字コードを直す（Shift-JIS → UTF-8）:\n  %1HTML/grph/りんご.jpg\n\n"
                           "保存されているフォルダが見つかりません。")
                .arg(program.path())))
            << question().toStdString();
    }
    EXPECT_TRUE(program.exists(QStringLiteral("HTML/grph/りんご.jpg")));
    EXPECT_TRUE(QFile::exists(QFile::decodeName(raw)) == false);

    // Later starts find nothing to offer and ask nothing.
    recorder.clear();
    test::WindowSet again(program.path());
    EXPECT_TRUE(recorder.shown().isEmpty()) << question().toStdString();
}

TEST_F(MovingIn, ShiftJisNamesAloneAreOfferedWithoutFoldersAndNoKeepsThem) {
    program.write(QStringLiteral("TAVELO.DAT"), SettingsRecord{sjis(program.path() + QStringLiteral("data/")),
                                                               sjis(program.path()), sjis(program.path()), ""}
                                                    .encode());
    test::writeRawName(program.path(), sjis(QStringLiteral("表.html")));
    {
        test::WindowSet windows(program.path());
        EXPECT_EQ(question(),
                  QStringLiteral("ファイル名の文字コードを直す（Shift-JIS → UTF-8）:\n  %1表.html\n\n"
                                 "ファイル名を直しますか？")
                      .arg(program.path()));
    }
    EXPECT_FALSE(program.exists(QStringLiteral("表.html")));
}

} // namespace
} // namespace kelvano
