#include "app/window_links.h"
#include "core/store/shift_jis.h"
#include "core/store/table_definition_file.h"
#include "gui/dialogs/cell_colour_dialog.h"
#include "gui/dialogs/clamping_spin_box.h"
#include "gui/dialogs/strip_image.h"
#include "gui/dialogs/table_settings_dialog.h"
#include "gui/entry/table_data_editor.h"
#include "gui/main/main_window.h"
#include "gui/main/restore_definition_window.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/every_field_definition.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

class TablePageTest : public testing::Test {
protected:
    TablePageTest() : windows(program.path()), form(windows.form1()) {}

    /// Registers a definition the way a user does: new, title, file name, register.
    void registerNew(const QString& title, const QString& fileName) {
        test::click(test::button(form, "BitBtn3"));
        test::type(test::edit(form, "Edit4"), title);
        test::type(test::edit(form, "Edit5"), fileName);
        test::click(test::button(form, "BitBtn4"));
    }
    QByteArray tableFile() const { return program.read(QStringLiteral("TABLE.DAT")); }
    QByteArray record(int number) const {
        return tableFile().mid(number * TableDefinition::Size, TableDefinition::Size);
    }

    test::TempFolder program;
    test::DialogRecorder recorder;
    test::WindowSet windows;
    TForm1& form;
};

TEST_F(TablePageTest, RegisteringAppendsWithoutANumberAndRewritesOnlyTheNumberedRecord) {
    EXPECT_EQ(tableFile().size(), 0);
    registerNew(QStringLiteral("価格表"), QStringLiteral("price"));
    ASSERT_EQ(tableFile().size(), 1524);
    TableDefinition expected;
    expected.TableName = ShiftJis::encode(QStringLiteral("価格表")).bytes;
    expected.FileName = "price";
    EXPECT_EQ(record(0), expected.encode());
    EXPECT_EQ(test::edit(form, "Edit3")->text(), QString());
    EXPECT_EQ(test::edit(form, "Edit4")->text(), QString());

    // Edit3 stays empty after a register, so typing again appends again.
    test::type(test::edit(form, "Edit4"), QStringLiteral("second"));
    test::type(test::edit(form, "Edit5"), QStringLiteral("two"));
    test::click(test::button(form, "BitBtn4"));
    registerNew(QStringLiteral("third"), QStringLiteral("three"));
    ASSERT_EQ(tableFile().size(), 4572);
    EXPECT_EQ(test::columnTexts(test::listView(form, "ListView1"), 0), test::texts({"0", "1", "2"}));
    EXPECT_EQ(test::columnTexts(test::listView(form, "ListView2"), 2),
              test::texts({"price", "two", "three"}));

    const QByteArray before = tableFile();
    test::clickRow(test::listView(form, "ListView1"), 1);
    EXPECT_EQ(test::edit(form, "Edit3")->text(), QStringLiteral("1"));
    EXPECT_EQ(test::edit(form, "Edit4")->text(), QStringLiteral("second"));
    EXPECT_EQ(test::edit(form, "Edit5")->text(), QStringLiteral("two"));
    test::edit(form, "Edit4")->selectAll();
    test::type(test::edit(form, "Edit4"), QStringLiteral("changed"));
    test::click(test::button(form, "BitBtn4"));
    const QByteArray after = tableFile();
    ASSERT_EQ(after.size(), 4572);
    EXPECT_EQ(after.left(1524), before.left(1524));
    EXPECT_EQ(after.mid(3048), before.mid(3048));
    EXPECT_EQ(TableDefinition::decode(record(1)).TableName, QByteArray("changed"));
    EXPECT_EQ(test::columnTexts(test::listView(form, "ListView1"), 1),
              (QStringList{QStringLiteral("価格表"), QStringLiteral("changed"), QStringLiteral("third")}));
    EXPECT_TRUE(recorder.shown().isEmpty());
}

