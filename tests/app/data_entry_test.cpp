#include "app/window_links.h"
#include "core/store/table_definition_file.h"
#include "core/table/csv_exchange.h"
#include "core/table/sheet_file.h"
#include "core/table/table_data_model.h"
#include "gui/dialogs/cell_colour_dialog.h"
#include "gui/dialogs/clamping_spin_box.h"
#include "gui/entry/table_data_editor.h"
#include "gui/main/main_window.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

const QString SaveQuestion = QStringLiteral("テーブルデータが変更されています。保存しますか？");

/// The main window, both formatting dialogs and the table data editor, as a user meets them.
class DataEntryTest : public testing::Test {
protected:
    DataEntryTest() : windows(program.path()), form(windows.form1()) {
        linkWindows({.Form1 = &form, .Form5 = &editor});
    }

    void registerNew(const QString& title, const QString& fileName) {
        test::click(test::button(form, "BitBtn3"));
        test::type(test::edit(form, "Edit4"), title);
        test::type(test::edit(form, "Edit5"), fileName);
        test::click(test::button(form, "BitBtn4"));
    }
    /// Sets 列の数 of the first definition in the cell colour dialog and stores it on closing.
    void setColumnCount(int count) {
        test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet4"));
        test::clickRow(test::listView(form, "ListView1"), 0);
        test::click(test::button(form, "Button3"));
        test::spinEdit(windows.form4(), "SpinEdit1")->setValue(count);
        recorder.answerNext(true);
        test::click(test::button(windows.form4(), "Button2"));
    }
    void enterData(int row = 0) {
        test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet2"));
        test::clickRow(test::listView(form, "ListView2"), row);
        test::click(test::button(form, "BitBtn8"));
    }

    QTableView* grid() { return test::tableView(editor, "StringGrid1"); }
    TableDataModel& model() { return editor.model(); }
    void setCurrent(int row, int column) { grid()->setCurrentIndex(model().index(row, column)); }
    QByteArray text(int row, int column) { return model().layers().text(row, column).toByteArray(); }
    QByteArray value(CellLayer layer, int row, int column) {
        return model().layers().value(layer, row, column).toByteArray();
    }
    QLineEdit* inPlaceEditor() {
        for (QLineEdit* line : grid()->findChildren<QLineEdit*>()) {
            if (line->isVisible()) {
                return line;
            }
        }
        return nullptr;
    }
    /// Types into a cell key by key and leaves the in-place editor.
    void typeInto(int row, int column, const QString& typed) {
        setCurrent(row, column);
        for (const QChar character : typed) {
            QWidget* line = inPlaceEditor();
            QTest::keyClick(line ? line : static_cast<QWidget*>(grid()), character.toLatin1());
        }
        QTest::keyClick(inPlaceEditor(), Qt::Key_Escape);
    }
    void trigger(const char* action) { editor.findChild<QAction*>(QString::fromLatin1(action))->trigger(); }

    test::TempFolder program;
    test::DialogRecorder recorder;
    test::WindowSet windows;
    TForm1& form;
    TForm5 editor;
};

/// The bytes one column's cell takes in a stored row: the four texts and the placement byte.
QByteArray slotBytes(const QByteArray& file, int record, int index) {
    const qsizetype at = record * TableRowRecord::Size;
    QByteArray slot;
    for (const qsizetype array : {0, 12801, 25602, 38403}) {
        slot += file.mid(at + array + 251 * index, 251);
    }
    return slot + file.mid(at + 51204 + index, 1);
}

