// The main window and its dialogs used from the keyboard: list rows chosen by key, Enter in a name,
// Tab in the text boxes, the choice boxes' keys, and the dialogs' Enter and Escape.

#include "app/window_links.h"
#include "core/table/table_data_model.h"
#include "gui/dialogs/table_settings_dialog.h"
#include "gui/entry/table_data_editor.h"
#include "gui/main/help_window.h"
#include "gui/main/main_window.h"
#include "gui/main/restore_definition_window.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

class KeyboardTest : public testing::Test {
protected:
    KeyboardTest() : windows(program.path()), form(windows.form1()) {
        showPage("TabSheet3");
        test::click(test::button(form, "Button1")); // the folders, so that snippets can be registered
    }

    void showPage(const char* name) {
        test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, name));
    }
    /// Types a name and presses Enter in it.
    void enterName(const char* field, const QString& name) {
        test::focus(test::edit(form, field));
        test::type(test::edit(form, field), name);
        QTest::keyClick(test::edit(form, field), Qt::Key_Return);
    }
    void registerTable(const QString& title, const QString& fileName) {
        test::click(test::button(form, "BitBtn3"));
        test::type(test::edit(form, "Edit5"), fileName);
        enterName("Edit4", title);
    }
    void registerHeader(const QString& name, const QString& text) {
        test::click(test::button(form, "BitBtn11"));
        test::memo(form, "Memo1")->setPlainText(text);
        enterName("Edit9", name);
    }
    static void key(QWidget* widget, int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(widget, Qt::Key(code), modifiers);
    }

    test::TempFolder program;
    test::DialogRecorder recorder;
    test::WindowSet windows;
    TForm1& form;
};

TEST_F(KeyboardTest, EnterInTheNameRegistersAndArrowsSpaceAndEnterLoadARowAsAClickDoes) {
    showPage("TabSheet4");
    registerTable(QStringLiteral("First"), QStringLiteral("one"));
    registerTable(QStringLiteral("Second"), QStringLiteral("two"));
    registerTable(QStringLiteral("Third"), QStringLiteral("three"));
    QTableWidget* const list = test::listView(form, "ListView1");
    ASSERT_EQ(test::columnTexts(list, 1), test::texts({"First", "Second", "Third"}));
    EXPECT_TRUE(recorder.shown().isEmpty()) << recorder.texts().join(u'|').toStdString();

    QLineEdit* const title = test::edit(form, "Edit4");
    test::clickRow(list, 0);
    EXPECT_EQ(title->text(), QStringLiteral("First"));
    test::focus(list);
    key(list, Qt::Key_Down);
    EXPECT_EQ(title->text(), QStringLiteral("Second"));
    EXPECT_EQ(test::edit(form, "Edit3")->text(), QStringLiteral("1"));
    key(list, Qt::Key_PageDown);
    EXPECT_EQ(title->text(), QStringLiteral("Third"));
    key(list, Qt::Key_Down); // already on the last row: nothing changes, nothing is read
    EXPECT_EQ(title->text(), QStringLiteral("Third"));
    // A changed field comes back from the file when the row is chosen again by Space or by Enter.
    title->setText(QStringLiteral("typed over"));
    key(list, Qt::Key_Space);
    EXPECT_EQ(title->text(), QStringLiteral("Third"));
    title->setText(QStringLiteral("typed over"));
    key(list, Qt::Key_Return);
    EXPECT_EQ(title->text(), QStringLiteral("Third"));
    key(list, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(title->text(), QStringLiteral("First"));

    // Tab leaves the list for the next control, Shift+Tab for the one before.
    key(list, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), test::edit(form, "Edit3"));
    test::focus(list);
    key(list, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), test::pageControl(form, "PageControl1")->tabBar());
    EXPECT_TRUE(recorder.shown().isEmpty()) << recorder.texts().join(u'|').toStdString();
}

TEST_F(KeyboardTest, HeaderAndFooterListsLoadByKeyAndTheTextBoxLetsTabGo) {
    showPage("TabSheet5");
    registerHeader(QStringLiteral("Top"), QStringLiteral("<html>"));
    registerHeader(QStringLiteral("Other"), QStringLiteral("<html lang=\"ja\">"));
    QTableWidget* const headers = test::listView(form, "ListView3");
    ASSERT_EQ(test::columnTexts(headers, 1), test::texts({"Top", "Other"}));
    QPlainTextEdit* const memo = test::memo(form, "Memo1");
    memo->clear();
    headers->setFocus(Qt::TabFocusReason);
    key(headers, Qt::Key_Space); // the first row, where the focus frame starts on Tab
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("<html>\n"));
    key(headers, Qt::Key_Down);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("<html lang=\"ja\">\n"));
    EXPECT_EQ(test::edit(form, "Edit9")->text(), QStringLiteral("Other"));

    // Tab moves on from the text box, Ctrl+Tab to the next page; Ctrl+I types a tab character into it.
    test::focus(memo);
    memo->moveCursor(QTextCursor::End);
    key(memo, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("<html lang=\"ja\">\n\t"));
    EXPECT_EQ(QApplication::focusWidget(), memo);
    key(memo, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), test::button(form, "BitBtn18"));
    test::focus(memo);
    key(memo, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), test::pageControl(form, "PageControl1")->tabBar());
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("<html lang=\"ja\">\n\t"));
    test::focus(memo);
    key(memo, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(test::pageControl(form, "PageControl1")->currentWidget(), test::tabSheet(form, "TabSheet1"));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("<html lang=\"ja\">\n\t"));
}

