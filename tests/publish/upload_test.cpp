#include "core/publish/upload_files.h"
#include "core/publish/upload_run.h"
#include "core/store/program_settings.h"
#include "core/store/settings_record.h"
#include "core/store/table_data_files.h"
#include "core/store/table_definition.h"
#include "core/store/table_row_record.h"
#include "loopback_server.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <iostream>

namespace kelvano {
namespace {

using test::LoopbackServer;

/// Answers the trust questions from a script and keeps what was asked.
class ScriptedTrust : public TrustQuestions {
public:
    bool answer = true;
    QStringList asked;

    bool trustHostKey(const QString& server, const QString& fingerprint) override {
        asked.append(server + QLatin1Char(' ') + fingerprint);
        return answer;
    }
    bool trustCertificate(const QString& server, const QString& fingerprint, const QString&) override {
        asked.append(server + QLatin1Char(' ') + fingerprint);
        return answer;
    }
};

/// Stops the run's server when a chosen file is about to go.
class KillingProgress : public UploadProgress {
public:
    KillingProgress(LoopbackServer& server, int atFile) : m_server(server), m_atFile(atFile) {}
    void fileStarting(int index, int, const QString&, qint64) override {
        if (index == m_atFile) {
            m_server.stop();
        }
    }
    void bytesSent(qint64, qint64) override {}
    bool goOn() override { return true; }

private:
    LoopbackServer& m_server;
    int m_atFile;
};

/// A program folder with two tables, a and b, both of which show shared.jpg; a also has bg.jpg as a
/// cell background, in its last row of many (read ahead, only the columns it shows). The pages are
/// written, as the page run leaves them.
class Upload : public testing::TestWithParam<UploadProtocol> {
protected:
    void SetUp() override {
        if (!test::canRunLoopbackServers()) {
            GTEST_SKIP() << "the loopback servers need root";
        }
        const QByteArray folder = test::sjis(m_folder.path());
        m_settings = SettingsRecord{folder, folder + "html/", folder + "img/", "grph/"};
        m_folder.write(QStringLiteral("TAVELO.DAT"), m_settings.encode());
        QByteArray table;
        for (const char* name : {"a", "b", "c"}) {
            TableDefinition d;
            d.TableName = name;
            d.FileName = name;
            d.ColumnCount = 2;
            table += d.encode();
        }
        m_folder.write(QStringLiteral("TABLE.DAT"), table);
        TableRowRecord row;
        row.CellPictures[1] = "C:\\pics\\shared.jpg";
        row.CellBackgrounds[2] = "bg.jpg";
        const QByteArray emptyRows = TableRowRecord().encode().repeated(2 * TableRowReader::RecordsPerBlock);
        m_folder.write(QStringLiteral("a.TBL"), emptyRows + row.encode());
        TableRowRecord other;
        other.CellPictures[2] = "shared.jpg";
        m_folder.write(QStringLiteral("b.TBL"), other.encode() + other.encode());
        QDir(m_folder.path()).mkdir(QStringLiteral("html"));
        QDir(m_folder.path()).mkdir(QStringLiteral("img"));
        m_folder.write(QStringLiteral("html/a.html"), "<p>a</p>\r\n");
        m_folder.write(QStringLiteral("html/b.html"), "<p>b</p>\r\n");
        m_folder.write(QStringLiteral("img/shared.jpg"), QByteArray(70000, 's'));
        m_folder.write(QStringLiteral("img/bg.jpg"), "background");
        ASSERT_TRUE(m_server.start());
    }

    std::unique_ptr<RemoteSession>
    session(const QString& password = QString::fromLatin1(LoopbackServer::Password)) {
        return std::make_unique<RemoteSession>(m_server.settings(), password, m_folder.path(), m_trust);
    }

    UploadManifest manifest() {
        const ServerSettings server = m_server.settings();
        UploadManifest manifest(UploadManifest::pathFor(m_folder.path(), server),
                                UploadManifest::serverLabel(server));
        manifest.open();
        return manifest;
    }

