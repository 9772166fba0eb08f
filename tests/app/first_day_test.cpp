// The first day of a new user, as the help's getting-started steps take it: a fresh program folder, the
// automatic folder layout, a header and a footer, a table, its data with a picture, and its page.

#include "../entry/jpeg_writer.h"
#include "app/window_links.h"
#include "core/html/clock.h"
#include "core/html/header_macros.h"
#include "core/table/table_data_model.h"
#include "gui/entry/picture_picker.h"
#include "gui/entry/table_data_editor.h"
#include "gui/main/main_window.h"
#include "gui/shell/file_view.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QAbstractItemView>
#include <QAction>
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
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <string_view>

namespace kelvano {
namespace {

class FirstDay : public testing::Test {
protected:
    FirstDay() : windows(program.path()), form(windows.form1()) {
        linkWindows({.Form1 = &form, .Form5 = &editor, .Form7 = &picker});
        Clock::setFixedNow(QDateTime(QDate(1997, 6, 1), QTime(9, 5, 7)));
    }
    ~FirstDay() override { Clock::setFixedNow({}); }

    void registerSnippet(QPushButton* newButton, QLineEdit* name, QPushButton* registerButton,
                         const QString& title, const QString& text) {
        test::click(newButton);
        test::memo(form, "Memo1")->setPlainText(text);
        test::type(name, title);
        test::click(registerButton);
    }

    test::TempFolder program;
    test::DialogRecorder recorder;
    test::WindowSet windows;
    TForm1& form;
    TForm5 editor;
    TForm7 picker;
};

TEST_F(FirstDay, FromAnEmptyProgramFolderToAPageWhosePictureIsFound) {
    program.write(QStringLiteral("Sea View.jpg"), test::jpegBytes(40, 30, Qt::cyan));

    // 1. Folders: the automatic layout.
    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet3"));
    test::click(test::button(form, "Button1"));

    // 2. A header and a footer, registered at once in the new data folder.
    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet5"));
    registerSnippet(test::button(form, "BitBtn11"), test::edit(form, "Edit9"), test::button(form, "BitBtn12"),
                    QStringLiteral("Top"),
                    QStringLiteral("<html><body>\n<h1>My Table</h1><p>Updated <getnowdate></p>"));
    registerSnippet(test::button(form, "BitBtn14"), test::edit(form, "Edit10"),
                    test::button(form, "BitBtn15"), QStringLiteral("End"), QStringLiteral("</body></html>"));

    // 3. A table using them.
    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet4"));
    test::click(test::button(form, "BitBtn3"));
    test::type(test::edit(form, "Edit4"), QStringLiteral("Fish"));
    test::type(test::edit(form, "Edit5"), QStringLiteral("fish"));
    test::comboBox(form, "ComboBox1")->setCurrentIndex(0);
    test::comboBox(form, "ComboBox2")->setCurrentIndex(0);
    test::click(test::button(form, "BitBtn4"));

    // 4. Its data: the first opening asks nothing; one cell typed, a picture attached.
    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet2"));
    test::clickRow(test::listView(form, "ListView2"), 0);
    test::click(test::button(form, "BitBtn8"));
    ASSERT_TRUE(editor.isVisible());
    EXPECT_TRUE(recorder.shown().isEmpty()) << recorder.texts().join(QLatin1Char('|')).toStdString();
    editor.model().setData(editor.model().index(0, 0), QStringLiteral("Tuna"));
    test::tableView(editor, "StringGrid1")->setCurrentIndex(editor.model().index(0, 0));
    editor.findChild<QAction*>(QStringLiteral("N10"))->trigger();
    ASSERT_TRUE(picker.isVisible());
    picker.SelectFolder(program.path());
    const auto found =
        test::control<TFileView>(picker, "FileView1")
            ->findItems(QStringLiteral("Sea View.jpg"), Qt::MatchExactly, TFileView::NameColumn);
    ASSERT_EQ(found.size(), 1);
    test::control<TFileView>(picker, "FileView1")->setCurrentItem(found.first());
    test::click(test::button(picker, "BitBtn1"));
    test::click(test::button(editor, "BitBtn1"));
    ASSERT_FALSE(editor.isVisible());

    // 5. The page.
    test::listView(form, "ListView2")->item(0, 0)->setCheckState(Qt::Checked);
    test::click(test::button(form, "BitBtn9"));
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("作成終了しました")});

    const QByteArray page = program.read(QStringLiteral("HTML/fish.html"));
    EXPECT_TRUE(page.startsWith("<html><body>\r\n<h1>My Table</h1><p>Updated " +
                                macroDateText(Clock::now(), QLocale()) + "</p>\r\n"))
        << page.toStdString();
    EXPECT_TRUE(page.endsWith("</TABLE>\r\n</body></html>\r\n"));
    const qsizetype source = page.indexOf("SRC=\"");
    ASSERT_GE(source, 0) << page.toStdString();
    const qsizetype start = source + 5;
    const QByteArray picturePath = page.mid(start, page.indexOf('"', start) - start);
    EXPECT_EQ(picturePath, "grph/Sea View.jpg");
    // The browser looks for it beside the page: that is where the picker copied it.
    EXPECT_TRUE(program.exists(QStringLiteral("HTML/") + QString::fromUtf8(picturePath)));
}