TEST_F(TablePageTest, RegisterRefusesMissingAndUnsafeNamesAndTheFileNameTakesNoExtension) {
    test::click(test::button(form, "BitBtn3"));
    test::click(test::button(form, "BitBtn4"));
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("項目名を入れてください")});
    EXPECT_EQ(QApplication::focusWidget(), test::edit(form, "Edit4"));
    test::type(test::edit(form, "Edit4"), QStringLiteral("t"));
    test::click(test::button(form, "BitBtn4"));
    EXPECT_EQ(recorder.texts().last(), QStringLiteral("ファイル名を入れてください"));
    EXPECT_EQ(QApplication::focusWidget(), test::edit(form, "Edit5"));

    recorder.clear();
    test::type(test::edit(form, "Edit5"), QStringLiteral("page.html"));
    EXPECT_EQ(test::edit(form, "Edit5")->text(), QStringLiteral("pagehtml"));
    ASSERT_EQ(recorder.shown().size(), 1);
    EXPECT_EQ(recorder.shown().first().message.text, QStringLiteral("拡張子は自動に設定されます"));
    EXPECT_EQ(recorder.shown().first().message.icon, MessageIcon::Information);
    EXPECT_EQ(recorder.shown().first().message.caption, QStringLiteral("TAVELO"));

    for (const QString& unsafe : {QStringLiteral("../escape"), QStringLiteral("sub\\name"),
                                  QStringLiteral(".."), QStringLiteral("tab\tname")}) {
        recorder.clear();
        test::edit(form, "Edit5")->setText(unsafe);
        test::click(test::button(form, "BitBtn4"));
        ASSERT_EQ(recorder.texts(),
                  QStringList{QStringLiteral("ファイル名に使用出来ない文字が含まれています")});
        EXPECT_EQ(recorder.shown().first().message.icon, MessageIcon::Error);
        EXPECT_EQ(QApplication::focusWidget(), test::edit(form, "Edit5"));
    }
    EXPECT_EQ(tableFile().size(), 0);

    // The title holds at most 80 bytes: a further character is refused.
    test::edit(form, "Edit4")->setText(QString(39, QChar(0x8868)));
    test::edit(form, "Edit4")->end(false);
    test::type(test::edit(form, "Edit4"), QStringLiteral("ab"));
    EXPECT_EQ(test::edit(form, "Edit4")->text(), QString(39, QChar(0x8868)) + QStringLiteral("ab"));
    test::type(test::edit(form, "Edit4"), QStringLiteral("c"));
    EXPECT_EQ(test::edit(form, "Edit4")->text(), QString(39, QChar(0x8868)) + QStringLiteral("ab"));
}

TEST_F(TablePageTest, ADefinitionLoadedIntoBothDialogsIsStoredAgainByteForByte) {
    TableDefinition stored = test::everyFieldSet();
    // 79 bytes of text and the first half of 表: the cut split a double-byte character.
    stored.TableName = QByteArray(79, 'n') + test::Hyo.left(1);
    stored.FileName = test::So + "data";
    stored.FooterName = "typed by hand";
    stored.CaptionText = test::WideB + "caption";
    stored.TableWidth = "80%";
    stored.ColumnBackColours[40] = 0x0080FF;
    TableDefinition first;
    first.TableName = "first";
    first.FileName = "one";
    const TableDefinitionFile file(program.path());
    file.append(first);
    file.append(stored);
    form.LoadTableLists();
    const QByteArray before = tableFile();

    // A definition with the caption on top, then the one below it.
    test::clickRow(test::listView(form, "ListView1"), 0);
    EXPECT_TRUE(test::radioButton(windows.form3(), "RadioButton1")->isChecked());
    test::clickRow(test::listView(form, "ListView1"), 1);
    EXPECT_TRUE(test::radioButton(windows.form3(), "RadioButton2")->isChecked());
    EXPECT_TRUE(test::radioButton(windows.form3(), "RadioButton3")->isChecked());
    EXPECT_EQ(test::spinEdit(windows.form3(), "SpinEdit3")->value(), 80);
    EXPECT_TRUE(test::checkBox(windows.form4(), "CheckBox3")->isChecked());
    EXPECT_FALSE(test::checkBox(windows.form4(), "CheckBox1")->isChecked());
    EXPECT_EQ(test::comboBox(form, "ComboBox2")->currentText(), QStringLiteral("typed by hand"));
    // Column 40's colours show in the cell colour dialog's strip once it is scrolled there.
    test::scrollBar(windows.form4(), "ScrollBar1")->setValue(36);
    EXPECT_EQ(test::control<StripImage>(windows.form4(), "Image1")->canvas().pixel(50 * 4 + 30, 12),
              qRgb(0xFF, 0x80, 0x00));

    test::click(test::button(form, "BitBtn4"));
    EXPECT_EQ(tableFile(), before);
    EXPECT_TRUE(recorder.shown().isEmpty());
}

