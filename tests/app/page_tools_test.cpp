#include "core/store/program_settings.h"
#include "core/store/shift_jis.h"
#include "core/store/table_definition_file.h"
#include "core/store/table_row_record.h"
#include "gui/base/messages.h"
#include "gui/main/desktop_browser.h"
#include "gui/main/main_window.h"
#include "gui/main/page_preview_window.h"
#include "gui/main/page_progress_dialog.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::sjis;

/// A program folder that is also the data and HTML folder, with tables a and b of one row each.
class PageTools : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a", "b"}) {
            TableDefinition d;
            d.TableName = QByteArray("title ") + name;
            d.FileName = name;
            d.HeaderName = "0:top";
            d.FooterName = "0:end";
            TableDefinitionFile(program.path()).append(d);
            TableRowRecord row;
            row.CellTexts[1] = test::Hyo;
            program.write(QString::fromLatin1(name) + QStringLiteral(".TBL"), row.encode());
        }
        program.write(QStringLiteral("HEAD.0"), "<meta charset=\"Shift_JIS\">\r\n");
        program.write(QStringLiteral("FOOT.0"), "</html>\r\n");
    }

    test::TempFolder program;
    test::DialogRecorder recorder;
};

TEST_F(PageTools, ThePageEncodingIsKeptInKelvanoIniAndWritesTheDataPagesPages) {
    program.write(QStringLiteral("KELVANO.INI"), "[Pages]\nEncoding=UTF-8\n");
    {
        test::WindowSet windows(program.path());
        TForm1& form = windows.form1();
        EXPECT_EQ(test::comboBox(form, "ComboBox3")->currentText(), QStringLiteral("UTF-8"));
        test::listView(form, "ListView2")->item(0, 0)->setCheckState(Qt::Checked);
        test::click(test::button(form, "BitBtn9"));
        EXPECT_EQ(
            program.read(QStringLiteral("a.html")),
            "<meta charset=\"UTF-8\">\r\n<TABLE BORDER=\"1\" CELLSPACING=\"2\" CELLPADDING=\"1\">\r\n"
            "<TR><TD BGCOLOR=\"#FFFFFF\" VALIGN=\"TOP\"><FONT COLOR=\"#000000\">\xE8\xA1\xA8</FONT></TD>"
            "</TR>\r\n</TABLE>\r\n</html>\r\n");

        test::comboBox(form, "ComboBox3")->setCurrentIndex(0);
        emit test::comboBox(form, "ComboBox3")->activated(0);
        EXPECT_EQ(program.read(QStringLiteral("KELVANO.INI")), "[Pages]\nEncoding=Shift_JIS\n");
        test::click(test::button(form, "BitBtn9"));
        EXPECT_TRUE(program.read(QStringLiteral("a.html")).contains(test::Hyo));
        test::click(test::button(form, "BitBtn7"));
    }
    EXPECT_EQ(program.read(QStringLiteral("TAVELO.DAT")).size(), 1004);
    EXPECT_EQ(recorder.texts(), test::texts({"作成終了しました", "作成終了しました"}));
}

TEST_F(PageTools, TheMarkupIsKeptInKelvanoIniAndWritesTheDataPagesTables) {
    program.write(QStringLiteral("KELVANO.INI"), "[Pages]\nMarkup=HTML5\n");
    {
        test::WindowSet windows(program.path());
        TForm1& form = windows.form1();
        EXPECT_EQ(test::comboBox(form, "ComboBox4")->currentText(), QStringLiteral("HTML5"));
        test::listView(form, "ListView2")->item(0, 0)->setCheckState(Qt::Checked);
        test::click(test::button(form, "BitBtn9"));
        EXPECT_EQ(
            program.read(QStringLiteral("a.html")),
            "<meta charset=\"Shift_JIS\">\r\n<table style=\"border:1px outset;border-spacing:2px\">\r\n"
            "<tr><td style=\"border:1px inset;padding:1px;background-color:#FFFFFF;vertical-align:top\">"
            "<span style=\"color:#000000\">" +
                test::Hyo + "</span></td></tr>\r\n</table>\r\n</html>\r\n");

        test::comboBox(form, "ComboBox4")->setCurrentIndex(0);
        emit test::comboBox(form, "ComboBox4")->activated(0);
        EXPECT_EQ(test::comboBox(form, "ComboBox4")->currentText(), QStringLiteral("従来"));
        EXPECT_EQ(program.read(QStringLiteral("KELVANO.INI")), "[Pages]\nMarkup=Classic\n");
        test::click(test::button(form, "BitBtn9"));
        EXPECT_TRUE(program.read(QStringLiteral("a.html")).contains("<TABLE BORDER=\"1\""));
        test::click(test::button(form, "BitBtn7"));
    }
    EXPECT_EQ(recorder.texts(), test::texts({"作成終了しました", "作成終了しました"}));
}

