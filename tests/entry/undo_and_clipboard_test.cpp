#include "core/store/shift_jis.h"
#include "editor_fixture.h"
#include "gui/entry/csv_preview_dialog.h"

#include <QClipboard>
#include <QCryptographicHash>
#include <QLabel>
#include <QMimeData>
#include <QRadioButton>
#include <QTableWidget>
#include <QUndoStack>
#include <functional>

namespace kelvano::test {
namespace {

/// A 4-column table whose file also holds a hidden fifth column, with every layer in use.
class UndoAndClipboard : public EditorFixture {
protected:
    void openDecorated() {
        TableLayers layers(5);
        for (const QByteArray key : {"120", "9", "", "98"}) {
            TableRow row(5);
            row[0].text = key;
            row[1].text = key + "-" + Hyo;
            row[4].text = "hidden " + key;
            layers.appendRow(row);
        }
        layers.removeRow(0);
        layers.setValue(CellLayer::Picture, 1, 2, "C:\\pic\\" + So + ".jpg");
        layers.setValue(CellLayer::Placement, 1, 2, "LEFT");
        layers.setValue(CellLayer::Link, 1, 2, "http://example.com/");
        layers.setValue(CellLayer::Background, 3, 3, "bg.gif");
        ASSERT_NO_THROW(TableLayersFile::save(files(), layers));
        open(4);
        m_dialogs.clear();
    }

    /// Every row as its stored record (all five layers and the hidden column), as a digest of the bytes
    /// so that a difference reads short.
    QByteArray stored() {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        for (int row = 0; row < model().rowCount(); ++row) {
            hash.addData(model().layers().record(row).encode());
        }
        return QByteArray::number(model().rowCount()) + ":" + hash.result().toHex().left(16);
    }

