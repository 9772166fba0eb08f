#include "editor_fixture.h"

#include "gui/base/messages.h"
#include "gui/entry/csv_preview_dialog.h"
#include <QHeaderView>

namespace kelvano::test {
namespace {

using RowLimit = EditorFixture;

// Replacing a table's rows by an empty file leaves the one empty row every table keeps, as one step.
TEST_F(RowLimit, AnEmptyCsvInPlaceOfTheRowsLeavesOneEmptyRow) {
    writeTable({"a", "b", "c"}, 2);
    open(2);
    m_editor.ImportCsv(CsvFile{}, false);
    ASSERT_EQ(model().rowCount(), 1);
    EXPECT_EQ(grid()->verticalHeader()->count(), 1) << "the grid shows the row too";
    EXPECT_EQ(text(0, 0), "");
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
    // Undone, the three rows come back in place of the empty one, not before it.
    trigger("Undo1");
    ASSERT_EQ(model().rowCount(), 3);
    EXPECT_EQ(text(2, 0), "c");
}

// A paste whose last row is the table's last possible row leaves nothing out; one row more does.
TEST_F(RowLimit, APasteEndingAtTheLastRowLeavesNothingOut) {
    writeTable({"a"}, 2);
    open(2);
    ASSERT_TRUE(model().replaceRows(0, 1, std::vector<TableLayers::Row>(TableLayers::MaxRows - 2)));
    for (const int lines : {3, 4}) {
        m_dialogs.clear();
        setCurrent(TableLayers::MaxRows - 3, 0);
        m_editor.PasteText(QStringLiteral("1\n2\n3\n4\n").left(2 * lines));
        EXPECT_EQ(model().rowCount(), TableLayers::MaxRows);
        EXPECT_EQ(text(TableLayers::MaxRows - 1, 0), "3");
        EXPECT_EQ(m_dialogs.texts(), lines == 3 ? QStringList() : QStringList{Messages::RowLimitReached})
            << lines;
        trigger("Undo1");
    }
}

} // namespace
} // namespace kelvano::test
