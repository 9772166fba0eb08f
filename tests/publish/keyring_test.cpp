#include "core/publish/password_keyring.h"
#include "core/store/program_settings.h"
#include "core/store/settings_record.h"
#include "core/store/table_definition.h"
#include "loopback_server.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::LoopbackServer;

// Run by with_keyring.sh: a D-Bus session of its own with an unlocked gnome-keyring.

TEST(PasswordKeyring, KeepsReadsAndForgetsAPasswordPerServer) {
    ASSERT_TRUE(PasswordKeyring::isAvailable());
    ServerSettings first;
    first.host = QStringLiteral("one.example");
    first.user = QStringLiteral("u");
    ServerSettings second = first;
    second.port = 2222;
    EXPECT_FALSE(PasswordKeyring::read(first));
    ASSERT_TRUE(PasswordKeyring::store(first, QStringLiteral("パス 1")));
    ASSERT_TRUE(PasswordKeyring::store(second, QStringLiteral("two")));
    EXPECT_EQ(PasswordKeyring::read(first), QStringLiteral("パス 1"));
    EXPECT_EQ(PasswordKeyring::read(second), QStringLiteral("two"));
    PasswordKeyring::remove(first);
    EXPECT_FALSE(PasswordKeyring::read(first));
    EXPECT_EQ(PasswordKeyring::read(second), QStringLiteral("two"));
}

TEST(PasswordKeyring, KelvanoPublishTakesThePasswordFromTheKeyringAndWritesItNowhere) {
    if (!test::canRunLoopbackServers()) {
        GTEST_SKIP() << "the loopback servers need root";
    }
    LoopbackServer server(UploadProtocol::Sftp);
    ASSERT_TRUE(server.start());
    test::TempFolder program;
    const QByteArray folder = test::sjis(program.path());
    program.write(QStringLiteral("TAVELO.DAT"),
                  SettingsRecord{folder, folder + "html/", folder, ""}.encode());
    TableDefinition d;
    d.FileName = "a";
    program.write(QStringLiteral("TABLE.DAT"), d.encode());
    QDir(program.path()).mkdir(QStringLiteral("html"));
    program.write(QStringLiteral("html/a.html"), "<p>a</p>");
    ServerSettings settings = server.settings();
    settings.savePassword = true;
    ProgramSettings::setServerSettings(program.path(), settings);
    ASSERT_TRUE(PasswordKeyring::store(settings, QString::fromLatin1(LoopbackServer::Password)));
    // The host key trusted beforehand, as the window would have asked.
    program.write(QStringLiteral("KNOWN_HOSTS"), {});
    QProcess keyscan;
    keyscan.start(QStringLiteral("ssh-keyscan"),
                  {QStringLiteral("-p"), QString::number(server.port()), QStringLiteral("-t"),
                   QStringLiteral("ed25519"), QStringLiteral("127.0.0.1")});
    ASSERT_TRUE(keyscan.waitForFinished(20000));
    program.write(QStringLiteral("KNOWN_HOSTS"), keyscan.readAllStandardOutput());

    QProcess publish;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("KELVANO_UPLOAD_PASSWORD"));
    publish.setProcessEnvironment(environment);
    publish.setStandardInputFile(QProcess::nullDevice());
    publish.start(QStringLiteral(KELVANO_PUBLISH_PATH), {QStringLiteral("--program-folder"), program.path(),
                                                         QStringLiteral("--upload"), QStringLiteral("0")});
    ASSERT_TRUE(publish.waitForFinished(60000));
    EXPECT_EQ(publish.exitCode(), 0) << publish.readAllStandardError().toStdString();
    EXPECT_TRUE(QFileInfo::exists(server.home() + QStringLiteral("public_html/a.html")));
    QDirIterator it(program.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(file.readAll().contains(LoopbackServer::Password)) << file.fileName().toStdString();
    }
    PasswordKeyring::remove(settings);
}

} // namespace
} // namespace kelvano