TEST_F(TablePageTest, AClickBelowTheRowsKeepsTheFieldsBeingEdited) {
    registerNew(QStringLiteral("T"), QStringLiteral("f"));
    test::clickRow(test::listView(form, "ListView1"), 0);
    ASSERT_EQ(test::edit(form, "Edit4")->text(), QStringLiteral("T"));
    test::edit(form, "Edit4")->setText(QStringLiteral("changed"));
    QTest::mouseClick(test::listView(form, "ListView1")->viewport(), Qt::LeftButton, {}, QPoint(60, 120));
    EXPECT_EQ(test::edit(form, "Edit4")->text(), QStringLiteral("changed"));
}

TEST_F(TablePageTest, TheWidthTextChoosesTheWidthOption) {
    const TableDefinitionFile file(program.path());
    for (const QByteArray& width : {QByteArray("640"), QByteArray(""), QByteArray("75%")}) {
        TableDefinition definition;
        definition.TableName = "w";
        definition.FileName = "w";
        definition.TableWidth = width;
        file.append(definition);
    }
    form.LoadTableLists();
    TForm3& dialog = windows.form3();
    test::clickRow(test::listView(form, "ListView1"), 0);
    EXPECT_TRUE(test::radioButton(dialog, "RadioButton4")->isChecked());
    EXPECT_EQ(test::spinEdit(dialog, "SpinEdit4")->value(), 640);
    EXPECT_TRUE(test::spinEdit(dialog, "SpinEdit4")->isEnabled());
    EXPECT_FALSE(test::spinEdit(dialog, "SpinEdit3")->isEnabled());
    test::clickRow(test::listView(form, "ListView1"), 1);
    EXPECT_TRUE(test::radioButton(dialog, "RadioButton5")->isChecked());
    EXPECT_FALSE(test::spinEdit(dialog, "SpinEdit3")->isEnabled());
    EXPECT_FALSE(test::spinEdit(dialog, "SpinEdit4")->isEnabled());
    test::clickRow(test::listView(form, "ListView1"), 2);
    EXPECT_TRUE(test::radioButton(dialog, "RadioButton3")->isChecked());
    EXPECT_EQ(test::spinEdit(dialog, "SpinEdit3")->value(), 75);
}

TEST_F(TablePageTest, DeletingHidesADefinitionUnderItsNumberAndRestoringBringsItBack) {
    registerNew(QStringLiteral("a"), QStringLiteral("a"));
    registerNew(QStringLiteral("b"), QStringLiteral("b"));
    registerNew(QStringLiteral("c"), QStringLiteral("c"));
    const QByteArray before = tableFile();

    test::click(test::button(form, "BitBtn5"));
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("テーブルを選択してください")});
    test::click(test::button(form, "BitBtn6"));
    EXPECT_EQ(recorder.texts().last(), QStringLiteral("削除されたテーブルはありません"));

    recorder.clear();
    test::clickRow(test::listView(form, "ListView1"), 1);
    test::click(test::button(form, "BitBtn5")); // answered No
    EXPECT_EQ(tableFile(), before);
    recorder.answerNext(true);
    test::click(test::button(form, "BitBtn5"));
    ASSERT_EQ(recorder.texts(),
              (QStringList{QStringLiteral("削除しますか？"), QStringLiteral("削除しますか？")}));
    EXPECT_TRUE(recorder.shown().first().question);
    QByteArray expected = before;
    expected[1524 + 1521] = 1;
    EXPECT_EQ(tableFile(), expected);
    EXPECT_EQ(test::columnTexts(test::listView(form, "ListView1"), 0), test::texts({"0", "2"}));
    EXPECT_EQ(test::columnTexts(test::listView(form, "ListView2"), 0), test::texts({"0", "2"}));
    EXPECT_EQ(test::edit(form, "Edit3")->text(), QString());

    // Registering a new definition now appends: the deleted number is never reused.
    registerNew(QStringLiteral("d"), QStringLiteral("d"));
    EXPECT_EQ(test::columnTexts(test::listView(form, "ListView1"), 0), test::texts({"0", "2", "3"}));

    test::click(test::button(form, "BitBtn6"));
    auto* chooser = form.findChild<RestoreDefinitionWindow*>();
    ASSERT_NE(chooser, nullptr);
    ASSERT_TRUE(chooser->isVisible());
    EXPECT_EQ(test::columnTexts(test::listView(*chooser, "ListView5"), 0), test::texts({"1"}));
    EXPECT_EQ(test::columnTexts(test::listView(*chooser, "ListView5"), 1), test::texts({"b"}));
    test::clickRow(test::listView(*chooser, "ListView5"), 0);
    test::click(test::button(*chooser, "RestoreButton"));
    EXPECT_FALSE(chooser->isVisible());
    EXPECT_EQ(tableFile().left(4572), before);
    EXPECT_EQ(test::columnTexts(test::listView(form, "ListView1"), 0), test::texts({"0", "1", "2", "3"}));
}

