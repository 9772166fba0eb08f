#include "core/store/table_definition_file.h"
#include "gui/dialogs/cell_colour_dialog.h"
#include "gui/dialogs/clamping_spin_box.h"
#include "gui/dialogs/table_settings_dialog.h"
#include "gui/main/main_window.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

class BorderAndRowColourTest : public testing::Test {
protected:
    BorderAndRowColourTest() : windows(program.path()), form(windows.form1()) {}

    /// Stores `definition` as table 0 and opens the dialog the main window's button `name` opens.
    void open(TableDefinition definition, const char* name) {
        definition.TableName = "t";
        definition.FileName = "t";
        TableDefinitionFile(program.path()).append(definition);
        form.LoadTableLists();
        test::clickRow(form.findChild<QTableWidget*>(QStringLiteral("ListView1")), 0);
        test::click(form.findChild<QPushButton*>(QString::fromLatin1(name)));
    }
    TableDefinition stored() const { return *TableDefinitionFile(program.path()).read(0); }

    test::TempFolder program;
    test::DialogRecorder recorder;
    test::WindowSet windows;
    TForm1& form;
};

// A borderless table (枠の幅 0) keeps its 0 through the dialog, loaded and typed alike.
TEST_F(BorderAndRowColourTest, ABorderWidthOfZeroIsKept) {
    TableDefinition borderless;
    borderless.BorderWidth = 0;
    open(borderless, "Button2");
    TForm3& dialog = windows.form3();
    EXPECT_EQ(test::spinEdit(dialog, "SpinEdit1")->value(), 0);
    recorder.answerNext(true);
    test::click(test::button(dialog, "Button4"));
    EXPECT_EQ(stored().BorderWidth, 0);

    test::click(form.findChild<QPushButton*>(QStringLiteral("Button2")));
    test::spinEdit(dialog, "SpinEdit1")->setValue(5);
    test::focus(test::spinEdit(dialog, "SpinEdit1"));
    test::spinEdit(dialog, "SpinEdit1")->selectAll();
    test::type(test::spinEdit(dialog, "SpinEdit1"), QStringLiteral("0"));
    test::focus(test::spinEdit(dialog, "SpinEdit5"));
    recorder.answerNext(true);
    test::click(test::button(dialog, "Button4"));
    EXPECT_EQ(stored().BorderWidth, 0);
}

// A row colour added by raising the count starts white on black, whatever the slot held before.
TEST_F(BorderAndRowColourTest, ANewRowColourIsBlackOnWhite) {
    TableDefinition definition;
    definition.RowBackColours[1] = 0x123456;
    definition.RowTextColours[1] = 0x654321;
    open(definition, "Button3");
    test::spinEdit(windows.form4(), "SpinEdit2")->setValue(2);
    form.GatherDefinition();
    EXPECT_EQ(form.currentDefinition().RowColourCount, 2);
    EXPECT_EQ(form.currentDefinition().RowBackColours[1], TableDefinition::White);
    EXPECT_EQ(form.currentDefinition().RowTextColours[1], 0u);
}

} // namespace
} // namespace kelvano
