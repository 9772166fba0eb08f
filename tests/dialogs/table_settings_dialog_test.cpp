#include "core/store/table_definition_file.h"
#include "gui/dialogs/clamping_spin_box.h"
#include "gui/dialogs/table_settings_dialog.h"
#include "gui/main/main_window.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

class TableSettingsDialogTest : public testing::Test {
protected:
    TableSettingsDialogTest() : windows(program.path()), form(windows.form1()), dialog(windows.form3()) {
        TableDefinition definition;
        definition.TableName = "t";
        definition.FileName = "t";
        TableDefinitionFile(program.path()).append(definition);
        TableDefinitionFile(program.path()).append(definition);
        form.LoadTableLists();
        test::clickRow(test::listView(form, "ListView1"), 1);
        test::click(test::button(form, "Button2"));
    }
    TableDefinition stored(int number) const { return *TableDefinitionFile(program.path()).read(number); }

    test::TempFolder program;
    test::DialogRecorder recorder;
    test::WindowSet windows;
    TForm1& form;
    TForm3& dialog;
};

TEST_F(TableSettingsDialogTest, StartsWithTheValuesOfANewDefinition) {
    TForm3 fresh;
    EXPECT_EQ(fresh.windowTitle(), QStringLiteral("テーブル詳細設定"));
    EXPECT_EQ(fresh.size(), QSize(569, 242));
    TableDefinition gathered;
    gathered.BorderWidth = 33;
    gathered.TableWidth = "50%";
    fresh.gatherInto(gathered);
    EXPECT_EQ(gathered, TableDefinition());
    EXPECT_TRUE(test::button(fresh, "Button1")->isEnabled());
    EXPECT_FALSE(test::button(fresh, "Button2")->isEnabled());
    EXPECT_FALSE(test::button(fresh, "Button3")->isEnabled());
    EXPECT_EQ(test::spinEdit(fresh, "SpinEdit3")->value(), 100);
    EXPECT_EQ(test::spinEdit(fresh, "SpinEdit4")->value(), 400);
    EXPECT_TRUE(test::spinEdit(fresh, "SpinEdit3")->isEnabled());
    EXPECT_FALSE(test::spinEdit(fresh, "SpinEdit4")->isEnabled());
}

TEST_F(TableSettingsDialogTest, ColourButtonsWriteRedGreenBlueAndTheThreeDTickSwapsTheFields) {
    recorder.chooseNext(QColor(255, 255, 255));
    test::click(test::button(dialog, "Button1"));
    EXPECT_EQ(test::edit(dialog, "Edit1")->text(), QStringLiteral("FFFFFF"));
    recorder.chooseNext(QColor(0x12, 0x34, 0x56));
    test::click(test::button(dialog, "Button1"));
    EXPECT_EQ(test::edit(dialog, "Edit1")->text(), QStringLiteral("123456"));
    recorder.chooseNext(std::nullopt);
    test::click(test::button(dialog, "Button1"));
    EXPECT_EQ(test::edit(dialog, "Edit1")->text(), QStringLiteral("123456"));

    test::click(test::checkBox(dialog, "CheckBox2"));
    EXPECT_FALSE(test::edit(dialog, "Edit1")->isEnabled());
    EXPECT_FALSE(test::button(dialog, "Button1")->isEnabled());
    EXPECT_TRUE(test::button(dialog, "Button2")->isEnabled());
    EXPECT_TRUE(test::edit(dialog, "Edit4")->isEnabled());
    EXPECT_EQ(test::edit(dialog, "Edit1")->text(), QStringLiteral("123456"));
    recorder.chooseNext(QColor(0xFF, 0x80, 0x00));
    test::click(test::button(dialog, "Button2"));
    recorder.chooseNext(QColor(0, 0, 0));
    test::click(test::button(dialog, "Button3"));

    const TableDefinition other = stored(0);
    recorder.answerNext(true);
    test::click(test::button(dialog, "Button4"));
    const TableDefinition saved = stored(1);
    EXPECT_TRUE(saved.Use3DColours);
    EXPECT_EQ(saved.BorderColour, QByteArray("123456"));
    EXPECT_EQ(saved.LightColour, QByteArray("FF8000"));
    EXPECT_EQ(saved.DarkColour, QByteArray("000000"));
    EXPECT_EQ(stored(0), other);
    EXPECT_EQ(stored(0).BorderColour, QByteArray());
}

