#include "app/end_signals.h"
#include "core/html/clock.h"
#include "core/store/settings_file.h"
#include "core/store/shift_jis.h"
#include "gui/base/edited_table.h"
#include "gui/main/help_window.h"
#include "gui/main/main_window.h"
#include "gui/main/title_text.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <string_view>
#include <sys/stat.h>
#include <thread>

namespace kelvano {
namespace {

using test::sjis;

class MainWindowTest : public testing::Test {
protected:
    void TearDown() override { Clock::setFixedNow(QDateTime()); }

    void writeSettings(const SettingsRecord& settings) const {
        program.write(QStringLiteral("TAVELO.DAT"), settings.encode());
    }
    SettingsRecord storedSettings() const {
        return SettingsRecord::decode(program.read(QStringLiteral("TAVELO.DAT")));
    }
    QStringList titleLines(TForm1& form) const {
        return test::memo(form, "Memo2")->toPlainText().split(QLatin1Char('\n'));
    }

    test::TempFolder program;
    test::DialogRecorder recorder;
};

TEST_F(MainWindowTest, AFirstRunWelcomesTheUserAndTheExitLeavesTheSettingsOfTheProgramFolder) {
    Clock::setFixedNow(QDateTime(QDate(2026, 3, 1), QTime(10, 0)));
    {
        test::WindowSet windows(program.path());
        TForm1& form = windows.form1();
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Kelvano"));
        EXPECT_EQ(form.size(), QSize(538, 403));
        // The first start opens on the first steps.
        EXPECT_EQ(test::pageControl(form, "PageControl1")->currentWidget(),
                  test::tabSheet(form, "TabSheet1"));
        EXPECT_EQ(test::pageControl(form, "PageControl1")->tabText(4),
                  QStringLiteral("ヘッダ・フッタ作成・登録"));
        // The birthday lines are for later starts only.
        EXPECT_EQ(titleLines(form), TitleText::welcomeLines());
        EXPECT_TRUE(test::memo(form, "Memo2")->isReadOnly());
        for (QLineEdit* folder :
             {test::edit(form, "Edit1"), test::edit(form, "Edit2"), test::edit(form, "Edit6")}) {
            EXPECT_EQ(folder->text(), program.path());
        }
        EXPECT_EQ(test::edit(form, "Edit11")->text(), QString());
        EXPECT_EQ(form.settings().DataFolder, sjis(program.path()));
        EXPECT_EQ(program.read(QStringLiteral("TAVELO.DAT")).size(), 0);
        for (const QString& created :
             {QStringLiteral("TABLE.DAT"), QStringLiteral("HEAD.DAT"), QStringLiteral("FOOT.DAT")}) {
            EXPECT_TRUE(program.exists(created)) << created.toStdString();
        }

        QSignalSpy ended(&form, &TForm1::programEnded);
        test::click(test::button(form, "BitBtn7"));
        EXPECT_EQ(ended.count(), 1);
    }
    EXPECT_TRUE(recorder.shown().isEmpty());
    EXPECT_EQ(program.read(QStringLiteral("TAVELO.DAT")).size(), 1004);
    EXPECT_EQ(storedSettings(), SettingsFile::defaults(program.path()));
}

/// An editor holding unsaved rows whose user chooses to stay.
class StayingEditor final : public EditedTable {
public:
    TableDataFiles dataFiles() const override { return {QString(), QString()}; }
    bool mayEnd() override {
        ++asked;
        return false;
    }
    bool saveUnasked() override {
        ++savedUnasked;
        return true;
    }
    int asked = 0;
    int savedUnasked = 0;
};

TEST_F(MainWindowTest, EndingFromOutsideWritesTheSettingsAndAsksOnlyWhereTheSessionAllows) {
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();
    StayingEditor editor;
    form.setEditedTable(&editor);
    test::edit(form, "Edit11")->setText(QStringLiteral("grph/"));

    // The desktop session ends: asking is allowed, the user stays, nothing is written.
    EXPECT_FALSE(form.commitSession(true));
    EXPECT_EQ(editor.asked, 1);
    EXPECT_EQ(editor.savedUnasked, 0);
    EXPECT_EQ(program.read(QStringLiteral("TAVELO.DAT")).size(), 0);
    // Without interaction the rows and the settings are written, with no question.
    EXPECT_TRUE(form.commitSession(false));
    EXPECT_EQ(editor.asked, 1);
    EXPECT_EQ(editor.savedUnasked, 1);
    EXPECT_EQ(storedSettings().ServerImagePath, "grph/");

    // SIGTERM ends the program without a question and with the settings written.
    test::edit(form, "Edit11")->setText(QStringLiteral("img/"));
    EndSignals ending;
    QSignalSpy ended(&form, &TForm1::programEnded);
    QObject::connect(&ending, &EndSignals::endRequested, &form, &TForm1::endWithoutQuestions);
    std::raise(SIGTERM);
    EXPECT_TRUE(ended.wait(2000));
    EXPECT_EQ(editor.asked, 1);
    EXPECT_EQ(editor.savedUnasked, 2);
    EXPECT_EQ(storedSettings().ServerImagePath, "img/");
    EXPECT_TRUE(recorder.shown().isEmpty());
    form.setEditedTable(nullptr);
}

TEST_F(MainWindowTest, LaterStartsGreetByTheHourAndOnTheFirstOfMarch) {
    writeSettings({"data/", "html/", "img/", "grph/"});
    struct Start {
        QDateTime now;
        QStringList expectedTail;
    };
    const QList<Start> starts = {
        {QDateTime(QDate(2026, 7, 2), QTime(19, 30)), {QStringLiteral("７時です。")}},
        {QDateTime(QDate(2026, 7, 2), QTime(0, 5)),
         {QStringLiteral("もう０時ですよ、頑張っていますね(^^)/")}},
        {QDateTime(QDate(2026, 7, 2), QTime(23, 59)), {QStringLiteral("がははは、テレホタイム突入ですね")}},
        {QDateTime(QDate(2026, 3, 1), QTime(9, 0)),
         {QStringLiteral("鯨（９時ら）......ごめんなさい"), QString(),
          QStringLiteral("今日は作者の誕生日です"),
          QStringLiteral("お祝いのメールでも送ってやってくださいな -> kelvano@example.org")}},
    };
    for (const Start& start : starts) {
        Clock::setFixedNow(start.now);
        TForm1 form(program.path());
        const QStringList lines = titleLines(form);
        EXPECT_EQ(lines.mid(0, 3),
                  (QStringList{QStringLiteral("Kelvano [TAVELO] Version 0.01"),
                               QStringLiteral("このソフトウェアはフリーソフトウェアです。"), QString()}));
        EXPECT_EQ(lines.mid(3), start.expectedTail) << start.now.toString().toStdString();
        EXPECT_FALSE(test::memo(form, "Memo2")->isReadOnly());
        EXPECT_EQ(test::edit(form, "Edit1")->text(), QStringLiteral("data/"));
        EXPECT_EQ(test::edit(form, "Edit11")->text(), QStringLiteral("grph/"));
        EXPECT_EQ(form.settings().ImageFolder, QByteArray("img/"));
    }
}

TEST_F(MainWindowTest, AnEmptyOrShortSettingsFileLeavesTheTitleEmptyAndFallsBackToTheProgramFolder) {
    for (const QByteArray& contents : {QByteArray(), QByteArray(1003, '\x05')}) {
        program.write(QStringLiteral("TAVELO.DAT"), contents);
        TForm1 form(program.path());
        EXPECT_EQ(test::memo(form, "Memo2")->toPlainText(), QString());
        EXPECT_FALSE(test::memo(form, "Memo2")->isReadOnly());
        EXPECT_EQ(test::edit(form, "Edit2")->text(), program.path());
        EXPECT_EQ(form.settings().ServerImagePath, QByteArray());
        EXPECT_EQ(program.read(QStringLiteral("TAVELO.DAT")).size(), 0);
    }
    EXPECT_TRUE(recorder.shown().isEmpty());
}

TEST_F(MainWindowTest, AProgramFolderWhereNothingCanBeCreatedReportsOnceAndTheEndSaysItFailed) {
    const QString missing = program.path() + QStringLiteral("gone/");
    TForm1 form(missing);
    ASSERT_EQ(recorder.shown().size(), 1);
    EXPECT_EQ(recorder.shown().first().message.caption, QStringLiteral("Kelvano"));
    EXPECT_TRUE(recorder.shown().first().message.text.contains(QStringLiteral("TAVELO.DAT")));
    EXPECT_EQ(test::edit(form, "Edit1")->text(), QString());
    EXPECT_EQ(test::listView(form, "ListView1")->rowCount(), 0);
    recorder.clear();
    form.close();
    ASSERT_EQ(recorder.texts(), QStringList{QStringLiteral("終了に失敗しました")});
    EXPECT_EQ(recorder.shown().first().message.icon, MessageIcon::Error);
    EXPECT_EQ(recorder.shown().first().message.caption, QStringLiteral("TAVELO"));
}

TEST_F(MainWindowTest, FolderFieldsFollowTheirTextsAndGainASeparatorWhenLeft) {
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();

    test::focus(test::edit(form, "Edit2"));
    test::edit(form, "Edit2")->selectAll();
    test::type(test::edit(form, "Edit2"), QStringLiteral("/srv/WORK"));
    EXPECT_EQ(form.settings().HtmlFolder, QByteArray("/srv/WORK"));
    test::focus(test::edit(form, "Edit11"));
    EXPECT_EQ(test::edit(form, "Edit2")->text(), QStringLiteral("/srv/WORK/"));
    EXPECT_EQ(form.settings().HtmlFolder, QByteArray("/srv/WORK/"));

    test::edit(form, "Edit11")->selectAll();
    test::type(test::edit(form, "Edit11"), QStringLiteral("grph/"));
    test::focus(test::edit(form, "Edit1"));
    EXPECT_EQ(test::edit(form, "Edit11")->text(), QStringLiteral("grph/"));
    EXPECT_EQ(form.settings().ServerImagePath, QByteArray("grph/"));

    test::edit(form, "Edit1")->clear();
    test::focus(test::edit(form, "Edit6"));
    EXPECT_EQ(test::edit(form, "Edit1")->text(), QStringLiteral("/"));
    EXPECT_EQ(form.settings().DataFolder, QByteArray("/"));

    // A character that Shift-JIS cannot hold is refused where it is typed.
    const QString before = test::edit(form, "Edit6")->text();
    test::edit(form, "Edit6")->end(false);
    test::type(test::edit(form, "Edit6"), QString::fromUcs4(U"\U0001F600"));
    EXPECT_EQ(test::edit(form, "Edit6")->text(), before);
    ASSERT_EQ(recorder.shown().size(), 1);
    EXPECT_EQ(recorder.shown().first().message.icon, MessageIcon::Error);

    // A folder put in by the program beyond 250 bytes is kept as its first 250, in memory and in the file.
    const QString longFolder = QStringLiteral("/") + QString(259, QLatin1Char('d'));
    form.FolderPicked(FolderTarget::ImageFolder, longFolder);
    EXPECT_EQ(form.settings().ImageFolder, sjis(longFolder).left(250));
    form.close();
    EXPECT_EQ(storedSettings().ImageFolder, sjis(longFolder).left(250));
    EXPECT_EQ(storedSettings().HtmlFolder, QByteArray("/srv/WORK/"));
}

TEST_F(MainWindowTest, SwitchingToAnotherProgramDoesNotLeaveAFolderField) {
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();
    test::focus(test::edit(form, "Edit1"));
    test::edit(form, "Edit1")->setText(QStringLiteral("/home/user/da"));
    for (const Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent away(QEvent::FocusOut, reason);
        QApplication::sendEvent(test::edit(form, "Edit1"), &away);
    }
    EXPECT_EQ(test::edit(form, "Edit1")->text(), QStringLiteral("/home/user/da"));
    QFocusEvent left(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(test::edit(form, "Edit1"), &left);
    EXPECT_EQ(test::edit(form, "Edit1")->text(), QStringLiteral("/home/user/da/"));
}

TEST_F(MainWindowTest, TheAutomaticLayoutMakesTheFoldersOnceAndQuietly) {
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();
    for (int press = 0; press < 2; ++press) {
        test::click(test::button(form, "Button1"));
        EXPECT_EQ(test::edit(form, "Edit1")->text(), program.path() + QStringLiteral("DATA/"));
        EXPECT_EQ(test::edit(form, "Edit2")->text(), program.path() + QStringLiteral("HTML/"));
        EXPECT_EQ(test::edit(form, "Edit6")->text(), program.path() + QStringLiteral("HTML/grph/"));
        EXPECT_EQ(form.settings().ImageFolder, sjis(program.path() + QStringLiteral("HTML/grph/")));
        EXPECT_TRUE(QDir(program.file(QStringLiteral("HTML/grph"))).exists());
        EXPECT_TRUE(QDir(program.file(QStringLiteral("DATA"))).exists());
        // The pages find the pictures where the layout put them.
        EXPECT_EQ(test::edit(form, "Edit11")->text(), QStringLiteral("grph/"));
    }
    EXPECT_TRUE(recorder.shown().isEmpty());
}

TEST_F(MainWindowTest, TheAutomaticLayoutKeepsATypedServerPathAndAnExistingPictureFolder) {
    QDir(program.path()).mkpath(QStringLiteral("HTML/GRPH"));
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();
    test::edit(form, "Edit11")->setText(QStringLiteral("/images/"));
    test::click(test::button(form, "Button1"));
    EXPECT_EQ(test::edit(form, "Edit6")->text(), program.path() + QStringLiteral("HTML/GRPH/"));
    EXPECT_EQ(test::edit(form, "Edit11")->text(), QStringLiteral("/images/"));
    EXPECT_FALSE(QDir(program.file(QStringLiteral("HTML/grph"))).exists());

    // With the server path empty, it names the folder as it is spelt.
    test::edit(form, "Edit11")->clear();
    test::click(test::button(form, "Button1"));
    EXPECT_EQ(test::edit(form, "Edit11")->text(), QStringLiteral("GRPH/"));
}

/// The identity of TAVELO.DAT on disk: a rewrite replaces the file, and with it the inode.
ino_t settingsInode(const test::TempFolder& program) {
    struct stat status {};
    return ::stat(QFile::encodeName(program.file(QStringLiteral("TAVELO.DAT"))).constData(), &status) == 0
               ? status.st_ino
               : 0;
}

TEST_F(MainWindowTest, AFolderSettingIsWrittenAsSoonAsItIsAcceptedAndOnlyWhenItChanged) {
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();

    // Left unchanged: the first run's empty file stays as it is.
    test::focus(test::edit(form, "Edit2"));
    test::focus(test::edit(form, "Edit11"));
    test::focus(test::edit(form, "Edit2"));
    EXPECT_EQ(program.read(QStringLiteral("TAVELO.DAT")).size(), 0);

    test::edit(form, "Edit2")->selectAll();
    test::type(test::edit(form, "Edit2"), QStringLiteral("/srv/WORK"));
    test::focus(test::edit(form, "Edit11"));
    EXPECT_EQ(SettingsFile::read(program.path()).HtmlFolder, QByteArray("/srv/WORK/"));
    EXPECT_EQ(SettingsFile::read(program.path()).DataFolder, sjis(program.path()));
    test::type(test::edit(form, "Edit11"), QStringLiteral("img/"));
    test::focus(test::edit(form, "Edit6"));
    EXPECT_EQ(SettingsFile::read(program.path()).ServerImagePath, QByteArray("img/"));
    const ino_t written = settingsInode(program);
    test::focus(test::edit(form, "Edit1"));
    test::focus(test::edit(form, "Edit2"));
    EXPECT_EQ(settingsInode(program), written);

    QDir(program.path()).mkdir(QStringLiteral("data"));
    form.FolderPicked(FolderTarget::DataFolder, program.path() + QStringLiteral("data/"));
    EXPECT_EQ(SettingsFile::read(program.path()).DataFolder, sjis(program.path() + QStringLiteral("data/")));
    EXPECT_TRUE(recorder.shown().isEmpty());
}

TEST_F(MainWindowTest, AFolderSettingThatCannotBeWrittenSaysWhyAndGoesBack) {
    const QString data = program.path() + QStringLiteral("d/");
    QDir(program.path()).mkdir(QStringLiteral("d"));
    writeSettings({sjis(data), "h/", "i/", "s/"});
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();
    ASSERT_TRUE(recorder.shown().isEmpty());
    const QByteArray stored = program.read(QStringLiteral("TAVELO.DAT"));
    const QString failure = program.file(QStringLiteral("TAVELO.DAT")) +
                            QStringLiteral("\nファイルが大きすぎます（ファイルサイズの上限を超えました）");
    {
        const test::FileSizeLimit limit(100);
        test::focus(test::edit(form, "Edit6"));
        test::edit(form, "Edit6")->selectAll();
        test::type(test::edit(form, "Edit6"), QStringLiteral("pictures"));
        test::focus(test::edit(form, "Edit2"));
        ASSERT_EQ(recorder.texts(), QStringList{failure});
        EXPECT_EQ(recorder.shown().first().message.caption, QStringLiteral("Kelvano"));
        EXPECT_EQ(test::edit(form, "Edit6")->text(), QStringLiteral("i/"));
        EXPECT_EQ(form.settings().ImageFolder, QByteArray("i/"));

        recorder.clear();
        test::click(test::button(form, "Button1"));
        ASSERT_EQ(recorder.texts(), QStringList{failure});
        EXPECT_EQ(test::edit(form, "Edit1")->text(), data);
        EXPECT_EQ(test::edit(form, "Edit2")->text(), QStringLiteral("h/"));
        EXPECT_EQ(test::edit(form, "Edit6")->text(), QStringLiteral("i/"));
        EXPECT_EQ(test::edit(form, "Edit11")->text(), QStringLiteral("s/"));

        recorder.clear();
        form.FolderPicked(FolderTarget::HtmlFolder, QStringLiteral("/elsewhere/"));
        ASSERT_EQ(recorder.texts(), QStringList{failure});
        EXPECT_EQ(test::edit(form, "Edit2")->text(), QStringLiteral("h/"));
    }
    EXPECT_EQ(program.read(QStringLiteral("TAVELO.DAT")), stored);
    // What was put back is what the file holds: leaving the field again writes nothing.
    recorder.clear();
    test::focus(test::edit(form, "Edit1"));
    EXPECT_EQ(program.read(QStringLiteral("TAVELO.DAT")), stored);
    EXPECT_TRUE(recorder.shown().isEmpty());
}

// Run as a child of the test below: builds the window on the folder the parent names, presses
// "フォルダ自動設定" and waits to be killed.
TEST(FolderSettingsCrashChild, PressesTheAutomaticLayoutAndWaits) {
    const QString folder = qEnvironmentVariable("KELVANO_CRASH_PROGRAM_FOLDER");
    if (folder.isEmpty()) {
        GTEST_SKIP() << "run by FolderSettingsCrash only";
    }
    test::DialogRecorder recorder;
    test::WindowSet windows(folder);
    test::click(test::button(windows.form1(), "Button1"));
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (;;) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
}

TEST(FolderSettingsCrash, TheAutomaticLayoutSurvivesAProgramKilledRightAfterIt) {
    test::TempFolder program;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KELVANO_CRASH_PROGRAM_FOLDER"), program.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=FolderSettingsCrashChild.*")});
    ASSERT_TRUE(child.waitForStarted(10000));
    QByteArray output;
    while (!output.contains("ready\n") && child.waitForReadyRead(20000)) {
        output += child.readAllStandardOutput();
    }
    ASSERT_TRUE(output.contains("ready\n")) << output.toStdString();
    child.kill(); // SIGKILL: nothing of the program runs after it
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);

    const SettingsRecord settings = SettingsFile::read(program.path());
    EXPECT_EQ(settings.DataFolder, sjis(program.path() + QStringLiteral("DATA/")));
    EXPECT_EQ(settings.HtmlFolder, sjis(program.path() + QStringLiteral("HTML/")));
    EXPECT_EQ(settings.ImageFolder, sjis(program.path() + QStringLiteral("HTML/grph/")));
    EXPECT_EQ(settings.ServerImagePath, "grph/");
}