TEST_F(TablePageTest, DialogButtonsNeedAStoredDefinitionAndNewResetsBothDialogs) {
    test::click(test::button(form, "Button2"));
    test::click(test::button(form, "Button3"));
    EXPECT_EQ(recorder.texts(), (QStringList{QStringLiteral("テーブルを選択してください"),
                                             QStringLiteral("テーブルを選択してください")}));
    EXPECT_FALSE(windows.form3().isVisible());
    EXPECT_FALSE(windows.form4().isVisible());

    registerNew(QStringLiteral("a"), QStringLiteral("a"));
    test::clickRow(test::listView(form, "ListView1"), 0);
    test::click(test::button(form, "Button2"));
    EXPECT_TRUE(windows.form3().isVisible());
    test::click(test::button(form, "Button3"));
    EXPECT_TRUE(windows.form4().isVisible());

    test::checkBox(windows.form4(), "CheckBox3")->setChecked(true);
    test::spinEdit(windows.form3(), "SpinEdit1")->setValue(20);
    test::radioButton(windows.form3(), "RadioButton2")->setChecked(true);
    EXPECT_TRUE(form.currentDefinition().RowColourMode);
    test::click(test::button(form, "BitBtn3"));
    EXPECT_EQ(form.currentDefinition(), TableDefinition());
    EXPECT_FALSE(test::checkBox(windows.form4(), "CheckBox1")->isChecked());
    EXPECT_FALSE(test::checkBox(windows.form4(), "CheckBox3")->isChecked());
    EXPECT_EQ(test::spinEdit(windows.form3(), "SpinEdit1")->value(), 1);
    EXPECT_TRUE(test::radioButton(windows.form3(), "RadioButton1")->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), test::edit(form, "Edit4"));
}

TEST_F(TablePageTest, TheDataPageNeedsASelectedTableAndARegisterClearsTheTicks) {
    registerNew(QStringLiteral("a"), QStringLiteral("a"));
    registerNew(QStringLiteral("b"), QStringLiteral("b"));
    test::listView(form, "ListView2")->item(0, 0)->setCheckState(Qt::Checked);
    test::listView(form, "ListView2")->item(1, 0)->setCheckState(Qt::Checked);
    registerNew(QStringLiteral("c"), QStringLiteral("c"));
    for (int row = 0; row < test::listView(form, "ListView2")->rowCount(); ++row) {
        EXPECT_EQ(test::listView(form, "ListView2")->item(row, 0)->checkState(), Qt::Unchecked);
    }

    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet2"));
    test::click(test::button(form, "BitBtn8"));
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("入力するテーブルを選択してください")});
    // A TABLE.DAT from elsewhere may name files outside the data folder: the editor is not opened.
    TableDefinition escaping;
    escaping.TableName = "x";
    escaping.FileName = "../x";
    ASSERT_EQ(TableDefinitionFile(program.path()).append(escaping), 3);
    form.LoadTableLists();
    test::clickRow(test::listView(form, "ListView2"), 3);
    test::click(test::button(form, "BitBtn8"));
    EXPECT_EQ(recorder.texts().last(), QStringLiteral("ファイル名に使用出来ない文字が含まれています：3 x"));
    EXPECT_EQ(recorder.shown().last().message.icon, MessageIcon::Error);

    test::clickRow(test::listView(form, "ListView2"), 1);
    QFile::remove(program.file(QStringLiteral("TABLE.DAT")));
    test::click(test::button(form, "BitBtn8"));
    EXPECT_EQ(recorder.texts().last(),
              QStringLiteral("テーブルマスターが見つかりません、テーブル設定で作成してください"));
    EXPECT_EQ(recorder.shown().last().message.icon, MessageIcon::Error);

    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet4"));
    test::clickRow(test::listView(form, "ListView1"), 0);
    EXPECT_EQ(recorder.texts().last(), QStringLiteral("テーブルがありません"));
}

} // namespace
} // namespace kelvano

