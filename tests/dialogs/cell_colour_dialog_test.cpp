#include "core/store/table_definition_file.h"
#include "gui/dialogs/cell_colour_dialog.h"
#include "gui/dialogs/clamping_spin_box.h"
#include "gui/dialogs/strip_image.h"
#include "gui/main/main_window.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

class CellColourDialogTest : public testing::Test {
protected:
    CellColourDialogTest() : windows(program.path()), form(windows.form1()), dialog(windows.form4()) {
        TableDefinition definition;
        definition.TableName = "t";
        definition.FileName = "t";
        TableDefinitionFile(program.path()).append(definition);
        form.LoadTableLists();
        test::clickRow(test::listView(form, "ListView1"), 0);
        test::click(test::button(form, "Button3"));
    }
    TableDefinition gathered() {
        form.GatherDefinition();
        return form.currentDefinition();
    }
    /// A click in a band (0 colours, 1-2 alignment, 3 size) of a slot of the column strip.
    void clickColumn(int slot, int band, Qt::MouseButton button) {
        QTest::mouseClick(test::control<StripImage>(dialog, "Image1"), button, {},
                          {50 * slot + 25, 20 * band + 10});
    }
    static void movePointer(QWidget* surface, QPoint position) {
        QMouseEvent move(QEvent::MouseMove, position, surface->mapToGlobal(position), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(surface, &move);
    }
    bool isDark(const QImage& image, int x, int y) const { return qGray(image.pixel(x, y)) < 128; }

    test::TempFolder program;
    test::DialogRecorder recorder;
    test::WindowSet windows;
    TForm1& form;
    TForm4& dialog;
};

TEST_F(CellColourDialogTest, AlignmentCyclesBothWaysAndTheCircleFollows) {
    const QImage& strip = test::control<StripImage>(dialog, "Image1")->canvas();
    // The outline's left edge of the top-left circle, then of the bottom-right one.
    EXPECT_TRUE(isDark(strip, 4, 30));
    EXPECT_FALSE(isDark(strip, 33, 50));
    QList<int> seen;
    for (int click = 0; click < 9; ++click) {
        clickColumn(0, 1, Qt::RightButton);
        seen.append(gathered().ColumnAlignments[0]);
    }
    EXPECT_EQ(seen, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 0}));
    clickColumn(0, 2, Qt::LeftButton);
    EXPECT_EQ(gathered().ColumnAlignments[0], 8);
    EXPECT_TRUE(isDark(strip, 33, 50));
    EXPECT_FALSE(isDark(strip, 4, 30));
    clickColumn(0, 2, Qt::MiddleButton);
    EXPECT_EQ(gathered().ColumnAlignments[0], 0);
    clickColumn(0, 1, Qt::LeftButton);
    clickColumn(0, 1, Qt::LeftButton);
    EXPECT_EQ(gathered().ColumnAlignments[0], 7);
}

TEST_F(CellColourDialogTest, FontSizesStopAtTheirBounds) {
    for (int click = 0; click < 20; ++click) {
        clickColumn(0, 3, Qt::RightButton);
    }
    EXPECT_EQ(gathered().ColumnFontSizes[0], 14);
    for (int click = 0; click < 40; ++click) {
        clickColumn(0, 3, Qt::LeftButton);
    }
    EXPECT_EQ(gathered().ColumnFontSizes[0], -14);
}

TEST_F(CellColourDialogTest, AScrolledStripActsOnTheColumnsItShows) {
    // A one-column definition with one row colour leaves nothing to scroll to, loaded or new.
    EXPECT_EQ(test::scrollBar(dialog, "ScrollBar1")->maximum(), 0);
    EXPECT_EQ(test::scrollBar(dialog, "ScrollBar2")->maximum(), 0);
    test::spinEdit(dialog, "SpinEdit1")->setValue(3);
    test::click(test::button(form, "BitBtn3"));
    EXPECT_EQ(test::scrollBar(dialog, "ScrollBar1")->maximum(), 0);
    test::spinEdit(dialog, "SpinEdit1")->setValue(12);
    EXPECT_EQ(test::scrollBar(dialog, "ScrollBar1")->maximum(), 11);
    test::scrollBar(dialog, "ScrollBar1")->setValue(5);
    recorder.chooseNext(QColor(0x12, 0x34, 0x56));
    clickColumn(2, 0, Qt::RightButton);
    recorder.chooseNext(QColor(0xFF, 0x80, 0x00));
    clickColumn(2, 0, Qt::LeftButton);
    clickColumn(2, 1, Qt::RightButton);
    const TableDefinition definition = gathered();
    EXPECT_EQ(definition.ColumnTextColours[7], 0x563412u);
    EXPECT_EQ(definition.ColumnBackColours[7], 0x0080FFu);
    EXPECT_EQ(definition.ColumnAlignments[7], 1);
    EXPECT_EQ(definition.ColumnAlignments[2], 0);
    EXPECT_EQ(definition.ColumnCount, 12);

    // Slot 7 would show column 12, which the table does not have: it stays blank and ignores clicks.
    const QImage& strip = test::control<StripImage>(dialog, "Image1")->canvas();
    for (int x = 350; x < 400; x += 7) {
        for (int y = 0; y < 80; y += 5) {
            EXPECT_EQ(strip.pixel(x, y), qRgb(255, 255, 255));
        }
    }
    clickColumn(7, 1, Qt::RightButton);
    EXPECT_EQ(gathered().ColumnAlignments, definition.ColumnAlignments);
    // The swatch of slot 2 shows column 7's background.
    EXPECT_EQ(strip.pixel(50 * 2 + 30, 12), qRgb(0xFF, 0x80, 0x00));

    // The pointer over a column draws a blue frame around its slot.
    movePointer(test::control<StripImage>(dialog, "Image1"), {130, 50});
    EXPECT_EQ(strip.pixel(101, 40), qRgb(0, 0, 255));
    movePointer(test::control<StripImage>(dialog, "Image1"), {30, 50});
    EXPECT_NE(strip.pixel(101, 40), qRgb(0, 0, 255));
}