TEST_F(MainWindowTest, LaterStartsOpenOnThePageLeftAndTheFirstStepsLinkOpensTheHelp) {
    QDir(program.path()).mkdir(QStringLiteral("help"));
    program.write(QStringLiteral("help/index.html"), "<html><body>目次</body></html>");
    program.write(QStringLiteral("help/title.html"), "<html><body>タイトル</body></html>");
    for (const char* left : {"TabSheet2", "TabSheet5", "TabSheet1"}) {
        test::WindowSet windows(program.path());
        TForm1& form = windows.form1();
        QTabWidget* const pages = test::pageControl(form, "PageControl1");
        EXPECT_EQ(pages->currentWidget()->objectName(), std::string_view(left) == "TabSheet2"
                                                            ? QStringLiteral("TabSheet1")
                                                            : QStringLiteral("TabSheet2"));
        if (std::string_view(left) == "TabSheet2") {
            form.setHelpFolder(program.file(QStringLiteral("help")));
            test::click(test::button(form, "FirstStepsLink"));
            EXPECT_EQ(form.helpWindow()->currentPage(), program.file(QStringLiteral("help/index.html")));
        }
        pages->setCurrentWidget(test::tabSheet(form, left));
        test::click(test::button(form, "BitBtn7"));
        EXPECT_TRUE(program.read(QStringLiteral("KELVANO.INI")).contains("Page=" + QByteArray(left)));
        if (std::string_view(left) == "TabSheet5") {
            // A page name the program does not know opens where the program always opened.
            program.write(QStringLiteral("KELVANO.INI"), "[Window]\nPage=TabSheet9\n");
            test::WindowSet again(program.path());
            EXPECT_EQ(test::pageControl(again.form1(), "PageControl1")->currentWidget(),
                      test::tabSheet(again.form1(), "TabSheet4"));
            program.write(QStringLiteral("KELVANO.INI"), "[Window]\nPage=TabSheet2\n");
        }
    }
    EXPECT_TRUE(recorder.shown().isEmpty()) << recorder.texts().join(u'|').toStdString();
}