TEST_F(KeyboardTest, TheChoiceBoxesOpenWithSpaceAndF4AndSpaceAfterATextTypesIt) {
    showPage("TabSheet5");
    registerHeader(QStringLiteral("Top"), QStringLiteral("<html>"));
    test::click(test::button(form, "BitBtn14"));
    enterName("Edit10", QStringLiteral("End"));
    ASSERT_EQ(test::columnTexts(test::listView(form, "ListView4"), 1), test::texts({"End"}));
    showPage("TabSheet4");
    for (const char* name : {"ComboBox1", "ComboBox2"}) {
        SCOPED_TRACE(name);
        QComboBox* const box = test::comboBox(form, name);
        test::focus(box);
        key(box, Qt::Key_F4);
        EXPECT_TRUE(box->view()->isVisible());
        box->hidePopup();
        key(box, Qt::Key_Space); // an empty box
        EXPECT_TRUE(box->view()->isVisible());
        box->hidePopup();
        key(box, Qt::Key_A);
        key(box, Qt::Key_Space); // after a typed letter it is a space
        EXPECT_FALSE(box->view()->isVisible());
        EXPECT_EQ(box->currentText(), QStringLiteral("a "));
        box->lineEdit()->selectAll(); // as after Tab into the box
        key(box, Qt::Key_Space);
        EXPECT_TRUE(box->view()->isVisible());
        box->hidePopup();
        EXPECT_EQ(box->currentText(), QStringLiteral("a "));
    }
}

TEST_F(KeyboardTest, EscapeClosesHelpAndDialogsAsTheirCancelAndEnterPressesTheirDefault) {
    QDir(program.path()).mkdir(QStringLiteral("help"));
    program.write(QStringLiteral("help/index.html"), "<html><body>index</body></html>");
    form.setHelpFolder(program.path() + QStringLiteral("help"));
    test::click(test::button(form, "BitBtn17"));
    HelpWindow* const help = form.helpWindow();
    ASSERT_TRUE(help->isVisible());
    key(test::control<QWidget>(*help, "HelpBrowser"), Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());

    // The restore window: Escape as "キャンセル" restores nothing, Enter as "復活" restores the row.
    showPage("TabSheet4");
    registerTable(QStringLiteral("Gone"), QStringLiteral("gone"));
    test::clickRow(test::listView(form, "ListView1"), 0);
    recorder.answerNext(Answer::Yes);
    test::click(test::button(form, "BitBtn5"));
    ASSERT_EQ(test::listView(form, "ListView1")->rowCount(), 0);
    for (const int pressed : {Qt::Key_Escape, Qt::Key_Return}) {
        test::click(test::button(form, "BitBtn6"));
        auto* const restore = form.findChild<RestoreDefinitionWindow*>();
        ASSERT_NE(restore, nullptr);
        ASSERT_TRUE(restore->isVisible());
        EXPECT_TRUE(test::button(*restore, "RestoreButton")->isDefault());
        key(test::listView(*restore, "ListView5"), pressed);
        EXPECT_FALSE(restore->isVisible());
        EXPECT_EQ(test::listView(form, "ListView1")->rowCount(), pressed == Qt::Key_Return ? 1 : 0);
    }

    // A formatting dialog: Escape closes it as "閉じる" does, asking whether to save only when a
    // setting differs from the stored one.
    test::clickRow(test::listView(form, "ListView1"), 0);
    TForm3& settings = windows.form3();
    for (const bool changed : {false, true, true}) {
        test::click(test::button(form, "Button2"));
        ASSERT_TRUE(settings.isVisible());
        EXPECT_TRUE(test::button(settings, "Button4")->isDefault());
        recorder.clear();
        if (changed) {
            test::type(test::edit(settings, "Edit2"), QStringLiteral("x"));
            recorder.answerNext(Answer::No);
        }
        key(test::edit(settings, "Edit2"), Qt::Key_Escape);
        EXPECT_FALSE(settings.isVisible());
        EXPECT_EQ(recorder.texts(),
                  changed ? QStringList{QStringLiteral("設定を保存しますか？")} : QStringList());
    }
    // Saved, the same settings ask nothing any more.
    test::click(test::button(form, "Button2"));
    recorder.clear();
    recorder.answerNext(Answer::Yes);
    key(test::edit(settings, "Edit2"), Qt::Key_Escape);
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("設定を保存しますか？")});
    test::click(test::button(form, "Button2"));
    recorder.clear();
    key(test::edit(settings, "Edit2"), Qt::Key_Escape);
    EXPECT_TRUE(recorder.texts().isEmpty()) << recorder.texts().join(u'|').toStdString();
}

TEST_F(KeyboardTest, TabLeavesTheEditorsGridKeepingTheTypedText) {
    TForm5 editor;
    linkWindows({.Form1 = &form, .Form5 = &editor});
    showPage("TabSheet4");
    registerTable(QStringLiteral("Fish"), QStringLiteral("fish"));
    showPage("TabSheet2");
    test::clickRow(test::listView(form, "ListView2"), 0);
    test::click(test::button(form, "BitBtn8"));
    ASSERT_TRUE(editor.isVisible());
    QApplication::setActiveWindow(&editor);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    QTableView* const grid = test::tableView(editor, "StringGrid1");
    ASSERT_EQ(QApplication::focusWidget(), grid);
    for (const char letter : {'T', 'u', 'n', 'a'}) {
        QTest::keyClick(QApplication::focusWidget(), letter); // the in-place editor after the first
    }
    key(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), test::button(editor, "BitBtn1"));
    EXPECT_EQ(editor.model().index(0, 0).data().toString(), QStringLiteral("Tuna"));
    key(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), grid);
    recorder.answerNext(Answer::No);
    test::click(test::button(editor, "BitBtn2"));
}

} // namespace
} // namespace kelvano