    void pressOnGrid(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(grid(), key, modifiers);
    }
    void select(int top, int left, int bottom, int right) {
        setCurrent(top, left);
        grid()->selectionModel()->select(
            QItemSelection(model().index(top, left), model().index(bottom, right)),
            QItemSelectionModel::ClearAndSelect);
    }
};

TEST_F(UndoAndClipboard, EveryRowChangeUndoesAndRedoesEveryLayerByteForByte) {
    openDecorated();
    const QByteArray opened = stored();
    const std::vector<std::pair<const char*, std::function<void()>>> changes{
        {"typing",
         [&] {
             setCurrent(0, 1);
             type(QStringLiteral("xy"));
             press(Qt::Key_Escape);
         }},
        {"Enter on the last cell adds a row",
         [&] {
             setCurrent(3, 3);
             press(Qt::Key_Return);
         }},
        {"insert",
         [&] {
             setCurrent(1, 0);
             trigger("N18");
         }},
        {"delete",
         [&] {
             setCurrent(2, 0);
             trigger("Delete1");
         }},
        {"move up",
         [&] {
             setCurrent(2, 0);
             trigger("N19");
         }},
        {"move down",
         [&] {
             setCurrent(0, 0);
             trigger("N20");
         }},
        {"sort",
         [&] {
             setCurrent(0, 0);
             trigger("soto1");
         }},
        {"sort descending",
         [&] {
             trigger("N8");
         }},
        {"numeric sort",
         [&] {
             setCurrent(0, 1);
             trigger("NumSort1");
         }},
        {"numeric sort descending",
         [&] {
             trigger("NumSort2");
         }},
        {"picture",
         [&] {
             setCurrent(0, 3);
             m_editor.AttachPicture(PictureUse::RightOfText, "p.jpg");
         }},
        {"swap placement",
         [&] {
             trigger("N12");
         }},
        {"background",
         [&] {
             m_editor.AttachPicture(PictureUse::Background, "b.jpg");
         }},
        {"no picture",
         [&] {
             trigger("N13");
         }},
        {"no background",
         [&] {
             trigger("N17");
         }},
        {"link list",
         [&] {
             m_editor.SetCurrentCellLink("http://a/");
         }},
        {"no link",
         [&] {
             trigger("N15");
         }},
        {"reference window",
         [&] {
             m_editor.SetCurrentCellText("ref");
         }},
        {"Delete key",
         [&] {
             select(0, 0, 1, 1);
             pressOnGrid(Qt::Key_Delete);
         }},
        {"cut",
         [&] {
             pressOnGrid(Qt::Key_A, Qt::ControlModifier);
             pressOnGrid(Qt::Key_X, Qt::ControlModifier);
         }},
        {"paste",
         [&] {
             setCurrent(3, 1);
             m_editor.PasteText(QStringLiteral("a\tb\tc\nd\n"));
         }},
        {"Ctrl+Shift+Plus",
         [&] {
             setCurrent(1, 0);
             pressOnGrid(Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);
         }},
        {"Ctrl+Minus",
         [&] {
             setCurrent(0, 0);
             pressOnGrid(Qt::Key_Minus, Qt::ControlModifier);
         }},
    };
    QList<QByteArray> states{opened};
    for (const auto& [name, change] : changes) {
        const QByteArray before = stored();
        change();
        const QByteArray after = stored();
        EXPECT_NE(after, before) << name;
        trigger("Undo1");
        EXPECT_EQ(stored(), before) << name;
        trigger("Redo1");
        EXPECT_EQ(stored(), after) << name;
        states.append(after);
    }
    EXPECT_EQ(m_editor.undoStack()->count(), int(changes.size()));
    // All the way back and forth with the keys.
    for (qsizetype i = states.size() - 1; i > 0; --i) {
        pressOnGrid(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(stored(), states[i - 1]) << changes[size_t(i - 1)].first;
    }
    EXPECT_FALSE(test::action(m_editor, "Undo1")->isEnabled());
    EXPECT_FALSE(m_editor.isModified());
    pressOnGrid(Qt::Key_Y, Qt::ControlModifier);
    pressOnGrid(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(stored(), states[2]);
    EXPECT_TRUE(test::action(m_editor, "Redo1")->isEnabled());
    EXPECT_TRUE(m_dialogs.texts().isEmpty()) << m_dialogs.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(UndoAndClipboard, TheCleanStateIsTheSavedStateAndOpeningClearsTheHistory) {
    openDecorated();
    setCurrent(0, 1);
    type(QStringLiteral("abc"));
    press(Qt::Key_Return); // one step for the whole text
    EXPECT_EQ(m_editor.undoStack()->count(), 1);
    trigger("Undo1");
    QTest::mouseClick(test::button(m_editor, "BitBtn2"), Qt::LeftButton);
    EXPECT_TRUE(m_dialogs.texts().isEmpty()) << "back as opened: nothing to ask";

    open(4);
    EXPECT_EQ(m_editor.undoStack()->count(), 0);
    trigger("N18");
    QTest::mouseClick(test::button(m_editor, "BitBtn1"), Qt::LeftButton); // saved: clean
    const QByteArray saved = m_folder.read(QStringLiteral("price.TBL"));
    open(4);
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
    trigger("Delete1");
    trigger("Undo1");
    EXPECT_FALSE(m_editor.isModified());
    trigger("Undo1"); // nothing more: the history began at the opening
    EXPECT_EQ(model().rowCount() * TableRowRecord::Size, saved.size());
    EXPECT_FALSE(test::action(m_editor, "Undo1")->isEnabled());
}

TEST_F(UndoAndClipboard, CopyGivesSpreadsheetTextAndPasteGrowsChecksAndIsOneStep) {
    openDecorated();
    m_editor.SetCurrentCellText("tab\tin");
    setCurrent(1, 1);
    m_editor.SetCurrentCellText("say \"hi\"");
    select(0, 0, 1, 1);
    pressOnGrid(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->text(), QStringLiteral("\"tab\tin\"\t120-表\n9\t\"say \"\"hi\"\"\"\n"));
    EXPECT_TRUE(copied->html().contains(QStringLiteral("<td>say &quot;hi&quot;</td>")));

    // At row 3, column 3 of 4: two columns fit, a third is cut; rows grow to fit; a picture stays.
    const QByteArray picture = model().layers().value(CellLayer::Picture, 1, 2).toByteArray();
    setCurrent(2, 2);
    grid()->selectionModel()->clearSelection();
    const QString long251 = QString(250, QLatin1Char('x')) + QStringLiteral("表");
    QGuiApplication::clipboard()->setText(QStringLiteral("a\tb\tlost\n\"two\nlines\"\t😀\n") + long251 +
                                          QStringLiteral("\r\n"));
    pressOnGrid(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(model().rowCount(), 5);
    EXPECT_EQ(text(2, 2), "a");
    EXPECT_EQ(text(2, 3), "b");
    EXPECT_EQ(text(3, 2), "two\nlines");
    EXPECT_EQ(text(3, 3), "") << "refused: the cell keeps its text";
    EXPECT_EQ(text(4, 2), QByteArray(250, 'x'));
    EXPECT_EQ(text(2, 0), "") << "cells left of the paste stay";
    EXPECT_EQ(model().layers().value(CellLayer::Picture, 1, 2), picture);
    EXPECT_EQ(m_dialogs.texts(), QStringList{QStringLiteral(
                                     "テーブルの列数を超える1列分は入れませんでした\n"
                                     "次のセルには Shift-JIS で保存出来ない文字 (😀) があるため、"
                                     "変更しませんでした: 行4 列4\n"
                                     "次のセルの文字列は250バイトを超えるため、文字の切れ目で切り詰めました: "
                                     "行5 列3")});
    trigger("Undo1");
    EXPECT_EQ(model().rowCount(), 4);
    EXPECT_EQ(text(2, 2), "");

    // Growth stops at the row limit, with the limit's message.
    m_dialogs.clear();
    std::vector<TableLayers::Row> many(TableLayers::MaxRows - 2);
    ASSERT_TRUE(model().replaceRows(0, 4, many));
    setCurrent(TableLayers::MaxRows - 3, 0);
    m_editor.PasteText(QStringLiteral("1\n2\n3\n4\n"));
    EXPECT_EQ(model().rowCount(), TableLayers::MaxRows);
    EXPECT_EQ(text(TableLayers::MaxRows - 1, 0), "3");
    EXPECT_EQ(m_dialogs.texts(), QStringList{Messages::RowLimitReached});
}

TEST_F(UndoAndClipboard, CsvFilesComeInAfterAPreviewAsOneStepAndGoOutAsSpreadsheetsReadThem) {
    openDecorated();
    const QByteArray opened = stored();
    m_folder.write(QStringLiteral("in.csv"), "\xEF\xBB\xBF"
                                             "a;\"b\nc\";x;y;lost\r\n1;2\r\n");
    bool append = true;
    TForm5::CsvPrompts prompts;
    prompts.fileToRead = [&](QWidget*) {
        return m_folder.file(QStringLiteral("in.csv"));
    };
    prompts.confirmImport = [&](QWidget* parent, const CsvFile& file, int columns) -> std::optional<bool> {
        CsvPreviewDialog preview(file, columns, parent);
        EXPECT_EQ(preview.FormatLabel->text(),
                  QStringLiteral("文字コード: UTF-8 (BOM付き)　区切り: セミコロン　行数: 2"));
        EXPECT_EQ(preview.PreviewGrid->item(0, 1)->text(), QStringLiteral("b\nc"));
        EXPECT_EQ(preview.PreviewGrid->columnCount(), 5);
        EXPECT_TRUE(preview.append()) << "adding is the default";
        preview.ReplaceButton->setChecked(!append);
        return preview.append();
    };
    prompts.fileToWrite = [&](QWidget*) {
        return std::pair(m_folder.file(QStringLiteral("out.csv")), TextEncoding::Utf8);
    };
    m_editor.setCsvPrompts(prompts);

    trigger("CsvRead1");
    ASSERT_EQ(model().rowCount(), 6);
    EXPECT_EQ(text(4, 1), "b\nc");
    EXPECT_EQ(text(5, 3), "");
    EXPECT_FALSE(model().layers().value(CellLayer::Picture, 1, 2).isEmpty());
    EXPECT_EQ(m_dialogs.texts(),
              QStringList{QStringLiteral("テーブルの列数を超える1列分は入れませんでした")});
    trigger("Undo1");
    EXPECT_EQ(stored(), opened);

    append = false;
    trigger("CsvRead1");
    ASSERT_EQ(model().rowCount(), 2);
    EXPECT_EQ(text(0, 0), "a");
    EXPECT_TRUE(model().layers().value(CellLayer::Picture, 1, 2).isEmpty()) << "new rows have no decorations";
    trigger("CsvWrite1");
    EXPECT_EQ(m_folder.read(QStringLiteral("out.csv")), "\xEF\xBB\xBF"
                                                        "a,\"b\nc\",x,y\r\n1,2,,\r\n");
    trigger("Undo1");
    EXPECT_EQ(stored(), opened);
}

TEST_F(UndoAndClipboard, ACsvFileComesInWholeOrNotAtAllAndTakesTheOnlyEmptyRowsPlace) {
    // The table's file holds its one empty row as the editor stores it (a placement byte set).
    ASSERT_NO_THROW(TableLayersFile::save(files(), TableLayers(3)));
    open(3);
    m_dialogs.clear();
    QString source;
    bool append = true;
    TForm5::CsvPrompts prompts;
    prompts.fileToRead = [&](QWidget*) {
        return m_folder.file(source);
    };
    prompts.confirmImport = [&](QWidget*, const CsvFile&, int) -> std::optional<bool> {
        return append;
    };
    m_editor.setCsvPrompts(prompts);

    // One unstorable character among good cells: nothing comes in, not even the good rows.
    source = QStringLiteral("bad.csv");
    m_folder.write(source, "fine\r\nok,\xF0\x9F\x98\x80\r\n");
    trigger("CsvRead1");
    EXPECT_EQ(m_dialogs.texts(),
              QStringList{QStringLiteral("次のセルには Shift-JIS で保存出来ない文字 (😀) があります: "
                                         "行2 列2\n"
                                         "CSVを読み込みませんでした。テーブルデータは変更していません")});
    EXPECT_EQ(model().rowCount(), 1);
    EXPECT_EQ(text(0, 0), "");
    EXPECT_FALSE(m_editor.isModified()) << "a refused import is no change to undo";

    m_dialogs.clear();
    source = QStringLiteral("good.csv");
    m_folder.write(source, "a\r\nb\r\n");
    trigger("CsvRead1");
    ASSERT_EQ(model().rowCount(), 2) << "appending replaces the only empty row";
    EXPECT_EQ(text(0, 0), "a");
    trigger("CsvRead1");
    ASSERT_EQ(model().rowCount(), 4) << "rows with texts stay";
    EXPECT_EQ(text(2, 0), "a");
    EXPECT_TRUE(m_dialogs.texts().isEmpty());

    // Bytes that are no text are refused before the preview; an empty file replaces the rows only
    // when the user says so.
    source = QStringLiteral("nul.csv");
    m_folder.write(source, QByteArray("a\0b\r\n", 5));
    trigger("CsvRead1");
    EXPECT_EQ(m_dialogs.texts(), QStringList{QStringLiteral(
                                     "CSVファイルにNULバイトがあります。テキストファイルではありません")});
    EXPECT_EQ(model().rowCount(), 4);
    m_dialogs.clear();
    source = QStringLiteral("empty.csv");
    m_folder.write(source, "");
    append = false;
    trigger("CsvRead1");
    EXPECT_EQ(m_dialogs.texts(), QStringList{Messages::CsvEmptyReplaces});
    EXPECT_EQ(model().rowCount(), 4) << "Enter answers no";
    m_dialogs.answerNext(true);
    trigger("CsvRead1");
    EXPECT_EQ(model().rowCount(), 1) << "the table keeps its one empty row";
}

} // namespace
} // namespace kelvano::test