TEST_F(DataEntryTest, ColumnsHiddenByALowerCountComeBackByteForByte) {
    registerNew(QStringLiteral("prices"), QStringLiteral("price"));
    setColumnCount(5);
    enterData();
    ASSERT_EQ(model().columnCount(), 5);
    typeInto(0, 0, QStringLiteral("one"));
    typeInto(0, 3, QStringLiteral("four"));
    typeInto(0, 4, QStringLiteral("five"));
    editor.AttachPicture(PictureUse::LeftOfText, "C:\\pic\\a.jpg"); // to the left of the text
    editor.SetCurrentCellLink("http://x/");
    editor.AttachPicture(PictureUse::Background, "bg.gif");
    trigger("N18"); // an empty row above
    typeInto(0, 0, QStringLiteral("two"));
    typeInto(0, 4, QStringLiteral("deux"));
    test::click(test::button(editor, "BitBtn1"));
    const QByteArray wide = program.read(QStringLiteral("price.TBL"));
    ASSERT_EQ(wide.size(), 2 * TableRowRecord::Size);
    ASSERT_EQ(slotBytes(wide, 1, 5).mid(251 * 3 + 1, 9), QByteArray("http://x/"));

    // Three columns: the last two are hidden, and stay with their rows through edits and row moves.
    setColumnCount(3);
    enterData();
    ASSERT_EQ(model().columnCount(), 3);
    EXPECT_EQ(text(1, 0), "one");
    typeInto(1, 1, QStringLiteral("new"));
    setCurrent(0, 0);
    QTest::keyClick(grid(), Qt::Key_Down, Qt::ControlModifier); // "one" goes up
    trigger("N18");                                             // an empty row on top
    test::click(test::button(editor, "BitBtn1"));
    const QByteArray narrow = program.read(QStringLiteral("price.TBL"));
    ASSERT_EQ(narrow.size(), 3 * TableRowRecord::Size);
    for (const int index : {4, 5}) {
        EXPECT_EQ(slotBytes(narrow, 0, index), QByteArray(4 * 251 + 1, '\0')) << index;
        EXPECT_EQ(slotBytes(narrow, 1, index), slotBytes(wide, 1, index)) << index;
        EXPECT_EQ(slotBytes(narrow, 2, index), slotBytes(wide, 0, index)) << index;
    }

    // Raising the count shows them again.
    setColumnCount(5);
    enterData();
    ASSERT_EQ(model().columnCount(), 5);
    EXPECT_EQ(text(1, 0), "one");
    EXPECT_EQ(text(1, 1), "new");
    EXPECT_EQ(text(1, 3), "four");
    EXPECT_EQ(model().layers().cell(1, 4),
              (TableCell{"five", "C:\\pic\\a.jpg", "http://x/", "LEFT", "bg.gif"}));
    EXPECT_EQ(text(2, 4), "deux");
    EXPECT_EQ(text(0, 4), "");
}

