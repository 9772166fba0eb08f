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

#include <QAction>
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

} // namespace
} // namespace kelvano
