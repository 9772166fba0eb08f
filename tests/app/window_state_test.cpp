// What a window keeps of where the user left it: the editor's title and place, the picture picker's
// folder, the help window's place, each found again by the next opening and the next start.

#include "../entry/jpeg_writer.h"
#include "app/window_links.h"
#include "core/store/program_settings.h"
#include "gui/entry/picture_picker.h"
#include "gui/entry/table_data_editor.h"
#include "gui/main/help_window.h"
#include "gui/main/main_window.h"
#include "gui/shell/file_view.h"
#include "gui/shell/folder_view.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

class WindowState : public testing::Test {
protected:
    /// A program folder with its folders laid out and one table, "0 価格表".
    void prepare(TForm1& form) {
        test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet3"));
        test::click(test::button(form, "Button1"));
        test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet4"));
        test::click(test::button(form, "BitBtn3"));
        test::type(test::edit(form, "Edit4"), QStringLiteral("価格表"));
        test::type(test::edit(form, "Edit5"), QStringLiteral("price"));
        test::click(test::button(form, "BitBtn4"));
    }
    void openTable(TForm1& form) {
        test::clickRow(test::listView(form, "ListView2"), 0);
        test::click(test::button(form, "BitBtn8"));
    }

    test::TempFolder program;
    test::DialogRecorder recorder;
};

TEST_F(WindowState, TheEditorNamesItsTableAndOpensWhereItWasLeft) {
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();
    prepare(form);
    const QRect left(40, 50, 600, 280);
    {
        TForm5 editor;
        EXPECT_EQ(editor.windowTitle(), QStringLiteral("テーブルデータ入力"));
        linkWindows({.Form1 = &form, .Form5 = &editor});
        openTable(form);
        ASSERT_TRUE(editor.isVisible());
        EXPECT_EQ(editor.windowTitle(), QStringLiteral("テーブルデータ入力 - 0 価格表"));
        editor.setGeometry(left);
        test::click(test::button(editor, "BitBtn1"));
        ASSERT_FALSE(editor.isVisible());
    }
    EXPECT_FALSE(ProgramSettings::windowState(program.path(), QStringLiteral("Editor")).isEmpty());
    TForm5 next;
    linkWindows({.Form1 = &form, .Form5 = &next});
    openTable(form);
    EXPECT_EQ(next.geometry(), left);
    EXPECT_TRUE(recorder.shown().isEmpty()) << recorder.texts().join(u'|').toStdString();
}

TEST_F(WindowState, ThePickerOpensOnTheFolderOfTheLastPictureChosen) {
    QDir(program.path()).mkpath(QStringLiteral("photos/sea"));
    program.write(QStringLiteral("photos/sea/wave.jpg"), test::jpegBytes(20, 10, Qt::blue));
    const SettingsRecord settings;
    const QString sea = program.path() + QStringLiteral("photos/sea");
    {
        TForm7 picker;
        picker.OpenFor(PictureUse::RightOfText, settings, program.path());
        EXPECT_EQ(QDir(test::control<TFolderView>(picker, "FolderView1")->SelectedPath()),
                  QDir(program.path()));
        picker.SelectFolder(sea);
        auto* files = test::control<TFileView>(picker, "FileView1");
        const auto found =
            files->findItems(QStringLiteral("wave.jpg"), Qt::MatchExactly, TFileView::NameColumn);
        ASSERT_EQ(found.size(), 1);
        files->setCurrentItem(found.first());
        test::click(test::button(picker, "BitBtn1"));
        // Put away without a choice: the folder noted stays the one a picture came from.
        picker.OpenFor(PictureUse::RightOfText, settings, program.path());
        picker.SelectFolder(program.path());
        QTest::keyClick(files, Qt::Key_Escape);
        EXPECT_FALSE(picker.isVisible());
    }
    TForm7 next;
    next.OpenFor(PictureUse::Background, settings, program.path());
    EXPECT_EQ(QDir(test::control<TFolderView>(next, "FolderView1")->SelectedPath()), QDir(sea));
    // A folder gone since opens the program folder again.
    QDir(sea).removeRecursively();
    TForm7 after;
    after.OpenFor(PictureUse::Background, settings, program.path());
    EXPECT_EQ(QDir(test::control<TFolderView>(after, "FolderView1")->SelectedPath()), QDir(program.path()));
}

TEST_F(WindowState, TheHelpWindowOpensWhereItWasLeftAlsoAfterTheProgramEnded) {
    QDir(program.path()).mkdir(QStringLiteral("help"));
    program.write(QStringLiteral("help/index.html"), "<html><body>目次</body></html>");
    const QRect left(60, 40, 380, 300);
    {
        test::WindowSet windows(program.path());
        TForm1& form = windows.form1();
        form.setHelpFolder(program.file(QStringLiteral("help")));
        test::click(test::button(form, "BitBtn17"));
        form.helpWindow()->setGeometry(left);
        // The program ends with the help shown: its place is noted all the same.
        test::click(test::button(form, "BitBtn7"));
    }
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();
    form.setHelpFolder(program.file(QStringLiteral("help")));
    test::click(test::button(form, "BitBtn17"));
    EXPECT_EQ(form.helpWindow()->geometry(), left);
}

} // namespace
} // namespace kelvano