/// The same first day without the mouse: every step is a key a user presses. Only the window manager's
/// part (making a newly shown window the active one) is done by the test.
class FirstDayByKeys : public FirstDay {
protected:
    static QWidget* focused() { return QApplication::focusWidget(); }
    static void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focused(), Qt::Key(key), modifiers);
    }
    static void typeKeys(const QString& text) {
        for (const QChar character : text) {
            if (character == u'\n') {
                press(Qt::Key_Return);
            } else {
                QTest::keyClicks(focused(), QString(character));
            }
        }
    }
    /// Ctrl+Tab until the page of that name is shown.
    void showPage(const char* name) {
        QTabWidget* const pages = test::pageControl(form, "PageControl1");
        for (int press = 0;
             press < pages->count() && pages->currentWidget()->objectName() != QLatin1String(name); ++press) {
            FirstDayByKeys::press(Qt::Key_Tab, Qt::ControlModifier);
        }
        ASSERT_EQ(pages->currentWidget()->objectName(), QLatin1String(name));
    }
    /// Tab until the control of that name has the focus.
    static void tabTo(const char* name) {
        for (int press = 0; press < 40 && focused()->objectName() != QLatin1String(name); ++press) {
            FirstDayByKeys::press(Qt::Key_Tab);
        }
        ASSERT_EQ(focused()->objectName(), QLatin1String(name));
    }
    static void activate(QWidget& window) {
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

TEST_F(FirstDayByKeys, FromAnEmptyProgramFolderToAPage) {
    activate(form);
    test::pageControl(form, "PageControl1")->tabBar()->setFocus(Qt::TabFocusReason);

    // 1. Folders: the automatic layout.
    showPage("TabSheet3");
    tabTo("Button1");
    press(Qt::Key_Space);

    // 2. A header and a footer: the text, the name, Enter.
    showPage("TabSheet5");
    tabTo("Memo1");
    typeKeys(QStringLiteral("<html><body>\n<h1>Fish</h1>"));
    tabTo("Edit9");
    typeKeys(QStringLiteral("Top"));
    press(Qt::Key_Return);
    tabTo("BitBtn14");
    press(Qt::Key_Space); // the footer's 新規作成 empties the text box
    tabTo("Memo1");
    typeKeys(QStringLiteral("</body></html>"));
    tabTo("Edit10");
    typeKeys(QStringLiteral("End"));
    press(Qt::Key_Return);
    EXPECT_EQ(test::columnTexts(test::listView(form, "ListView4"), 1), QStringList{QStringLiteral("End")});

    // 3. A table: 新規作成 puts the focus in its name; the choice boxes open with Space.
    showPage("TabSheet4");
    tabTo("BitBtn3");
    press(Qt::Key_Space);
    ASSERT_EQ(focused()->objectName(), QStringLiteral("Edit4"));
    typeKeys(QStringLiteral("Fish"));
    for (const char* choice : {"ComboBox1", "ComboBox2"}) {
        tabTo(choice);
        press(Qt::Key_Space);
        QAbstractItemView* const choices = test::comboBox(form, choice)->view();
        ASSERT_TRUE(choices->isVisible());
        QTest::keyClick(choices, Qt::Key_Return);
        if (std::string_view(choice) == "ComboBox1") {
            tabTo("Edit5");
            typeKeys(QStringLiteral("fish"));
        }
    }
    tabTo("Edit4");
    press(Qt::Key_Return);
    EXPECT_EQ(test::columnTexts(test::listView(form, "ListView1"), 4), QStringList{QStringLiteral("0:End")});

    // 4. Its cells: the row ticked and chosen with Space, the editor opened, two cells typed, Alt+C.
    showPage("TabSheet2");
    tabTo("ListView2");
    press(Qt::Key_Space);
    tabTo("BitBtn8");
    press(Qt::Key_Space);
    ASSERT_TRUE(editor.isVisible());
    activate(editor);
    typeKeys(QStringLiteral("Tuna\nBonito"));
    press(Qt::Key_C, Qt::AltModifier);
    // An Alt letter presses its button the way a click does, down and then up a moment later.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !editor.isVisible(); }));
    activate(form);

    // 5. The page.
    tabTo("BitBtn9");
    press(Qt::Key_Space);
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("作成終了しました")});
    const QByteArray page = program.read(QStringLiteral("HTML/fish.html"));
    EXPECT_TRUE(page.startsWith("<html><body>\r\n<h1>Fish</h1>\r\n")) << page.toStdString();
    EXPECT_TRUE(page.contains(">Tuna<")) << page.toStdString();
    EXPECT_TRUE(page.contains(">Bonito<")) << page.toStdString();
    EXPECT_TRUE(page.endsWith("</TABLE>\r\n</body></html>\r\n")) << page.toStdString();
}

} // namespace
} // namespace kelvano