TEST_F(PageTools, TheStarterFillsAnEmptyTextBoxOnlyAndNamesThePageEncoding) {
    program.write(QStringLiteral("KELVANO.INI"), "[Pages]\nEncoding=UTF-8\n");
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();
    test::click(test::button(form, "BitBtn18"));
    const QString header = test::memo(form, "Memo1")->toPlainText();
    EXPECT_TRUE(header.startsWith(QStringLiteral("<!DOCTYPE html>\n"))) << header.toStdString();
    for (const char* line :
         {"<meta charset=\"UTF-8\">", "<meta name=\"viewport\"", "<meta name=\"description\"", "<title>",
          "<TABLESTYLE>", "<main>", "<GETNOWDATE>"}) {
        EXPECT_TRUE(header.contains(QString::fromUtf8(line))) << line;
    }
    // A text being written stays; the footer side gives the footer.
    test::click(test::button(form, "BitBtn19"));
    EXPECT_EQ(test::memo(form, "Memo1")->toPlainText(), header);
    EXPECT_EQ(recorder.texts(), QStringList{Messages::StarterNeedsEmptyText});
    test::memo(form, "Memo1")->clear();
    test::click(test::button(form, "BitBtn19"));
    EXPECT_EQ(test::memo(form, "Memo1")->toPlainText(), QStringLiteral("</main>\n</body>\n</html>"));

    test::comboBox(form, "ComboBox3")->setCurrentIndex(0);
    emit test::comboBox(form, "ComboBox3")->activated(0);
    test::memo(form, "Memo1")->clear();
    test::click(test::button(form, "BitBtn18"));
    EXPECT_TRUE(
        test::memo(form, "Memo1")->toPlainText().contains(QStringLiteral("<meta charset=\"Shift_JIS\">")));
}

TEST_F(PageTools, TheFooterStarterReplacesAHeaderJustRegisteredButNoTextTypedSince) {
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();
    test::click(test::button(form, "Button1"));
    QPlainTextEdit* const memo = test::memo(form, "Memo1");
    test::click(test::button(form, "BitBtn18"));
    test::type(test::edit(form, "Edit9"), QStringLiteral("Top"));
    test::click(test::button(form, "BitBtn12"));
    ASSERT_EQ(test::columnTexts(test::listView(form, "ListView3"), 1), QStringList{QStringLiteral("Top")});
    test::click(test::button(form, "BitBtn19"));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("</main>\n</body>\n</html>"));
    EXPECT_TRUE(recorder.texts().isEmpty()) << recorder.texts().join(u'|').toStdString();

    // Registered, then one letter typed: the text is being written again and stays.
    test::type(test::edit(form, "Edit10"), QStringLiteral("End"));
    test::click(test::button(form, "BitBtn15"));
    memo->moveCursor(QTextCursor::End);
    test::type(memo, QStringLiteral("x"));
    test::click(test::button(form, "BitBtn18"));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("</main>\n</body>\n</html>x"));
    EXPECT_EQ(recorder.texts(), QStringList{Messages::StarterNeedsEmptyText});
}

TEST_F(PageTools, EveryTickOfTheDataPageIsSetOrClearedAtOnce) {
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();
    const auto ticks = [&form] {
        QList<bool> states;
        for (int row = 0; row < test::listView(form, "ListView2")->rowCount(); ++row) {
            states.append(test::listView(form, "ListView2")->item(row, 0)->checkState() == Qt::Checked);
        }
        return states;
    };
    test::listView(form, "ListView2")->item(1, 0)->setCheckState(Qt::Checked);
    test::click(test::button(form, "Button4"));
    EXPECT_EQ(ticks(), (QList<bool>{true, true}));
    test::click(test::button(form, "Button5"));
    EXPECT_EQ(ticks(), (QList<bool>{false, false}));
}

TEST_F(PageTools, TheCheckListsTheTickedTablesProblemsOneLineEach) {
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();
    test::click(test::button(form, "Button8"));
    EXPECT_EQ(recorder.texts(), QStringList{Messages::SelectTable});

    recorder.clear();
    test::click(test::button(form, "Button4"));
    test::click(test::button(form, "Button8"));
    EXPECT_EQ(recorder.texts(), QStringList{Messages::CheckFoundNothing});
    EXPECT_EQ(recorder.shown().first().message.icon, MessageIcon::Information);

    recorder.clear();
    QFile::remove(program.file(QStringLiteral("b.TBL")));
    test::click(test::button(form, "Button8"));
    EXPECT_EQ(recorder.texts(),
              QStringList{QStringLiteral("1 title b: ") +
                          Messages::CheckNoDataFile.arg(program.file(QStringLiteral("b.TBL")))});
    EXPECT_EQ(recorder.shown().first().message.icon, MessageIcon::Error);
    EXPECT_FALSE(program.exists(QStringLiteral("a.html")));
}

/// Stands in for the desktop's browser: keeps the addresses it is asked to open.
class BrowserStandIn : public QObject {
    Q_OBJECT

public:
    /// The desktop names the stand-in for HTML files.
    BrowserStandIn() {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open");
        DesktopBrowser::setAsker([this](const QString& type) -> std::optional<QString> {
            asked.append(type);
            return programs.value(type);
        });
    }
    ~BrowserStandIn() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        DesktopBrowser::setAsker({});
    }

    QList<QUrl> opened;
    /// The default program the desktop names for each MIME type; a type missing cannot be asked.
    QHash<QString, std::optional<QString>> programs{
        {QStringLiteral("text/html"), QStringLiteral("b.desktop")}};
    QStringList asked;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

