#include "app/window_links.h"
#include "core/store/shift_jis.h"
#include "gui/entry/picture_picker.h"
#include "gui/main/main_window.h"
#include "gui/shell/directory_picker.h"
#include "gui/shell/folder_view.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

/// The main window with both pickers, linked as the program links them.
class FolderSettingsLink : public testing::Test {
protected:
    FolderSettingsLink() : windowSet(program.path()), form(windowSet.form1()) {
        QDir(program.path()).mkpath(QStringLiteral("site/pictures"));
        linkWindows({.Form1 = &form, .Form2 = &directoryPicker, .Form7 = &picturePicker});
    }

    QString folder(const char* name) const {
        return QDir::cleanPath(program.file(QString::fromLatin1(name)));
    }

    test::TempFolder program;
    test::DialogRecorder dialogs;
    test::WindowSet windowSet;
    TForm1& form;
    TForm2 directoryPicker;
    TForm7 picturePicker;
};

TEST_F(FolderSettingsLink, EachBrowseButtonFillsItsOwnFieldAndSetting) {
    const struct {
        QPushButton* button;
        QLineEdit* field;
        FolderTarget target;
        const char* chosen;
    } rows[] = {
        {test::button(form, "BitBtn1"), test::edit(form, "Edit1"), FolderTarget::DataFolder, "site"},
        {test::button(form, "BitBtn2"), test::edit(form, "Edit2"), FolderTarget::HtmlFolder, "site/pictures"},
        {test::button(form, "BitBtn10"), test::edit(form, "Edit6"), FolderTarget::ImageFolder,
         "site/pictures"}};
    TFolderView* const tree = test::control<TFolderView>(directoryPicker, "FolderView1");
    for (const auto& row : rows) {
        test::click(row.button);
        ASSERT_TRUE(directoryPicker.isVisible());
        EXPECT_EQ(directoryPicker.pickTarget(), row.target);
        EXPECT_EQ(tree->SelectedPath(), QDir::cleanPath(row.field->text()))
            << "the tree starts on the field's folder";
        tree->SelectPath(folder(row.chosen));
        test::click(test::button(directoryPicker, "Button1"));
        EXPECT_FALSE(directoryPicker.isVisible());
        EXPECT_EQ(row.field->text(), folder(row.chosen) + u'/');
    }
    EXPECT_EQ(form.settings().DataFolder, ShiftJis::encode(folder("site") + u'/').bytes);
    EXPECT_EQ(form.settings().HtmlFolder, ShiftJis::encode(folder("site/pictures") + u'/').bytes);
    EXPECT_EQ(form.settings().ImageFolder, ShiftJis::encode(folder("site/pictures") + u'/').bytes);
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(FolderSettingsLink, DoubleClickOnTheDataListPointsThePicturePickerAtTheHtmlFolder) {
    test::edit(form, "Edit2")->setText(folder("site/pictures") + u'/');
    QTest::mouseDClick(test::listView(form, "ListView2")->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(test::control<TFolderView>(picturePicker, "FolderView1")->SelectedPath(),
              folder("site/pictures"));
}

} // namespace
} // namespace kelvano
