#include "core/publish/upload_manifest.h"
#include "core/store/program_settings.h"
#include "core/store/settings_file.h"
#include "core/store/table_definition_file.h"
#include "core/store/table_row_record.h"
#include "gui/base/messages.h"
#include "gui/main/main_window.h"
#include "gui/main/server_settings_dialog.h"
#include "gui/main/upload_password.h"
#include "loopback_server.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::LoopbackServer;

/// A real SFTP server and a program folder of the tests' own.
class UploadWindow : public testing::Test {
protected:
    void SetUp() override {
        if (!test::canRunLoopbackServers()) {
            GTEST_SKIP() << "the loopback servers need root";
        }
        ASSERT_TRUE(server.start());
    }

    LoopbackServer server{UploadProtocol::Sftp};
    test::TempFolder program;
    const QByteArray folder = test::sjis(program.path());
};

/// "サーバーへ送信" on the data page, against a real SFTP server: the host key asked about on the
/// window's thread, the files sent off it, the summary told; then a table without a page.
TEST_F(UploadWindow, TheDataPageSendsTheTickedPagesAndTellsTheSummary) {
    SettingsFile::save(program.path(), SettingsRecord{folder, folder + "html/", folder + "img/", "grph/"});
    for (const char* name : {"a", "b"}) {
        TableDefinition d;
        d.TableName = name;
        d.FileName = name;
        TableDefinitionFile(program.path()).append(d);
        TableRowRecord row;
        row.CellPictures[1] = "p.jpg";
        program.write(QString::fromLatin1(name) + QStringLiteral(".TBL"), row.encode());
    }
    QDir(program.path()).mkpath(QStringLiteral("html"));
    QDir(program.path()).mkpath(QStringLiteral("img"));
    program.write(QStringLiteral("html/a.html"), "<p>a</p>");
    program.write(QStringLiteral("img/p.jpg"), "jpeg");
    ProgramSettings::setServerSettings(program.path(), server.settings());
    UploadPassword::remember(server.settings(), QString::fromLatin1(LoopbackServer::Password));

    test::DialogRecorder recorder;
    test::WindowSet windows(program.path());
    TForm1& form = windows.form1();
    test::listView(form, "ListView2")->item(0, 0)->setCheckState(Qt::Checked);
    recorder.answerNext(true); // trust the host key
    test::click(test::button(form, "Button9"));
    ASSERT_EQ(recorder.shown().size(), 2) << recorder.texts().join(u'|').toStdString();
    EXPECT_TRUE(recorder.shown().at(0).question);
    EXPECT_EQ(recorder.shown().at(0).enterAnswers, Answer::No); // trusting is never the default
    EXPECT_TRUE(recorder.texts().at(0).contains(QStringLiteral("SHA256:")));
    EXPECT_EQ(recorder.texts().at(1), Messages::UploadFinished.arg(2).arg(0));
    EXPECT_EQ(recorder.shown().at(1).message.icon, MessageIcon::Information);
    QFile sent(server.home() + QStringLiteral("public_html/grph/p.jpg"));
    ASSERT_TRUE(sent.open(QIODevice::ReadOnly));
    EXPECT_EQ(sent.readAll(), "jpeg");

    // b has no page: told first, and a's files are not sent again.
    recorder.clear();
    test::listView(form, "ListView2")->item(1, 0)->setCheckState(Qt::Checked);
    test::click(test::button(form, "Button9"));
    ASSERT_EQ(recorder.texts().size(), 2) << recorder.texts().join(u'|').toStdString();
    EXPECT_TRUE(recorder.texts().at(0).contains(QStringLiteral("ページがまだ作成されていない")));
    EXPECT_EQ(recorder.texts().at(1), Messages::UploadFinished.arg(0).arg(2));
    UploadPassword::forget(server.settings());
}

} // namespace
} // namespace kelvano

namespace kelvano {
namespace {

/// The server settings dialog: the connection test lists the server's folder after the host key was
/// trusted; OK keeps the settings without the password; removing lists what is gone here, asks, and
/// removes only that.
TEST_F(UploadWindow, TheServerSettingsDialogTestsKeepsAndRemoves) {
    const SettingsRecord folders{folder, folder + "html/", folder + "img/", "grph/"};
    ProgramSettings::setServerSettings(program.path(), server.settings());
    QDir(server.home()).mkpath(QStringLiteral("public_html"));
    QFile(server.home() + QStringLiteral("public_html/old.html")).open(QIODevice::WriteOnly);
    QFile(server.home() + QStringLiteral("public_html/other.html")).open(QIODevice::WriteOnly);
    LoopbackServer::giveToAccount(server.home() + QStringLiteral("public_html"));
    // old.html was sent by Kelvano and is gone here; other.html was never sent by it.
    UploadManifest(UploadManifest::pathFor(program.path(), server.settings()),
                   UploadManifest::serverLabel(server.settings()))
        .recordSent(QStringLiteral("old.html"), {UploadFileKind::Page, 0, QByteArray(64, 'e')});

    test::DialogRecorder recorder;
    ServerSettingsDialog dialog(program.path(), folders);
    EXPECT_EQ(test::control<QLineEdit>(dialog, "Edit1")->text(), QStringLiteral("127.0.0.1"));
    test::control<QLineEdit>(dialog, "Edit4")->setText(QString::fromLatin1(LoopbackServer::Password));
    recorder.answerNext(true); // trust the host key
    test::click(test::control<QPushButton>(dialog, "Button1"));
    ASSERT_EQ(recorder.texts().size(), 2) << recorder.texts().join(u'|').toStdString();
    EXPECT_EQ(recorder.texts().at(1), Messages::UploadTestFound.arg(QStringLiteral("public_html/"))
                                          .arg(2)
                                          .arg(QStringLiteral("old.html, other.html")));

    recorder.clear();
    recorder.answerNext(true); // remove
    test::click(test::control<QPushButton>(dialog, "Button2"));
    ASSERT_EQ(recorder.texts().size(), 2) << recorder.texts().join(u'|').toStdString();
    EXPECT_TRUE(recorder.texts().at(0).contains(QStringLiteral("old.html")));
    EXPECT_EQ(recorder.shown().at(0).enterAnswers, Answer::No);
    EXPECT_EQ(recorder.texts().at(1), Messages::UploadRemoved.arg(1));
    EXPECT_FALSE(QFileInfo::exists(server.home() + QStringLiteral("public_html/old.html")));
    EXPECT_TRUE(QFileInfo::exists(server.home() + QStringLiteral("public_html/other.html")));

    test::control<QLineEdit>(dialog, "Edit5")->setText(QStringLiteral("www/"));
    test::click(test::control<QPushButton>(dialog, "BitBtn1"));
    EXPECT_EQ(ProgramSettings::serverSettings(program.path()).remoteFolder, QStringLiteral("www/"));
    EXPECT_FALSE(program.read(ProgramSettings::FileName).contains(LoopbackServer::Password));
    UploadPassword::forget(server.settings());
}

} // namespace
} // namespace kelvano