TEST_F(DataEntryTest, AWiderCsvOrSheetOffersToRaiseTheColumnCountAndTheDefinitionFollows) {
    registerNew(QStringLiteral("prices"), QStringLiteral("price"));
    setColumnCount(3);
    enterData();
    TForm5::CsvPrompts prompts;
    QString source;
    prompts.fileToRead = [&](QWidget*) {
        return program.file(source);
    };
    prompts.confirmImport = [](QWidget*, const CsvFile&, int) -> std::optional<bool> {
        return true;
    };
    editor.setCsvPrompts(prompts);
    const auto stored = [&] {
        return TableDefinitionFile(program.path()).read(0)->ColumnCount;
    };
    // The widest record counts, wherever it stands.
    source = QStringLiteral("four.csv");
    program.write(source, "a\r\n1,2,3,4\r\n");
    recorder.clear();
    trigger("CsvRead1"); // No: imported as before
    EXPECT_EQ(recorder.texts(),
              (QStringList{QStringLiteral("CSVには4列あります。列の数を4にしますか？"),
                           QStringLiteral("テーブルの列数を超える1列分は入れませんでした")}));
    EXPECT_EQ(model().columnCount(), 3);
    EXPECT_EQ(stored(), 3);
    trigger("Undo1");

    recorder.clear();
    recorder.answerNext(true);
    trigger("CsvRead1");
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("CSVには4列あります。列の数を4にしますか？")});
    ASSERT_EQ(model().columnCount(), 4);
    EXPECT_EQ(text(1, 3), "4");
    EXPECT_EQ(stored(), 4);
    // The main window's definition and 列の数 follow: closing the dialog finds nothing to save.
    EXPECT_EQ(form.currentDefinition().ColumnCount, 4);
    EXPECT_EQ(test::spinEdit(windows.form4(), "SpinEdit1")->value(), 4);
    recorder.clear();
    test::click(test::button(windows.form4(), "Button2"));
    EXPECT_TRUE(recorder.texts().isEmpty()) << recorder.texts().join(u'|').toStdString();
    EXPECT_EQ(stored(), 4);

    // A sheet asks in its words; a table takes at most 50 columns, and at 50 nothing is asked.
    SheetFile sheet;
    sheet.records = {QByteArrayList(51, "x")};
    recorder.answerNext(true);
    editor.ImportSheet(sheet, true);
    EXPECT_EQ(recorder.texts(),
              (QStringList{QStringLiteral("シートには51列あります。列の数を50にしますか？"),
                           QStringLiteral("テーブルの列数を超える1列分は入れませんでした")}));
    EXPECT_EQ(model().columnCount(), 50);
    EXPECT_EQ(stored(), 50);
    recorder.clear();
    editor.ImportSheet(sheet, true);
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("テーブルの列数を超える1列分は入れませんでした")});
    test::click(test::button(editor, "BitBtn1"));
    enterData();
    EXPECT_EQ(model().columnCount(), 50);
}

