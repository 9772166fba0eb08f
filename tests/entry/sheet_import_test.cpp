#include "editor_fixture.h"

#include "gui/base/messages.h"
#include "gui/entry/csv_preview_dialog.h"
#include "words/table_words.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>

namespace kelvano::test {
namespace {

using SheetImport = EditorFixture;

QString sheetPath(const char* name) {
    return QStringLiteral(KELVANO_SHEETS_DIR "/") + QString::fromUtf8(name);
}

// "表計算ファイルを読み込む…": the preview offers the sheets, shows the chosen one, and its rows come in
// as one step; a file that is no spreadsheet is told and changes nothing.
TEST_F(SheetImport, TheChosenSheetComesInAfterThePreviewAsOneStep) {
    writeTable({"a", "b"}, 3);
    open(3);
    QString source = sheetPath("values.ods");
    TForm5::CsvPrompts prompts;
    prompts.sheetToRead = [&](QWidget*) {
        return source;
    };
    prompts.confirmSheetImport = [&](QWidget* parent, SheetFile& file, int columns) -> std::optional<bool> {
        CsvPreviewDialog preview(
            file, columns,
            [path = file.path](int index) {
                return SheetFile::read(path, SheetChoice{index, std::nullopt});
            },
            parent);
        EXPECT_EQ(preview.SheetBox->count(), 2);
        EXPECT_EQ(preview.SheetBox->currentText(), QStringLiteral("シート1")) << "the first sheet first";
        EXPECT_EQ(preview.FormatLabel->text(), QStringLiteral("行数: 8　非表示の行・列も読み込みます"));
        EXPECT_EQ(preview.PreviewGrid->rowCount(), 8);
        EXPECT_EQ(preview.PreviewGrid->item(0, 2)->text(), QStringLiteral("12.5%"));
        preview.SheetBox->setCurrentIndex(1);
        emit preview.SheetBox->activated(1);
        EXPECT_EQ(preview.FormatLabel->text(), QStringLiteral("行数: 1"));
        EXPECT_EQ(preview.PreviewGrid->item(0, 0)->text(), QStringLiteral("二枚目"));
        preview.ReplaceButton->setChecked(true);
        file = preview.sheetFile();
        return preview.append();
    };
    m_editor.setCsvPrompts(prompts);

    trigger("SheetRead1");
    ASSERT_EQ(model().rowCount(), 1);
    EXPECT_EQ(text(0, 0), "\x93\xF1\x96\x87\x96\xDA"); // 二枚目 in Shift-JIS
    trigger("Undo1");
    ASSERT_EQ(model().rowCount(), 2);
    EXPECT_EQ(text(1, 0), "b");

    source = sheetPath("locked.ods");
    trigger("SheetRead1");
    EXPECT_EQ(m_dialogs.texts(), QStringList{Messages::sheetFailureText(SheetFailure::Encrypted, {})});
    EXPECT_EQ(model().rowCount(), 2);
    EXPECT_FALSE(m_editor.isModified());
}

} // namespace
} // namespace kelvano::test