TEST_F(CellColourDialogTest, ChangingACountResetsTheNewLastEntry) {
    recorder.chooseNext(QColor(Qt::red));
    recorder.chooseNext(QColor(Qt::green));
    test::spinEdit(dialog, "SpinEdit1")->setValue(3);
    clickColumn(2, 0, Qt::LeftButton);
    clickColumn(2, 0, Qt::RightButton);
    test::spinEdit(dialog, "SpinEdit1")->setValue(4);
    test::spinEdit(dialog, "SpinEdit1")->setValue(3);
    TableDefinition definition = gathered();
    EXPECT_EQ(definition.ColumnBackColours[2], 0xFFFFFFu);
    EXPECT_EQ(definition.ColumnTextColours[2], 0u);
    EXPECT_EQ(definition.ColumnBackColours[3], 0xFFFFFFu);

    test::spinEdit(dialog, "SpinEdit2")->setValue(2);
    recorder.chooseNext(QColor(0, 0, 255));
    QTest::mouseClick(test::control<StripImage>(dialog, "Image2"), Qt::LeftButton, {}, {25, 30});
    recorder.chooseNext(QColor(0, 0, 255));
    QTest::mouseClick(test::control<StripImage>(dialog, "Image2"), Qt::RightButton, {}, {25, 30});
    // The third slot is beyond the row colours: no colour dialog opens.
    recorder.chooseNext(QColor(Qt::red));
    QTest::mouseClick(test::control<StripImage>(dialog, "Image2"), Qt::LeftButton, {}, {25, 50});
    definition = gathered();
    EXPECT_EQ(definition.RowBackColours[1], 0xFF0000u);
    EXPECT_EQ(definition.RowTextColours[1], 0xFF0000u);
    EXPECT_EQ(definition.RowBackColours[2], 0xFFFFFFu);
    EXPECT_EQ(definition.RowColourCount, 2);
    EXPECT_EQ(test::scrollBar(dialog, "ScrollBar2")->maximum(), 1);
    EXPECT_EQ(test::control<StripImage>(dialog, "Image2")->canvas().pixel(30, 30), qRgb(0, 0, 255));
}

TEST_F(CellColourDialogTest, TheModeTicksWorkAsAPairStraightIntoTheDefinition) {
    TableDefinition& current = form.currentDefinition();
    EXPECT_TRUE(test::checkBox(dialog, "CheckBox1")->isChecked());
    test::click(test::checkBox(dialog, "CheckBox3"));
    EXPECT_FALSE(test::checkBox(dialog, "CheckBox1")->isChecked());
    EXPECT_TRUE(current.RowColourMode);
    EXPECT_FALSE(current.ColumnColourMode);
    test::click(test::checkBox(dialog, "CheckBox3"));
    EXPECT_TRUE(current.ColumnColourMode);
    EXPECT_FALSE(current.RowColourMode);
    test::click(test::checkBox(dialog, "CheckBox1"));
    test::click(test::checkBox(dialog, "CheckBox1"));
    EXPECT_FALSE(test::checkBox(dialog, "CheckBox1")->isChecked());
    EXPECT_FALSE(test::checkBox(dialog, "CheckBox3")->isChecked());
    EXPECT_TRUE(current.RowColourMode);

    // No, then "登録・変更" on the main window stores the mode the ticks left.
    test::click(test::button(dialog, "Button2"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(TableDefinitionFile(program.path()).read(0)->RowColourMode);
    test::click(test::button(form, "BitBtn4"));
    EXPECT_TRUE(TableDefinitionFile(program.path()).read(0)->RowColourMode);
    EXPECT_FALSE(TableDefinitionFile(program.path()).read(0)->ColumnColourMode);
}

TEST_F(CellColourDialogTest, YesWritesTheDefinitionAtTheNumberOnTheMainWindow) {
    for (int click = 0; click < 3; ++click) {
        clickColumn(0, 3, Qt::RightButton);
    }
    test::spinEdit(dialog, "SpinEdit1")->setValue(5);
    recorder.answerNext(true);
    test::click(test::button(dialog, "Button2"));
    const TableDefinition saved = *TableDefinitionFile(program.path()).read(0);
    EXPECT_EQ(saved.ColumnFontSizes[0], 3);
    EXPECT_EQ(saved.ColumnCount, 5);
    EXPECT_EQ(saved.TableName, QByteArray("t"));
}

} // namespace
} // namespace kelvano