TEST_F(DataEntryTest, TheExitButtonAsksToSaveChangedRows) {
    registerNew(QStringLiteral("prices"), QStringLiteral("price"));
    enterData();
    typeInto(0, 0, QStringLiteral("typed"));
    QSignalSpy ended(&form, &TForm1::programEnded);

    // Cancel: nothing ends.
    recorder.clear();
    recorder.answerNext(Answer::Cancel);
    test::click(test::button(form, "BitBtn7"));
    EXPECT_EQ(recorder.texts(), QStringList{SaveQuestion});
    EXPECT_EQ(ended.count(), 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(program.read(QStringLiteral("TAVELO.DAT")).size(), 0) << "the settings are written at the end";

    // Yes, but the rows cannot be written: everything stays open.
    recorder.answerNext(Answer::Yes);
    {
        const test::FileSizeLimit limit(1000);
        test::click(test::button(form, "BitBtn7"));
    }
    ASSERT_EQ(recorder.texts().size(), 3);
    EXPECT_TRUE(recorder.texts().last().startsWith(QStringLiteral("データが保存出来ません\n")));
    EXPECT_EQ(ended.count(), 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(program.read(QStringLiteral("price.TBL")).size(), 0);

    // Yes: saved, and the program ends.
    recorder.answerNext(Answer::Yes);
    test::click(test::button(form, "BitBtn7"));
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(program.read(QStringLiteral("price.TBL")).mid(251, 6), QByteArray("\x05typed"));
    EXPECT_EQ(program.read(QStringLiteral("TAVELO.DAT")).size(), 1004);
}

TEST_F(DataEntryTest, ClosingTheMainWindowAsksTheSameAndNoGivesTheRowsUp) {
    registerNew(QStringLiteral("prices"), QStringLiteral("price"));
    enterData();
    typeInto(0, 0, QStringLiteral("typed"));
    QSignalSpy ended(&form, &TForm1::programEnded);
    recorder.clear();
    recorder.answerNext(Answer::No);
    EXPECT_TRUE(form.close());
    EXPECT_EQ(recorder.texts(), QStringList{SaveQuestion});
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(program.read(QStringLiteral("price.TBL")).size(), 0);
    // Given up: the editor closing as the program goes asks nothing more.
    EXPECT_TRUE(editor.close());
    EXPECT_EQ(recorder.texts().size(), 1);
}

TEST_F(DataEntryTest, UnchangedRowsLetTheProgramEndWithoutAQuestion) {
    registerNew(QStringLiteral("prices"), QStringLiteral("price"));
    enterData();
    setCurrent(0, 0);
    trigger("soto1");
    recorder.clear();
    QSignalSpy ended(&form, &TForm1::programEnded);
    test::click(test::button(form, "BitBtn7"));
    EXPECT_TRUE(recorder.texts().isEmpty());
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(DataEntryTest, DataEntryOpensTheFileTheListShows) {
    registerNew(QStringLiteral("prices"), QStringLiteral("listed"));
    // The record changes behind the list: the list still shows "listed", and that is what opens.
    const TableDefinitionFile file(program.path());
    TableDefinition changed = *file.read(0);
    changed.FileName = "elsewhere";
    file.write(0, changed);
    enterData();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_TRUE(program.exists(QStringLiteral("listed.TBL")));
    EXPECT_FALSE(program.exists(QStringLiteral("elsewhere.TBL")));
}

TEST_F(DataEntryTest, PastedTitlesAndFileNamesAreCutToTheirFieldWithAMessage) {
    test::click(test::button(form, "BitBtn3"));
    test::focus(test::edit(form, "Edit4"));
    QApplication::clipboard()->setText(QString(50, QChar(u'表'))); // 100 bytes
    QTest::keyClick(test::edit(form, "Edit4"), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(test::edit(form, "Edit4")->text(), QString(40, QChar(u'表')));
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("80バイトを超える部分は切り捨てました")});
    test::type(test::edit(form, "Edit4"), QStringLiteral("x")); // full: typing stops without a word
    EXPECT_EQ(test::edit(form, "Edit4")->text(), QString(40, QChar(u'表')));
    EXPECT_EQ(recorder.texts().size(), 1);

    // A paste into the middle keeps what stands on both sides of it.
    test::focus(test::edit(form, "Edit5"));
    test::type(test::edit(form, "Edit5"), QStringLiteral("abcd"));
    test::edit(form, "Edit5")->setCursorPosition(2);
    QApplication::clipboard()->setText(QString(100, QLatin1Char('x')));
    QTest::keyClick(test::edit(form, "Edit5"), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(test::edit(form, "Edit5")->text(),
              QStringLiteral("ab") + QString(76, QLatin1Char('x')) + QStringLiteral("cd"));
    EXPECT_EQ(test::edit(form, "Edit5")->cursorPosition(), 78);
    EXPECT_EQ(recorder.texts().size(), 2);
}

TEST_F(DataEntryTest, RowsGoBackToTheFolderTheTableCameFromWhenTheDataFolderChanges) {
    registerNew(QStringLiteral("prices"), QStringLiteral("price"));
    // Another folder holds a table of the same name.
    ASSERT_TRUE(QDir(program.path()).mkdir(QStringLiteral("other")));
    program.write(QStringLiteral("other/price.TBL"), QByteArray(TableRowRecord::Size, 'o'));
    enterData();
    typeInto(0, 0, QStringLiteral("mine"));

    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet3"));
    test::focus(test::edit(form, "Edit1"));
    test::edit(form, "Edit1")->setText(program.file(QStringLiteral("other/")));
    test::focus(test::edit(form, "Edit2")); // the data folder field is left: the lists follow it
    ASSERT_EQ(form.settings().DataFolder, QFile::encodeName(program.file(QStringLiteral("other/"))));

    test::click(test::button(editor, "BitBtn1"));
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(program.read(QStringLiteral("other/price.TBL")), QByteArray(TableRowRecord::Size, 'o'));
    EXPECT_EQ(program.read(QStringLiteral("price.TBL")).mid(251, 5), QByteArray("\x04mine"));
}

} // namespace
} // namespace kelvano