namespace kelvano {
namespace {

TEST_F(TablePageTest, OutputWritesThePagesOfTheTickedTablesAndShowsEachMessage) {
    program.write(QStringLiteral("HEAD.DAT"), QByteArray(1, '\x01') + 'H' + QByteArray(80, '\0'));
    program.write(QStringLiteral("HEAD.0"), "<HTML>\r\n");
    program.write(QStringLiteral("two.TBL"), QByteArray());
    form.LoadSnippetLists();
    registerNew(QStringLiteral("one"), QStringLiteral("one"));
    test::click(test::button(form, "BitBtn3"));
    test::type(test::edit(form, "Edit4"), QStringLiteral("two"));
    test::type(test::edit(form, "Edit5"), QStringLiteral("two"));
    test::comboBox(form, "ComboBox1")->setCurrentIndex(0);
    EXPECT_EQ(test::comboBox(form, "ComboBox1")->currentText(), QStringLiteral("0:H"));
    test::click(test::button(form, "BitBtn4"));

    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet2"));
    test::click(test::button(form, "BitBtn9"));
    EXPECT_EQ(recorder.texts(), test::texts({"テーブルを選択してください"}));
    EXPECT_EQ(recorder.shown().first().message.icon, MessageIcon::Error);
    EXPECT_FALSE(program.exists(QStringLiteral("one.html")));

    recorder.clear();
    test::listView(form, "ListView2")->item(1, 0)->setCheckState(Qt::Checked);
    test::click(test::button(form, "BitBtn9"));
    EXPECT_EQ(recorder.texts(), test::texts({"フォッタファイルが見つかりませんでした、フッタ無しで続行します",
                                             "作成終了しました"}));
    EXPECT_EQ(recorder.shown().first().message.icon, MessageIcon::Error);
    EXPECT_EQ(
        program.read(QStringLiteral("two.html")),
        QByteArray("<HTML>\r\n<TABLE BORDER=\"1\" CELLSPACING=\"2\" CELLPADDING=\"1\">\r\n</TABLE>\r\n"));
    EXPECT_FALSE(program.exists(QStringLiteral("one.html")));

    // A table without its data file yet is told how to get one, and the next ticked table is written;
    // the table whose page was not written is told after what the run says of the pages it wrote.
    recorder.clear();
    QFile::remove(program.file(QStringLiteral("two.html")));
    test::listView(form, "ListView2")->item(0, 0)->setCheckState(Qt::Checked);
    test::click(test::button(form, "BitBtn9"));
    ASSERT_EQ(recorder.shown().size(), 3);
    EXPECT_EQ(recorder.texts().at(0),
              QStringLiteral("フォッタファイルが見つかりませんでした、フッタ無しで続行します"));
    EXPECT_TRUE(recorder.texts().at(1).startsWith(
        QStringLiteral("テーブル 0「one」のデータファイルがまだありません")));
    EXPECT_TRUE(recorder.texts().at(1).contains(QStringLiteral("テーブルデータを入力してください")));
    EXPECT_TRUE(recorder.texts().at(1).contains(program.file(QStringLiteral("one.TBL"))));
    EXPECT_EQ(recorder.texts().at(2),
              QStringLiteral("1件のページを作成しました（1件は作成出来ませんでした）"));
    EXPECT_TRUE(program.exists(QStringLiteral("two.html")));

    // A page that cannot be written is reported in the I/O error box, naming the table and the reason.
    recorder.clear();
    program.write(QStringLiteral("one.TBL"), QByteArray());
    QDir(program.path()).mkdir(QStringLiteral("one.html"));
    test::click(test::button(form, "BitBtn9"));
    const auto failure =
        std::find_if(recorder.shown().begin(), recorder.shown().end(),
                     [](const auto& shown) { return shown.message.caption == QStringLiteral("Kelvano"); });
    ASSERT_NE(failure, recorder.shown().end()) << recorder.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(failure->message.text.startsWith(
        QStringLiteral("テーブル 0「one」のページを作成出来ませんでした\n")));
    EXPECT_TRUE(failure->message.text.endsWith(QStringLiteral("ファイルではなくフォルダです")))
        << failure->message.text.toStdString();
    EXPECT_EQ(recorder.texts().last(),
              QStringLiteral("1件のページを作成しました（1件は作成出来ませんでした）"));

    // Several tables whose pages were not written: one list of them, then the closing message.
    recorder.clear();
    registerNew(QStringLiteral("three"), QStringLiteral("three"));
    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet2"));
    for (int row = 0; row < 3; ++row) {
        test::listView(form, "ListView2")->item(row, 0)->setCheckState(Qt::Checked);
    }
    test::click(test::button(form, "BitBtn9"));
    // (three has neither header nor footer, two no footer: those pages are written all the same.)
    ASSERT_EQ(recorder.shown().size(), 5) << recorder.texts().join(QLatin1Char('|')).toStdString();
    const QString list = recorder.texts().at(3);
    EXPECT_TRUE(list.startsWith(
        QStringLiteral("2件のテーブルのページを作成出来ませんでした\n\nテーブル 2「three」の")))
        << list.toStdString();
    EXPECT_TRUE(list.endsWith(QStringLiteral("\n\nテーブル 0「one」のページを作成出来ませんでした\n") +
                              program.file(QStringLiteral("one.html")) +
                              QStringLiteral("\nファイルではなくフォルダです")))
        << list.toStdString();
    EXPECT_EQ(recorder.shown().at(3).message.icon, MessageIcon::Error);
    EXPECT_EQ(recorder.texts().at(4),
              QStringLiteral("1件のページを作成しました（2件は作成出来ませんでした）"));
}

} // namespace
} // namespace kelvano