namespace kelvano {
namespace {

TEST_F(CellColourDialogTest, TheHeadingAndScrollTicksAreLoadedGatheredAndReset) {
    EXPECT_EQ(test::checkBox(dialog, "CheckBox4")->text(), QStringLiteral("先頭行を見出しにする"));
    EXPECT_EQ(test::checkBox(dialog, "CheckBox5")->text().remove(QLatin1Char('\n')),
              QStringLiteral("スマートフォンでは横にスクロール"));
    const QList<QCheckBox*> ticks{test::checkBox(dialog, "CheckBox2"), test::checkBox(dialog, "CheckBox4"),
                                  test::checkBox(dialog, "CheckBox5")};
    for (int tick = 0; tick < 3; ++tick) {
        for (int i = 0; i < 3; ++i) {
            ticks[i]->setChecked(i == tick);
        }
        recorder.answerNext(true);
        test::click(test::button(dialog, "Button2"));
        const QByteArray record = program.read(QStringLiteral("TABLE.DAT"));
        QByteArray expected(3, '\0');
        expected[tick] = 1;
        EXPECT_EQ(record.mid(441, 3), expected);

        // Loading another definition and this one again shows the stored ticks.
        form.ResetDefinition();
        EXPECT_FALSE(ticks[tick]->isChecked());
        test::clickRow(test::listView(form, "ListView1"), 0);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(ticks[i]->isChecked(), i == tick);
        }
    }
}

TEST_F(CellColourDialogTest, ThePageOptionTicksAreStoredAsBitsAndNeedTheHeadingRow) {
    const QStringList captions{QStringLiteral("見出しで並べ替え"), QStringLiteral("絞り込み欄を付ける"),
                               QStringLiteral("見出しを固定する"), QStringLiteral("CSVも出力する")};
    QList<QCheckBox*> ticks;
    for (int bit = 0; bit < 4; ++bit) {
        ticks.append(test::checkBox(dialog, ("CheckBox" + std::to_string(6 + bit)).c_str()));
        EXPECT_EQ(ticks[bit]->text(), captions[bit]);
    }
    QCheckBox* headings = test::checkBox(dialog, "CheckBox4");
    headings->setChecked(false);
    EXPECT_FALSE(ticks[0]->isEnabled());
    EXPECT_FALSE(ticks[2]->isEnabled());
    EXPECT_TRUE(ticks[3]->isEnabled()) << "the CSV file needs no heading row";
    headings->setChecked(true);
    for (int bit = 0; bit < 4; ++bit) {
        EXPECT_TRUE(ticks[bit]->isEnabled());
        for (int i = 0; i < 4; ++i) {
            ticks[i]->setChecked(i == bit);
        }
        recorder.answerNext(true);
        test::click(test::button(dialog, "Button2"));
        const QByteArray record = program.read(QStringLiteral("TABLE.DAT"));
        ASSERT_EQ(record.size(), 1524);
        EXPECT_EQ(static_cast<quint8>(record[1515]), 1 << bit);
        EXPECT_EQ(record[442], 1);

        form.ResetDefinition();
        EXPECT_FALSE(ticks[bit]->isChecked()) << "reset for a new definition";
        EXPECT_FALSE(ticks[0]->isEnabled()) << "a new definition has no heading row";
        test::clickRow(test::listView(form, "ListView1"), 0);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(ticks[i]->isChecked(), i == bit) << "loaded: bit " << bit << " tick " << i;
        }
        EXPECT_TRUE(ticks[0]->isEnabled());
    }
}

TEST_F(CellColourDialogTest, TypingACountChangesItOnceWhenTheFieldIsLeft) {
    test::spinEdit(dialog, "SpinEdit1")->setValue(3);
    recorder.chooseNext(QColor(Qt::red));
    clickColumn(0, 0, Qt::LeftButton);
    test::focus(test::spinEdit(dialog, "SpinEdit1"));
    test::spinEdit(dialog, "SpinEdit1")->selectAll();
    test::type(test::spinEdit(dialog, "SpinEdit1"), QStringLiteral("12"));
    test::focus(test::spinEdit(dialog, "SpinEdit2"));
    EXPECT_EQ(test::spinEdit(dialog, "SpinEdit1")->value(), 12);
    EXPECT_EQ(test::scrollBar(dialog, "ScrollBar1")->maximum(), 11);
    // Column 0 kept its colour: the count never passed through 1.
    EXPECT_EQ(gathered().ColumnBackColours[0], 0x0000FFu);
}

} // namespace
} // namespace kelvano
