#include "core/store/shift_jis.h"
#include "editor_fixture.h"
#include "gui/entry/cell_markers.h"
#include "gui/entry/table_grid_delegate.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QMenu>

namespace kelvano::test {
namespace {

using TableDataEditor = EditorFixture;

TEST_F(TableDataEditor, NewTableOpensQuietlyWithHeadingsAndOneRowAndSavesOneRecord) {
    open(3);
    EXPECT_TRUE(m_dialogs.texts().isEmpty()) << "a table's first opening has nothing to tell";
    EXPECT_TRUE(m_folder.exists(QStringLiteral("price.TBL")));
    EXPECT_EQ(m_folder.read(QStringLiteral("price.TBL")).size(), 0);
    EXPECT_TRUE(m_editor.isVisible());
    EXPECT_EQ(m_editor.windowTitle(), QStringLiteral("テーブルデータ入力"));
    ASSERT_EQ(model().columnCount(), 3);
    EXPECT_EQ(model().headerData(0, Qt::Horizontal).toString(), QStringLiteral("列1"));
    EXPECT_EQ(model().headerData(2, Qt::Horizontal).toString(), QStringLiteral("列3"));
    EXPECT_EQ(model().rowCount(), 1);
    EXPECT_EQ(rowLabel(0), QStringLiteral("行1"));
    EXPECT_EQ(current(), model().index(0, 0));
    // Empty columns are 90 pixels wider than their (nil) text.
    EXPECT_EQ(grid()->columnWidth(0), 90);

    QTest::mouseClick(test::button(m_editor, "BitBtn1"), Qt::LeftButton);
    EXPECT_FALSE(m_editor.isVisible());
    EXPECT_EQ(m_folder.read(QStringLiteral("price.TBL")).size(), 51306);
}

TEST_F(TableDataEditor, OpeningLoadsTheRowsHidesExtraColumnsAndForgetsTheTableBefore) {
    writeTable({"a", "b"}, 5, QStringLiteral("wide"));
    open(3, "wide");
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
    ASSERT_EQ(model().rowCount(), 2);
    EXPECT_EQ(model().columnCount(), 3);
    EXPECT_EQ(text(1, 0), "b");
    EXPECT_EQ(value(CellLayer::Placement, 0, 0), "RIGHT"); // stored byte 1
    setCurrent(1, 2);
    type(QStringLiteral("x"));
    press(Qt::Key_Escape);

    // Another table replaces everything, unsaved edits included once the user gives them up.
    m_dialogs.clear();
    m_dialogs.answerNext(Answer::No);
    open(2, "other");
    EXPECT_EQ(m_dialogs.texts(),
              QStringList{QStringLiteral("テーブルデータが変更されています。保存しますか？")});
    EXPECT_EQ(model().rowCount(), 1);
    EXPECT_EQ(model().columnCount(), 2);
    EXPECT_EQ(text(0, 0), "");
    EXPECT_EQ(current(), model().index(0, 0));
    open(3, "wide");
    EXPECT_EQ(text(1, 2), "");
    QTest::mouseClick(test::button(m_editor, "BitBtn2"), Qt::LeftButton);
    EXPECT_FALSE(m_editor.isVisible());
}

TEST_F(TableDataEditor, FoldersAndFileNamesStoredInShiftJisReachTheirFiles) {
    const QString folder = m_folder.path() + QStringLiteral("表データ/");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString name = QStringLiteral("価格ソ");
    TableLayers layers(1);
    layers.setValue(CellLayer::Text, 0, 0, "kept");
    ASSERT_NO_THROW(TableLayersFile::save(TableDataFiles(folder, name), layers));

    m_settings.DataFolder = ShiftJis::encode(folder).bytes;
    open(1, ShiftJis::encode(name).bytes);
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
    EXPECT_EQ(text(0, 0), "kept");
}

TEST_F(TableDataEditor, EnterConfirmsIntoTheReferenceListAndMovesOnOrAddsARow) {
    open(2);
    m_dialogs.clear();
    type(QStringLiteral("abc"));
    EXPECT_EQ(text(0, 0), "abc"); // typed characters reach the cell at once
    EXPECT_EQ(grid()->columnWidth(0), model().widestText(0) + 90);
    EXPECT_GT(model().widestText(0), 0);
    press(Qt::Key_Return);
    EXPECT_EQ(current(), model().index(0, 1));
    EXPECT_EQ(m_folder.read(QStringLiteral("price.ALI")), "abc\r\n");

    // Enter on an empty cell in the last column of the last row adds nothing and makes row 2.
    press(Qt::Key_Return);
    EXPECT_EQ(model().rowCount(), 2);
    EXPECT_EQ(rowLabel(1), QStringLiteral("行2"));
    EXPECT_EQ(current(), model().index(1, 0));
    EXPECT_EQ(m_folder.read(QStringLiteral("price.ALI")), "abc\r\n");

    // The same text again is listed once; ABC differs in case and is listed.
    type(QStringLiteral("abc"));
    press(Qt::Key_Return);
    type(QStringLiteral("ABC"));
    press(Qt::Key_Return);
    EXPECT_EQ(m_folder.read(QStringLiteral("price.ALI")), "abc\r\nABC\r\n");
    EXPECT_EQ(model().rowCount(), 3);

    // Enter in the last column of an earlier row leaves the current cell where it is.
    setCurrent(0, 1);
    press(Qt::Key_Return);
    EXPECT_EQ(current(), model().index(0, 1));
    EXPECT_EQ(model().rowCount(), 3);
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
}

TEST_F(TableDataEditor, AReferenceListThatCannotGrowIsAnIoErrorAndKeepsTheRows) {
    open(3);
    m_dialogs.clear();
    m_folder.write(QStringLiteral("price.ALI"), "x\r\n");
    type(QStringLiteral("abc"));
    ASSERT_NE(openEditor(), nullptr);
    {
        FileSizeLimit fullDisk(3); // the list can be read but not appended to
        press(Qt::Key_Return);
    }
    ASSERT_EQ(m_dialogs.shown().size(), 1);
    EXPECT_EQ(m_dialogs.shown().first().message.caption, QStringLiteral("Kelvano"));
    EXPECT_TRUE(m_dialogs.shown().first().message.text.contains(QStringLiteral("price.ALI")));
    EXPECT_EQ(text(0, 0), "abc");
    EXPECT_TRUE(m_editor.isVisible());
}

TEST_F(TableDataEditor, EnterAndInsertStopAtTheRowLimitWithAMessage) {
    open(1);
    TableLayers full(1);
    while (full.canAddRow()) {
        full.insertEmptyRow(full.rowCount());
    }
    model().setLayers(std::move(full));
    m_dialogs.clear();
    setCurrent(65533, 0);
    press(Qt::Key_Return);
    trigger("N18");
    EXPECT_EQ(model().rowCount(), 65534);
    EXPECT_EQ(m_dialogs.texts(),
              QStringList(2, QStringLiteral("行数が上限の65534行に達しました、これ以上追加出来ません")));
    EXPECT_EQ(current(), model().index(65533, 0));
}

TEST_F(TableDataEditor, RowItemsAndCtrlArrowsMoveWholeRowsWithTheirDecorations) {
    writeTable({"1", "2", "3"}, 10);
    open(10);
    setCurrent(1, 6);
    m_editor.AttachPicture(PictureUse::LeftOfText, "C:\\pic\\" + So + ".jpg");
    m_editor.SetCurrentCellLink("http://x/");
    m_editor.AttachPicture(PictureUse::Background, "bg.gif");
    const TableCell decorated = model().layers().cell(1, 6);
    EXPECT_EQ(decorated.placement, "LEFT");

    trigger("N18"); // insert at row 2 of 3
    ASSERT_EQ(model().rowCount(), 4);
    EXPECT_EQ(current(), model().index(1, 6));
    EXPECT_EQ(model().layers().row(1), TableRow(10));
    EXPECT_EQ(model().layers().cell(2, 6), decorated);
    EXPECT_EQ(rowLabel(3), QStringLiteral("行4"));

    setCurrent(2, 6);
    press(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(model().layers().cell(3, 6), decorated);
    EXPECT_EQ(current(), model().index(2, 6));                    // the current cell stays on its row number
    press(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier); // other modifiers do not matter
    EXPECT_EQ(model().layers().cell(2, 6), decorated);
    setCurrent(3, 6);
    trigger("N20"); // down on the last row does nothing
    press(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(model().layers().cell(2, 6), decorated);
    EXPECT_EQ(text(3, 0), "3");
    trigger("N19");
    EXPECT_EQ(model().layers().cell(3, 6), decorated);
    press(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(model().layers().cell(2, 6), decorated);
    EXPECT_EQ(current(), model().index(3, 6));
    setCurrent(0, 0);
    trigger("N19"); // up on row 1 does nothing
    press(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(text(0, 0), "1");

    // Deleting the last row keeps the rows above and goes to the new last row.
    setCurrent(3, 4);
    trigger("Delete1");
    EXPECT_EQ(model().rowCount(), 3);
    EXPECT_EQ(current(), model().index(2, 4));
    EXPECT_EQ(model().layers().cell(2, 6), decorated);
    setCurrent(0, 0);
    trigger("Delete1");
    EXPECT_EQ(model().layers().cell(1, 6), decorated);

    // Deleting the only row leaves one empty row.
    trigger("Delete1");
    trigger("Delete1");
    trigger("Delete1");
    EXPECT_EQ(model().rowCount(), 1);
    EXPECT_EQ(model().layers().row(0), TableRow(10));
    EXPECT_EQ(rowLabel(0), QStringLiteral("行1"));
}

TEST_F(TableDataEditor, SortItemsOrderByTheCurrentColumnAndKeepTheCurrentCell) {
    writeTable({"b", "", "A", "a", "9", "10"}, 2);
    open(2);
    setCurrent(2, 1);
    m_editor.AttachPicture(PictureUse::RightOfText, "p.jpg"); // on the row keyed A
    setCurrent(3, 0);
    trigger("soto1");
    QByteArrayList keys;
    for (int row = 0; row < model().rowCount(); ++row) {
        keys.append(text(row, 0));
    }
    // The user's locale decides between a and A.
    const bool lowerFirst = TextCollation().compare("a", "A") < 0;
    EXPECT_EQ(keys, (QByteArrayList{"", "10", "9", lowerFirst ? "a" : "A", lowerFirst ? "A" : "a", "b"}));
    EXPECT_EQ(value(CellLayer::Picture, lowerFirst ? 4 : 3, 1), "p.jpg");
    EXPECT_EQ(current(), model().index(3, 0));
    trigger("N8");
    EXPECT_EQ(text(0, 0), "b");
    EXPECT_EQ(text(5, 0), "");
    EXPECT_EQ(value(CellLayer::Picture, lowerFirst ? 1 : 2, 1), "p.jpg");
    EXPECT_EQ(rowLabel(5), QStringLiteral("行6"));
}

TEST_F(TableDataEditor, DecorationItemsSetSwapAndRemoveOnlyTheirOwnLayer) {
    open(2);
    setCurrent(0, 1);
    trigger("N12"); // no picture: nothing changes
    EXPECT_EQ(value(CellLayer::Placement, 0, 1), "");

    m_editor.AttachPicture(PictureUse::RightOfText, "pic.jpg");
    m_editor.AttachPicture(PictureUse::Background, "bg.gif");
    m_editor.SetCurrentCellLink("http://x/");
    model().setValue(CellLayer::Placement, 0, 1, "");
    trigger("N12");
    EXPECT_EQ(value(CellLayer::Placement, 0, 1), "LEFT");
    trigger("N12");
    EXPECT_EQ(value(CellLayer::Placement, 0, 1), "RIGHT");
    trigger("N12");
    EXPECT_EQ(value(CellLayer::Placement, 0, 1), "LEFT");

    trigger("N13");
    EXPECT_EQ(model().layers().cell(0, 1), (TableCell{{}, {}, "http://x/", "LEFT", "bg.gif"}));
    trigger("N15");
    EXPECT_EQ(model().layers().cell(0, 1), (TableCell{{}, {}, {}, "LEFT", "bg.gif"}));
    trigger("N17");
    EXPECT_EQ(model().layers().cell(0, 1), (TableCell{{}, {}, {}, "LEFT", {}}));

    // The placement without a picture is still stored: LEFT gives 0.
    QTest::mouseClick(test::button(m_editor, "BitBtn1"), Qt::LeftButton);
    const QByteArray record = m_folder.read(QStringLiteral("price.TBL"));
    ASSERT_EQ(record.size(), 51306);
    EXPECT_EQ(record.mid(51204, 3), QByteArray::fromHex("000100"));

    // The picture items ask for the picker with their modes.
    QList<PictureUse> modes;
    QObject::connect(&m_editor, &TForm5::picturePickerRequested, &m_editor,
                     [&modes](PictureUse use) { modes.append(use); });
    trigger("N9");
    trigger("N10");
    trigger("N16");
    EXPECT_EQ(modes,
              (QList<PictureUse>{PictureUse::RightOfText, PictureUse::LeftOfText, PictureUse::Background}));
}

/// The marker painted at one of the three places of a cell, as the grid shows it.
QImage markerAt(QTableView* grid, const QModelIndex& index, int place) {
    const QImage shot = grid->viewport()->grab().toImage();
    const QRect cell = grid->visualRect(index);
    return shot.copy(cell.left() + TableGridDelegate::MarkerLeft[place],
                     cell.top() + TableGridDelegate::MarkerTop, CellMarkers::Width, CellMarkers::Height);
}

bool shows(const QImage& painted, CellMarkers::Kind kind) {
    return painted.convertToFormat(QImage::Format_RGB32) ==
           CellMarkers::marker(kind).toImage().convertToFormat(QImage::Format_RGB32);
}

TEST_F(TableDataEditor, MarkersShowEachDecorationAndGoBlankWhenItIsRemoved) {
    open(2);
    setCurrent(0, 0);
    m_editor.AttachPicture(PictureUse::RightOfText, "p.jpg");
    m_editor.SetCurrentCellLink("u");
    m_editor.AttachPicture(PictureUse::Background, "b.gif");
    setCurrent(0, 1); // away from the current cell's highlight
    const QModelIndex cell = model().index(0, 0);
    EXPECT_TRUE(shows(markerAt(grid(), cell, 0), CellMarkers::Link));
    EXPECT_TRUE(shows(markerAt(grid(), cell, 1), CellMarkers::PictureRight));
    EXPECT_TRUE(shows(markerAt(grid(), cell, 2), CellMarkers::Background));
    // The selected cell keeps its highlight where it has no decoration: no white boxes over it.
    EXPECT_FALSE(shows(markerAt(grid(), model().index(0, 1), 1), CellMarkers::Blank));

    setCurrent(0, 0);
    trigger("N12");
    setCurrent(0, 1);
    EXPECT_TRUE(shows(markerAt(grid(), cell, 1), CellMarkers::PictureLeft));
    setCurrent(0, 0);
    trigger("N13");
    trigger("N15");
    setCurrent(0, 1);
    EXPECT_TRUE(shows(markerAt(grid(), cell, 0), CellMarkers::Blank));
    EXPECT_TRUE(shows(markerAt(grid(), cell, 1), CellMarkers::Blank));
    EXPECT_TRUE(shows(markerAt(grid(), cell, 2), CellMarkers::Background));
    EXPECT_FALSE(CellMarkers::marker(CellMarkers::Link).toImage() ==
                 CellMarkers::marker(CellMarkers::Blank).toImage());
}

TEST_F(TableDataEditor, ColumnsAreSizedByTheirWidestTextAndViewsShowTheirLayers) {
    open(2);
    model().setTextMeasure([](QByteArrayView text) { return int(text.size()) * 10; });
    model().setValue(CellLayer::Text, 0, 0, QByteArray(9, 'x'));  // 90 pixels: + 90
    model().setValue(CellLayer::Text, 0, 1, QByteArray(10, 'x')); // 100 pixels: + 60
    m_editor.AutoSizeColumns();
    EXPECT_EQ(grid()->columnWidth(0), 180);
    EXPECT_EQ(grid()->columnWidth(1), 160);
    model().setValue(CellLayer::Text, 0, 1, "");
    m_editor.AutoSizeColumns();
    EXPECT_EQ(grid()->columnWidth(1), 90);

    setCurrent(0, 1);
    m_editor.AttachPicture(PictureUse::RightOfText, "C:\\p.jpg");
    QCoreApplication::processEvents();
    const QRect gridPlace = grid()->geometry();
    const QRect panelPlace = test::panel(m_editor, "Panel1")->geometry();
    QTest::mouseClick(test::button(m_editor, "Button2"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(grid()->isVisible());
    EXPECT_TRUE(test::tableView(m_editor, "StringGrid2")->isVisible());
    EXPECT_FALSE(test::tableView(m_editor, "StringGrid3")->isVisible());
    EXPECT_EQ(test::tableView(m_editor, "StringGrid2")->model()->index(0, 1).data().toString(),
              QStringLiteral("C:\\p.jpg"));
    EXPECT_FALSE(test::tableView(m_editor, "StringGrid2")
                     ->model()
                     ->flags(test::tableView(m_editor, "StringGrid2")->model()->index(0, 1)) &
                 Qt::ItemIsEditable);
    // The view takes the grid's place, headed like it; the buttons stay at the bottom.
    EXPECT_EQ(test::tableView(m_editor, "StringGrid2")->geometry(), gridPlace);
    EXPECT_EQ(test::panel(m_editor, "Panel1")->geometry(), panelPlace);
    EXPECT_EQ(test::tableView(m_editor, "StringGrid2")->model()->headerData(1, Qt::Horizontal).toString(),
              QStringLiteral("列2"));
    EXPECT_TRUE(test::tableView(m_editor, "StringGrid2")->horizontalHeader()->isVisible());
    // An empty column is as wide as its heading; a path keeps at least its width plus 5 pixels.
    EXPECT_EQ(test::tableView(m_editor, "StringGrid2")->columnWidth(0),
              test::tableView(m_editor, "StringGrid2")->horizontalHeader()->sectionSizeHint(0));
    EXPECT_GE(test::tableView(m_editor, "StringGrid2")->columnWidth(1),
              QFontMetrics(grid()->font()).horizontalAdvance(QStringLiteral("C:\\p.jpg")) + 5);
    QTest::mouseClick(test::button(m_editor, "Button3"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(test::tableView(m_editor, "StringGrid3")->isVisible());
    EXPECT_FALSE(test::tableView(m_editor, "StringGrid2")->isVisible());
    EXPECT_EQ(test::tableView(m_editor, "StringGrid3")->geometry(), gridPlace);
    QTest::mouseClick(test::button(m_editor, "Button1"), Qt::LeftButton);
    EXPECT_TRUE(grid()->isVisible());
    EXPECT_FALSE(test::tableView(m_editor, "StringGrid3")->isVisible());
}

TEST_F(TableDataEditor, RightButtonChoosesTheCellUnderThePointer) {
    open(3);
    m_editor.AutoSizeColumns();
    const QRect cell = grid()->visualRect(model().index(0, 2));
    QTest::mousePress(grid()->viewport(), Qt::RightButton, Qt::NoModifier, cell.center());
    EXPECT_EQ(current(), model().index(0, 2));
    QTest::mouseRelease(grid()->viewport(), Qt::RightButton, Qt::NoModifier, cell.center());
    for (QWidget* popup = QApplication::activePopupWidget(); popup;
         popup = QApplication::activePopupWidget()) {
        popup->close();
    }
    // Below the last row nothing changes.
    QTest::mousePress(grid()->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(cell.center().x(), 200));
    EXPECT_EQ(current(), model().index(0, 2));
    test::popupMenu(m_editor, "PopupMenu1")->close();

    // The Menu key and Shift+F10 open the popup at the current cell; the row items show their keys.
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Menu, Qt::NoModifier}, {Qt::Key_F10, Qt::ShiftModifier}}) {
        QTest::keyClick(grid(), key, modifiers);
        EXPECT_TRUE(test::popupMenu(m_editor, "PopupMenu1")->isVisible());
        EXPECT_TRUE(test::popupMenu(m_editor, "PopupMenu1")
                        ->geometry()
                        .contains(grid()->viewport()->mapToGlobal(cell.center())));
        test::popupMenu(m_editor, "PopupMenu1")->close();
    }
    EXPECT_EQ(test::action(m_editor, "N19")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Up));
    EXPECT_EQ(test::action(m_editor, "N20")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Down));
}

TEST_F(TableDataEditor, AFailedSaveKeepsTheWindowAndItsRows) {
    open(2);
    type(QStringLiteral("kept"));
    press(Qt::Key_Return);
    m_dialogs.clear();
    {
        const FileSizeLimit limit(1000);
        QTest::mouseClick(test::button(m_editor, "BitBtn1"), Qt::LeftButton);
    }
    // It says which file could not be written and why.
    EXPECT_EQ(m_dialogs.texts(),
              QStringList{QStringLiteral("データが保存出来ません\n") +
                          m_folder.file(QStringLiteral("price.TBL")) +
                          QStringLiteral("\nファイルが大きすぎます（ファイルサイズの上限を超えました）")});
    EXPECT_EQ(m_dialogs.shown().first().message.caption, QStringLiteral("TAVELO"));
    EXPECT_TRUE(m_editor.isVisible());
    EXPECT_EQ(text(0, 0), "kept");
    EXPECT_EQ(m_folder.read(QStringLiteral("price.TBL")).size(), 0); // the old file is unchanged
    QTest::mouseClick(test::button(m_editor, "BitBtn1"), Qt::LeftButton);
    EXPECT_FALSE(m_editor.isVisible());
    EXPECT_EQ(m_folder.read(QStringLiteral("price.TBL")).mid(251, 5), QByteArray("\x04kept"));
}

TEST_F(TableDataEditor, UnusableDataFilesStopOnlyTheActionWithTheMessage) {
    // A table in a folder that does not exist is not opened, and the table shown before stays.
    writeTable({"A row"}, 1);
    open(1);
    m_settings.DataFolder = QFile::encodeName(m_folder.path() + QStringLiteral("missing/"));
    m_dialogs.clear();
    open(1, "other");
    EXPECT_EQ(m_dialogs.texts(), QStringList{QStringLiteral("ディレクトリ設定を再設定して下さい")});
    EXPECT_EQ(text(0, 0), "A row");
    m_settings.DataFolder = QFile::encodeName(m_folder.path());

    // A reference list that can neither be read nor created stops Enter where it is.
    QDir(m_folder.path()).mkdir(QStringLiteral("price.ALI"));
    m_dialogs.clear();
    setCurrent(0, 0);
    press(Qt::Key_Return);
    EXPECT_EQ(m_dialogs.texts(), QStringList{QStringLiteral("ディレクトリ設定を再設定して下さい")});
    EXPECT_EQ(model().rowCount(), 1);
    EXPECT_EQ(current(), model().index(0, 0));
}

TEST_F(TableDataEditor, TextThatShiftJisCannotHoldIsRefused) {
    open(1);
    m_dialogs.clear();
    EXPECT_FALSE(model().setData(model().index(0, 0), QStringLiteral("a\U0001F600")));
    EXPECT_EQ(m_dialogs.texts(), QStringList{QStringLiteral("保存出来ない文字が含まれています：\U0001F600")});
    EXPECT_TRUE(model().setData(model().index(0, 0), QStringLiteral("表ソ")));
    EXPECT_EQ(text(0, 0), Hyo + So);
}

} // namespace
} // namespace kelvano::test