TEST_F(TableSettingsDialogTest, AColourIsChosenWithTheButtonAndClearedBackToNone) {
    QLineEdit* border = test::edit(dialog, "Edit1");
    EXPECT_TRUE(border->isReadOnly());
    EXPECT_EQ(border->palette().color(QPalette::Active, QPalette::Base),
              border->palette().color(QPalette::Active, QPalette::Window));
    QAction* clear = border->findChild<QAction*>(QStringLiteral("Edit1Clear"));
    ASSERT_NE(clear, nullptr);
    EXPECT_FALSE(clear->isEnabled()) << "no colour, nothing to clear";
    EXPECT_EQ(border->contextMenuPolicy(), Qt::ActionsContextMenu);
    QTest::keyClicks(border, QStringLiteral("abc"));
    EXPECT_EQ(border->text(), QString());
    recorder.chooseNext(QColor(0x12, 0x34, 0x56));
    test::click(test::button(dialog, "Button1"));
    EXPECT_TRUE(clear->isEnabled());
    clear->trigger();
    EXPECT_EQ(border->text(), QString());
    EXPECT_FALSE(clear->isEnabled());

    // Delete and Backspace clear the light and dark colours too; the cleared colours are stored as none.
    test::click(test::checkBox(dialog, "CheckBox2"));
    recorder.chooseNext(QColor(0xFF, 0x80, 0x00));
    test::click(test::button(dialog, "Button2"));
    recorder.chooseNext(QColor(0, 0, 0));
    test::click(test::button(dialog, "Button3"));
    recorder.answerNext(true);
    test::click(test::button(dialog, "Button4"));
    EXPECT_EQ(stored(1).LightColour, QByteArray("FF8000"));
    QTest::keyClick(test::edit(dialog, "Edit3"), Qt::Key_Delete);
    QTest::keyClick(test::edit(dialog, "Edit4"), Qt::Key_Backspace);
    recorder.answerNext(true);
    test::click(test::button(dialog, "Button4"));
    const TableDefinition saved = stored(1);
    EXPECT_EQ(saved.BorderColour, QByteArray());
    EXPECT_EQ(saved.LightColour, QByteArray());
    EXPECT_EQ(saved.DarkColour, QByteArray());
}

TEST_F(TableSettingsDialogTest, WidthOptionsAndSpinFieldsGiveTheStoredValues) {
    test::click(test::radioButton(dialog, "RadioButton4"));
    EXPECT_FALSE(test::spinEdit(dialog, "SpinEdit3")->isEnabled());
    EXPECT_TRUE(test::spinEdit(dialog, "SpinEdit4")->isEnabled());
    test::spinEdit(dialog, "SpinEdit4")->setValue(640);

    // A typed value outside the range becomes the nearest bound when the field is left; a text that is
    // not a number reads as the minimum.
    test::focus(test::spinEdit(dialog, "SpinEdit1"));
    test::spinEdit(dialog, "SpinEdit1")->selectAll();
    test::type(test::spinEdit(dialog, "SpinEdit1"), QStringLiteral("70"));
    test::focus(test::spinEdit(dialog, "SpinEdit5"));
    EXPECT_EQ(test::spinEdit(dialog, "SpinEdit1")->value(), 50);
    test::spinEdit(dialog, "SpinEdit5")->selectAll();
    QTest::keyClick(test::spinEdit(dialog, "SpinEdit5"), Qt::Key_Delete);
    test::focus(test::spinEdit(dialog, "SpinEdit6"));
    EXPECT_EQ(test::spinEdit(dialog, "SpinEdit5")->value(), 0);

    test::type(test::edit(dialog, "Edit2"), QStringLiteral("表題"));
    test::click(test::radioButton(dialog, "RadioButton2"));
    test::click(test::checkBox(dialog, "CheckBox1"));
    recorder.answerNext(true);
    test::click(test::button(dialog, "Button4"));
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(recorder.shown().size(), 1);
    EXPECT_EQ(recorder.shown().first().message.text, QStringLiteral("設定を保存しますか？"));
    EXPECT_EQ(recorder.shown().first().message.icon, MessageIcon::None);
    EXPECT_TRUE(recorder.shown().first().question);
    TableDefinition saved = stored(1);
    EXPECT_EQ(saved.TableWidth, QByteArray("640"));
    EXPECT_EQ(saved.BorderWidth, 50);
    EXPECT_EQ(saved.CellSpacing, 0);
    EXPECT_FALSE(saved.CaptionOnTop);
    EXPECT_FALSE(saved.ShowEmptyCells);
    EXPECT_EQ(saved.CaptionText, QByteArray("\x95\x5c\x91\xe8"));

    test::click(test::button(form, "Button2"));
    test::click(test::radioButton(dialog, "RadioButton5"));
    recorder.answerNext(true);
    test::click(test::button(dialog, "Button4"));
    EXPECT_EQ(stored(1).TableWidth, QByteArray());
}

TEST_F(TableSettingsDialogTest, NoLeavesTheFileAndAWindowWithoutANumberWritesNothing) {
    const QByteArray before = program.read(QStringLiteral("TABLE.DAT"));
    test::spinEdit(dialog, "SpinEdit1")->setValue(9);
    test::click(test::button(dialog, "Button4"));
    EXPECT_EQ(program.read(QStringLiteral("TABLE.DAT")), before);
    EXPECT_EQ(form.currentDefinition().BorderWidth, 9);
    // "登録・変更" on the main window then stores what the dialog holds.
    test::click(test::button(form, "BitBtn4"));
    EXPECT_EQ(stored(1).BorderWidth, 9);
    EXPECT_EQ(stored(0).BorderWidth, 1);

    // The main window was reset while the dialog was open: Yes has no record to write.
    recorder.clear();
    test::clickRow(test::listView(form, "ListView1"), 1);
    test::click(test::button(form, "Button2"));
    test::click(test::button(form, "BitBtn3"));
    test::spinEdit(dialog, "SpinEdit1")->setValue(30);
    const QByteArray afterRegister = program.read(QStringLiteral("TABLE.DAT"));
    recorder.answerNext(true);
    test::click(test::button(dialog, "Button4"));
    EXPECT_EQ(program.read(QStringLiteral("TABLE.DAT")), afterRegister);
    EXPECT_EQ(recorder.texts().last(), QStringLiteral("テーブルを選択してください"));
    EXPECT_EQ(form.currentDefinition().BorderWidth, 30);
}

} // namespace
} // namespace kelvano