namespace kelvano {
namespace {

TEST_F(TablePageTest, DataEntryOpensTheEditorWithTheSelectedTablesColumns) {
    TForm5 editor;
    linkWindows({.Form1 = &form, .Form5 = &editor});
    const TableDefinitionFile file(program.path());
    for (const int columns : {3, 5}) {
        TableDefinition definition;
        definition.TableName = "t";
        definition.FileName = "cols" + QByteArray::number(columns);
        definition.ColumnCount = quint16(columns);
        file.append(definition);
    }
    form.LoadTableLists();
    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet2"));
    test::clickRow(test::listView(form, "ListView2"), 1);
    test::click(test::button(form, "BitBtn8"));
    EXPECT_TRUE(editor.isVisible());
    const QAbstractItemModel* grid = test::tableView(editor, "StringGrid1")->model();
    EXPECT_EQ(grid->headerData(0, Qt::Horizontal).toString(), QStringLiteral("列1"));
    EXPECT_EQ(grid->headerData(4, Qt::Horizontal).toString(), QStringLiteral("列5"));
    EXPECT_FALSE(grid->headerData(5, Qt::Horizontal).isValid());
    EXPECT_TRUE(program.exists(QStringLiteral("cols5.TBL")));

    // A double click on a row opens it the same way.
    editor.hide();
    const QRect first =
        test::listView(form, "ListView2")->visualItemRect(test::listView(form, "ListView2")->item(0, 1));
    QTest::mouseClick(test::listView(form, "ListView2")->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(test::listView(form, "ListView2")->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_TRUE(editor.isVisible());
    EXPECT_FALSE(test::tableView(editor, "StringGrid1")->model()->headerData(3, Qt::Horizontal).isValid());
}

} // namespace
} // namespace kelvano

namespace kelvano {
namespace {

TEST_F(TablePageTest, ADefinitionFormattedInTheDialogsComesOutOnItsPage) {
    registerNew(QStringLiteral("formatted"), QStringLiteral("formatted"));
    program.write(QStringLiteral("formatted.TBL"), QByteArray());
    test::clickRow(test::listView(form, "ListView1"), 0);
    test::click(test::button(form, "Button2"));
    TForm3& wide = windows.form3();
    test::spinEdit(wide, "SpinEdit1")->setValue(3);
    test::click(test::radioButton(wide, "RadioButton3"));
    test::spinEdit(wide, "SpinEdit3")->setValue(80);
    recorder.chooseNext(QColor(0xFF, 0x80, 0x00));
    test::click(test::button(wide, "Button1"));
    recorder.answerNext(true);
    test::click(test::button(wide, "Button4"));

    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet2"));
    test::listView(form, "ListView2")->item(0, 0)->setCheckState(Qt::Checked);
    test::click(test::button(form, "BitBtn9"));
    EXPECT_EQ(recorder.texts().last(), QStringLiteral("作成終了しました"));
    EXPECT_TRUE(program.read(QStringLiteral("formatted.html"))
                    .contains("<TABLE BORDER=\"3\" WIDTH=\"80%\" BORDERCOLOR=\"#FF8000\" CELLSPACING=\"2\" "
                              "CELLPADDING=\"1\">\r\n</TABLE>\r\n"));
}

} // namespace
} // namespace kelvano