    /// Gathers tables a, b and c (c has no page), connects and sends what changed.
    UploadSummary send(UploadProgress* progress = nullptr) {
        const std::optional<UploadFiles> files = gatherUploadFiles(m_settings, m_folder.path(), {0, 1, 2});
        EXPECT_TRUE(files);
        EXPECT_EQ(files->unwrittenPages.size(), 1);
        UploadManifest sent = manifest();
        const QList<PlannedFile> plan = planUpload(files->files, sent);
        const std::unique_ptr<RemoteSession> remote = session();
        QStringList names;
        if (const std::optional<RemoteFailure> failure = remote->connect(names)) {
            ADD_FAILURE() << failure->reason.toStdString();
            return {};
        }
        const UploadSummary summary = runUpload(*remote, sent, plan, progress);
        for (const UploadFailure& failure : summary.failures) {
            std::cerr << failure.remotePath.toStdString() << ": " << failure.failure.reason.toStdString()
                      << '\n';
        }
        return summary;
    }

    QByteArray remote(const QString& path) const {
        QFile file(m_server.home() + QStringLiteral("public_html/") + path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    /// Every file under the server's HTML folder, as paths under it.
    QStringList remoteFiles() const {
        QStringList found;
        const QString root = m_server.home() + QStringLiteral("public_html/");
        QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            found.append(it.next().mid(root.size()));
        }
        found.sort();
        return found;
    }

    test::TempFolder m_folder;
    SettingsRecord m_settings;
    LoopbackServer m_server{GetParam()};
    ScriptedTrust m_trust;
};

const QStringList AllFour{QStringLiteral("a.html"), QStringLiteral("b.html"), QStringLiteral("grph/bg.jpg"),
                          QStringLiteral("grph/shared.jpg")};

TEST_P(Upload, SendsWhatChangedOnlyAndTellsNoPassword) {
    const UploadSummary first = send();
    EXPECT_TRUE(first.succeeded());
    EXPECT_EQ(first.sent, 4); // shared.jpg, used by both tables, goes once
    EXPECT_EQ(first.unchanged, 0);
    EXPECT_EQ(remoteFiles(), AllFour);
    EXPECT_TRUE(remote(QStringLiteral("grph/shared.jpg")) == QByteArray(70000, 's'));
    EXPECT_EQ(m_trust.asked.size(), 1); // the first connection asks about the key once

    const UploadSummary second = send();
    EXPECT_EQ(second.sent, 0);
    EXPECT_EQ(second.unchanged, 4);
    EXPECT_EQ(m_trust.asked.size(), 1); // trusted from now on

    // A changed page replaces the server's copy; no temporary name stays behind.
    m_folder.write(QStringLiteral("html/a.html"), "<p>a, changed</p>\r\n");
    const UploadSummary third = send();
    EXPECT_TRUE(third.succeeded());
    EXPECT_EQ(third.sent, 1);
    EXPECT_EQ(third.unchanged, 3);
    EXPECT_EQ(remote(QStringLiteral("a.html")), "<p>a, changed</p>\r\n");
    EXPECT_EQ(remoteFiles(), AllFour);

    QDirIterator it(m_folder.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    int looked = 0;
    while (it.hasNext()) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(file.readAll().contains(LoopbackServer::Password)) << file.fileName().toStdString();
        ++looked;
    }
    EXPECT_GE(looked, 8); // the manifest and the trusted key among them
}

TEST_P(Upload, ServerKilledMidRunLeavesTheManifestTrueAndTheNextRunSendsTheRest) {
    KillingProgress killer(m_server, 2);
    const UploadSummary broken = send(&killer);
    EXPECT_EQ(broken.sent, 2);
    ASSERT_TRUE(broken.ended);
    EXPECT_EQ(broken.ended->kind, RemoteFailure::Kind::Connection);
    // The transfer cut by the kill may be told as a failed upload (the run then tries the last file,
    // which cannot connect) or as a broken connection (the last file is not tried).
    EXPECT_GE(broken.failures.size(), 1);
    EXPECT_EQ(broken.failures.size() + broken.notTried, 2);
    EXPECT_EQ(manifest().files().keys(), (QStringList{QStringLiteral("a.html"), QStringLiteral("b.html")}));

    ASSERT_TRUE(m_server.start());
    const UploadSummary resumed = send();
    EXPECT_TRUE(resumed.succeeded());
    EXPECT_EQ(resumed.sent, 2);
    EXPECT_EQ(resumed.unchanged, 2);
    EXPECT_EQ(remoteFiles(), AllFour);
}

/// Says stop once a chosen number of files have gone, or in the middle of the first big one.
class StoppingProgress : public UploadProgress {
public:
    explicit StoppingProgress(int afterFiles) : m_afterFiles(afterFiles) {}
    void fileStarting(int index, int, const QString&, qint64) override { m_started = index + 1; }
    void bytesSent(qint64 sent, qint64) override { m_midway = m_midway || sent > 0; }
    bool goOn() override { return m_started <= m_afterFiles && !(m_afterFiles == 0 && m_midway); }

private:
    int m_afterFiles;
    int m_started = 0;
    bool m_midway = false;
};

TEST_P(Upload, StoppingKeepsWhatArrivedAndTheServersOldFiles) {
    StoppingProgress afterOne(1);
    const UploadSummary stopped = send(&afterOne);
    EXPECT_EQ(stopped.sent, 1);
    ASSERT_TRUE(stopped.ended);
    EXPECT_EQ(stopped.ended->kind, RemoteFailure::Kind::Cancelled);
    EXPECT_EQ(stopped.failures.size(), 1); // the second file, stopped as it went
    EXPECT_EQ(stopped.notTried, 2);
    EXPECT_EQ(manifest().files().keys(), QStringList{QStringLiteral("a.html")});

    // Stopped before anything went, with only unchanged files planned: not a finished run.
    ASSERT_TRUE(send().succeeded());
    StoppingProgress never(-1);
    const UploadSummary none = send(&never);
    EXPECT_FALSE(none.succeeded());
    EXPECT_EQ(none.ended->kind, RemoteFailure::Kind::Cancelled);

    // Stopped in the middle of a file: the server's copy stays as it was, the manifest says so.
    m_folder.write(QStringLiteral("img/shared.jpg"), QByteArray(64 << 20, 'n'));
    StoppingProgress midway(0);
    const UploadSummary cut = send(&midway);
    EXPECT_EQ(cut.sent, 0);
    ASSERT_EQ(cut.failures.size(), 1);
    EXPECT_EQ(cut.failures.first().failure.kind, RemoteFailure::Kind::Cancelled);
    EXPECT_TRUE(remote(QStringLiteral("grph/shared.jpg")) == QByteArray(70000, 's'));
    EXPECT_EQ(manifest().find(QStringLiteral("grph/shared.jpg"))->size, 70000);
}

TEST_P(Upload, RefusalsAreToldAndSendNothing) {
    QStringList names;
    // Wrong password.
    m_trust.answer = true;
    EXPECT_EQ(session(QStringLiteral("wrong"))->connect(names)->kind, RemoteFailure::Kind::LoginRefused);

    // Nobody listening.
    ServerSettings closed = m_server.settings();
    closed.port = test::closedPort();
    const auto unreachable =
        RemoteSession(closed, QStringLiteral("x"), m_folder.path(), m_trust).connect(names);
    ASSERT_TRUE(unreachable);
    EXPECT_EQ(unreachable->kind, RemoteFailure::Kind::Unreachable);
    EXPECT_FALSE(unreachable->reason.contains(QStringLiteral("x@")));

    // The right password: listing the folder works and finds what is there.
    ASSERT_FALSE(session()->connect(names));
    const UploadSummary sent = send();
    ASSERT_TRUE(session()->connect(names) == std::nullopt);
    EXPECT_EQ(names,
              (QStringList{QStringLiteral("a.html"), QStringLiteral("b.html"), QStringLiteral("grph")}));

    // A new key or certificate under the same address is refused, naming both fingerprints.
    m_server.stop();
    QFile::remove(m_server.scratch() + QStringLiteral("/host_key"));
    QFile::remove(m_server.scratch() + QStringLiteral("/cert.pem"));
    ASSERT_TRUE(m_server.start());
    const int questions = static_cast<int>(m_trust.asked.size());
    const std::optional<RemoteFailure> changed = session()->connect(names);
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->kind, GetParam() == UploadProtocol::Sftp ? RemoteFailure::Kind::HostKeyChanged
                                                                : RemoteFailure::Kind::CertificateChanged);
    EXPECT_TRUE(changed->known.startsWith(QStringLiteral("SHA256:")));
    EXPECT_TRUE(changed->offered.startsWith(QStringLiteral("SHA256:")));
    EXPECT_NE(changed->known, changed->offered);
    EXPECT_EQ(m_trust.asked.size(), questions); // refused, not asked
    EXPECT_TRUE(m_trust.asked.first().endsWith(changed->known));
}

TEST_P(Upload, AnUntrustedKeyIsAskedAboutAndDeclinedSendsNothing) {
    m_trust.answer = false;
    QStringList names;
    const std::optional<RemoteFailure> declined = session()->connect(names);
    ASSERT_TRUE(declined);
    EXPECT_EQ(declined->kind, GetParam() == UploadProtocol::Sftp
                                  ? RemoteFailure::Kind::HostKeyNotTrusted
                                  : RemoteFailure::Kind::CertificateNotTrusted);
    ASSERT_EQ(m_trust.asked.size(), 1);
    EXPECT_TRUE(
        m_trust.asked.first().startsWith(QStringLiteral("127.0.0.1:%1 SHA256:").arg(m_server.port())));
    // Asked again next time: nothing was kept.
    EXPECT_TRUE(session()->connect(names));
    EXPECT_EQ(m_trust.asked.size(), 2);
    EXPECT_FALSE(QFileInfo::exists(m_server.home() + QStringLiteral("public_html")));
}

TEST_P(Upload, RemovesOnlyWhatItSentAndIsGoneHere) {
    ASSERT_TRUE(send().succeeded());
    QFile(m_server.home() + QStringLiteral("public_html/other.html")).open(QIODevice::WriteOnly);
    QFile::remove(m_folder.file(QStringLiteral("img/bg.jpg")));
    UploadManifest sent = manifest();
    const QStringList gone = filesGoneHere(sent, m_settings);
    EXPECT_EQ(gone, QStringList{QStringLiteral("grph/bg.jpg")});
    const std::unique_ptr<RemoteSession> remote = session();
    QStringList names;
    ASSERT_FALSE(remote->connect(names));
    const RemovalSummary removal = removeFromServer(*remote, sent, gone);
    EXPECT_FALSE(removal.failure) << removal.failure->failure.reason.toStdString();
    EXPECT_EQ(removal.removed, gone);
    EXPECT_EQ(remoteFiles(), (QStringList{QStringLiteral("a.html"), QStringLiteral("b.html"),
                                          QStringLiteral("grph/shared.jpg"), QStringLiteral("other.html")}));
    EXPECT_FALSE(manifest().find(QStringLiteral("grph/bg.jpg")));
    EXPECT_TRUE(manifest().find(QStringLiteral("grph/shared.jpg")));
}

/// Runs a program to its end; false, with its output told, when it fails.
bool runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ended = process.waitForFinished(30000);
    if (!ended || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::cerr << program.toStdString() << ": " << process.readAll().toStdString() << '\n';
        return false;
    }
    return true;
}

TEST(UploadSftpKeys, AKeyFileWithItsPassphraseAndTheAgentBothLogIn) {
    if (!test::canRunLoopbackServers()) {
        GTEST_SKIP() << "the loopback servers need root";
    }
    test::TempFolder folder;
    LoopbackServer server(UploadProtocol::Sftp);
    ASSERT_TRUE(server.start());
    const QString key = folder.file(QStringLiteral("id_ed25519"));
    ASSERT_TRUE(runTool(QStringLiteral("ssh-keygen"),
                        {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ed25519"),
                         QStringLiteral("-N"), QStringLiteral("key phrase"), QStringLiteral("-f"), key}));
    QFile::copy(key + QStringLiteral(".pub"), server.scratch() + QStringLiteral("/authorized_keys"));
    ScriptedTrust trust;
    QStringList names;

    ServerSettings withKey = server.settings();
    withKey.authentication = UploadAuthentication::KeyFile;
    withKey.keyFile = key;
    const std::optional<RemoteFailure> wrongPhrase =
        RemoteSession(withKey, QStringLiteral("not it"), folder.path(), trust).connect(names);
    EXPECT_TRUE(wrongPhrase) << "a wrong passphrase does not open the key";
    const std::optional<RemoteFailure> withPhrase =
        RemoteSession(withKey, QStringLiteral("key phrase"), folder.path(), trust).connect(names);
    EXPECT_FALSE(withPhrase) << withPhrase->reason.toStdString();

    // The agent holds the key; the session is given no password and no key file.
    const QString socket = folder.file(QStringLiteral("agent"));
    QProcess agent;
    agent.start(QStringLiteral("ssh-agent"), {QStringLiteral("-D"), QStringLiteral("-a"), socket});
    ASSERT_TRUE(agent.waitForStarted());
    for (int tries = 0; tries < 50 && !QFileInfo::exists(socket); ++tries) {
        QThread::msleep(100);
    }
    const QByteArray previousSocket = qgetenv("SSH_AUTH_SOCK");
    qputenv("SSH_AUTH_SOCK", QFile::encodeName(socket));
    const QString unlocked = folder.file(QStringLiteral("unlocked"));
    EXPECT_TRUE(runTool(QStringLiteral("ssh-keygen"),
                        {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ed25519"),
                         QStringLiteral("-N"), QString(), QStringLiteral("-f"), unlocked}));
    QFile::remove(server.scratch() + QStringLiteral("/authorized_keys"));
    QFile::copy(unlocked + QStringLiteral(".pub"), server.scratch() + QStringLiteral("/authorized_keys"));
    ServerSettings withAgent = server.settings();
    withAgent.authentication = UploadAuthentication::Agent;
    EXPECT_TRUE(RemoteSession(withAgent, QString(), folder.path(), trust).connect(names))
        << "an empty agent logs nobody in";
    EXPECT_TRUE(runTool(QStringLiteral("ssh-add"), {unlocked}));
    const std::optional<RemoteFailure> throughAgent =
        RemoteSession(withAgent, QString(), folder.path(), trust).connect(names);
    EXPECT_FALSE(throughAgent) << throughAgent->reason.toStdString();
    previousSocket.isNull() ? qunsetenv("SSH_AUTH_SOCK") : qputenv("SSH_AUTH_SOCK", previousSocket);
    agent.kill();
    agent.waitForFinished();
    EXPECT_EQ(trust.asked.size(), 1) << "the host key was asked about once and kept";
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, Upload, testing::Values(UploadProtocol::Sftp, UploadProtocol::Ftps),
                         [](const testing::TestParamInfo<UploadProtocol>& info) {
                             return info.param == UploadProtocol::Sftp ? "Sftp" : "Ftps";
                         });

} // namespace
} // namespace kelvano