TEST_F(PageTools, ThePreviewShowsThePageWithItsPicturesAndWritesNothing) {
    QDir().mkpath(program.file(QStringLiteral("pictures")));
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.save(program.file(QStringLiteral("pictures/p.png")));
    TableRowRecord row;
    row.CellTexts[1] = "first";
    row.CellPictures[1] = "C:\\old\\p.png";
    program.write(QStringLiteral("a.TBL"), row.encode());

    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();
    test::edit(form, "Edit6")->setText(program.file(QStringLiteral("pictures/")));
    test::edit(form, "Edit11")->setText(QStringLiteral("images/"));
    test::click(test::button(form, "Button6"));
    EXPECT_EQ(recorder.texts(), QStringList{Messages::SelectTable});
    test::clickRow(test::listView(form, "ListView2"), 0);
    test::click(test::button(form, "Button6"));
    PagePreviewWindow* preview = form.previewWindow();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_TRUE(preview->browser()->toPlainText().contains(QStringLiteral("first")));
    // The picture named "images/p.png" in the page comes from the image folder.
    const QVariant shown = preview->browser()->document()->resource(QTextDocument::ImageResource,
                                                                    QUrl(QStringLiteral("images/p.png")));
    EXPECT_EQ(shown.value<QImage>().size(), QSize(6, 4));

    row.CellTexts[1] = "second";
    program.write(QStringLiteral("a.TBL"), row.encode());
    test::click(preview->refreshButton());
    EXPECT_TRUE(preview->browser()->toPlainText().contains(QStringLiteral("second")));
    EXPECT_FALSE(program.exists(QStringLiteral("a.html")));
}

TEST_F(PageTools, OpeningInTheBrowserNeedsTheWrittenPage) {
    BrowserStandIn browser;
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();
    test::clickRow(test::listView(form, "ListView2"), 1);
    test::click(test::button(form, "Button7"));
    EXPECT_EQ(recorder.texts(),
              QStringList{Messages::PageNotWrittenYet.arg(program.file(QStringLiteral("b.html")))});
    EXPECT_TRUE(browser.opened.isEmpty());

    recorder.clear();
    program.write(QStringLiteral("b.html"), "page");
    test::click(test::button(form, "Button7"));
    EXPECT_TRUE(recorder.texts().isEmpty());
    EXPECT_EQ(browser.opened, QList<QUrl>{QUrl::fromLocalFile(program.file(QStringLiteral("b.html")))});

    // No program for HTML files: one for http addresses will do; none for either is told, and nothing
    // is handed to the desktop's opener.
    const QString page = program.file(QStringLiteral("b.html"));
    browser.opened.clear();
    browser.programs = {{QStringLiteral("text/html"), QString()},
                        {QStringLiteral("x-scheme-handler/http"), QStringLiteral("w.desktop")}};
    test::click(test::button(form, "Button7"));
    EXPECT_TRUE(recorder.texts().isEmpty());
    EXPECT_EQ(browser.opened.size(), 1);
    browser.programs[QStringLiteral("x-scheme-handler/http")] = QString();
    browser.opened.clear();
    browser.asked.clear();
    test::click(test::button(form, "Button7"));
    EXPECT_EQ(browser.asked,
              (QStringList{QStringLiteral("text/html"), QStringLiteral("x-scheme-handler/http")}));
    EXPECT_EQ(recorder.texts(), QStringList{Messages::NoBrowserSetUp.arg(page)});
    EXPECT_EQ(recorder.shown().first().message.icon, MessageIcon::Error);
    EXPECT_TRUE(browser.opened.isEmpty());
    // A desktop that cannot be asked leaves it to the opener.
    recorder.clear();
    browser.programs.clear();
    test::click(test::button(form, "Button7"));
    EXPECT_TRUE(recorder.texts().isEmpty());
    EXPECT_EQ(browser.opened.size(), 1);
}

TEST_F(PageTools, TheProgressShowsOnlyForALongRunAndItsButtonStopsTheRun) {
    QWidget owner;
    PageProgressDialog quick(&owner, 2);
    EXPECT_TRUE(quick.pageStarting(0, 2, QStringLiteral("a")));
    EXPECT_FALSE(quick.dialog().isVisible());

    PageProgressDialog slow(&owner, 2, 0);
    EXPECT_TRUE(slow.pageStarting(1, 2, QStringLiteral("title b")));
    EXPECT_TRUE(slow.dialog().isVisible());
    EXPECT_EQ(slow.dialog().labelText(),
              Messages::PageProgressText.arg(2).arg(2).arg(QStringLiteral("title b")));
    EXPECT_EQ(slow.dialog().value(), 1);
    EXPECT_TRUE(slow.goOn());
    slow.dialog().cancel();
    EXPECT_FALSE(slow.goOn());
}

} // namespace
} // namespace kelvano

#include "page_tools_test.moc"