TEST_F(MainWindowTest, TheHelpButtonOpensThePageShownsHelpElseTheContents) {
    QDir(program.path()).mkdir(QStringLiteral("help"));
    program.write(QStringLiteral("help/index.html"), "<html><body>目次</body></html>");
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();
    form.setHelpFolder(program.file(QStringLiteral("help")));
    test::click(test::button(form, "BitBtn17"));
    ASSERT_NE(form.helpWindow(), nullptr);
    EXPECT_TRUE(form.helpWindow()->isVisible());
    EXPECT_EQ(form.helpWindow()->currentPage(), program.file(QStringLiteral("help/index.html")));

    // The page shown has a help page of its own: the help opens there, the contents one link away.
    program.write(QStringLiteral("help/tables.html"), "<html><body>テーブル設定</body></html>");
    program.write(QStringLiteral("help/data.html"), "<html><body>データ</body></html>");
    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet4"));
    test::click(test::button(form, "BitBtn17"));
    EXPECT_EQ(form.helpWindow()->currentPage(), program.file(QStringLiteral("help/tables.html")));
    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet2"));
    test::click(test::button(form, "BitBtn17"));
    EXPECT_EQ(form.helpWindow()->currentPage(), program.file(QStringLiteral("help/data.html")));
    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet3"));
    test::click(test::button(form, "BitBtn17"));
    EXPECT_EQ(form.helpWindow()->currentPage(), program.file(QStringLiteral("help/index.html")));

    // An installed program finds its pages under share/ of its installation; help/ beside it wins.
    QDir(program.path()).mkpath(QStringLiteral("usr/bin"));
    QDir(program.path()).mkpath(QStringLiteral("usr/share/kelvano/help"));
    EXPECT_EQ(HelpWindow::helpFolderFor(program.file(QStringLiteral("usr/bin"))),
              program.file(QStringLiteral("usr/share/kelvano/help")));
    EXPECT_EQ(HelpWindow::helpFolderFor(program.path()), program.file(QStringLiteral("help")));
}

} // namespace
} // namespace kelvano