namespace kelvano {
namespace {

struct CommandResult {
    int status;
    QString out;
    QString err;
};

class UploadCommand : public Upload {
protected:
    CommandResult publish(QStringList arguments, const std::optional<QString>& password) {
        ProgramSettings::setServerSettings(m_folder.path(), m_server.settings());
        arguments.prepend(m_folder.path());
        arguments.prepend(QStringLiteral("--program-folder"));
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LANG"), QStringLiteral("ja_JP.UTF-8"));
        environment.remove(QStringLiteral("KELVANO_UPLOAD_PASSWORD"));
        if (password) {
            environment.insert(QStringLiteral("KELVANO_UPLOAD_PASSWORD"), *password);
        }
        process.setProcessEnvironment(environment);
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(QStringLiteral(KELVANO_PUBLISH_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
};

TEST_P(UploadCommand, DryRunUploadAndItsRefusals) {
    const QString password = QString::fromLatin1(LoopbackServer::Password);
    const QStringList upload{QStringLiteral("--upload"), QStringLiteral("0"), QStringLiteral("1")};
    EXPECT_EQ(publish({QStringLiteral("--upload")}, password).status, 2);

    // No terminal to ask on: an untrusted key is refused, nothing is sent.
    const CommandResult untrusted = publish(upload, password);
    EXPECT_EQ(untrusted.status, 1);
    EXPECT_TRUE(untrusted.err.contains(QStringLiteral("SHA256:"))) << untrusted.err.toStdString();
    EXPECT_TRUE(remoteFiles().isEmpty());
    QStringList names;
    ASSERT_FALSE(session()->connect(names)); // trusted here

    const CommandResult dry = publish(upload + QStringList{QStringLiteral("--dry-run")}, std::nullopt);
    EXPECT_EQ(dry.status, 0) << dry.err.toStdString();
    EXPECT_TRUE(dry.out.contains(QStringLiteral("送信します: grph/shared.jpg (新規)")));
    EXPECT_TRUE(
        dry.out.contains(QStringLiteral("4件のファイルを送信します（0件は変更がないため送信しません）")));
    EXPECT_TRUE(remoteFiles().isEmpty());

    EXPECT_EQ(publish(upload, std::nullopt).status, 1); // no password anywhere
    const CommandResult wrong = publish(upload, QStringLiteral("nope"));
    EXPECT_EQ(wrong.status, 1);
    EXPECT_FALSE(wrong.err.contains(QStringLiteral("nope")));

    const CommandResult sent = publish(upload, password);
    EXPECT_EQ(sent.status, 0) << sent.err.toStdString();
    EXPECT_TRUE(sent.out.contains(
        QStringLiteral("4件のファイルを送信しました（0件は変更がないため送信しませんでした）")));
    EXPECT_EQ(remoteFiles(), AllFour);
    const CommandResult again = publish(upload, password);
    EXPECT_TRUE(again.out.contains(
        QStringLiteral("0件のファイルを送信しました（4件は変更がないため送信しませんでした）")));

    // A file gone here is listed for removal; without a terminal to ask on, nothing is removed.
    QFile::remove(m_folder.file(QStringLiteral("img/bg.jpg")));
    const CommandResult removal = publish(upload + QStringList{QStringLiteral("--delete-missing")}, password);
    EXPECT_EQ(removal.status, 1);
    EXPECT_TRUE(removal.out.contains(QStringLiteral("サーバーから削除します: grph/bg.jpg")));
    EXPECT_EQ(remoteFiles(), AllFour);

    // Table c has no page yet: told, and the run is not all sent.
    const CommandResult all = publish({QStringLiteral("--upload"), QStringLiteral("--all")}, password);
    EXPECT_EQ(all.status, 1);
    EXPECT_TRUE(all.err.contains(QStringLiteral("ページがまだ作成されていない")));
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, UploadCommand,
                         testing::Values(UploadProtocol::Sftp, UploadProtocol::Ftps),
                         [](const testing::TestParamInfo<UploadProtocol>& info) {
                             return info.param == UploadProtocol::Sftp ? "Sftp" : "Ftps";
                         });

} // namespace
} // namespace kelvano
