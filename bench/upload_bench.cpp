// Sending 300 pages and 300 pictures to a loopback server (a real sshd or vsftpd, as the tests run
// them; needs root), then once more after one page changed: Kelvano's run against a plain curl batch
// sending the same files over one connection (all of them, then the one page).
//
//   sudo build/bin/kelvano_upload_bench

#include "core/publish/upload_files.h"
#include "core/publish/upload_run.h"
#include "core/store/settings_record.h"
#include "core/store/table_definition.h"
#include "core/store/table_row_record.h"
#include "publish/loopback_server.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace kelvano {
namespace {

constexpr int Tables = 300;

class TrustEverything : public TrustQuestions {
public:
    bool trustHostKey(const QString&, const QString&) override { return true; }
    bool trustCertificate(const QString&, const QString&, const QString&) override { return true; }
};

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

/// Kelvano's run over every table; its time in milliseconds.
double kelvanoRun(const SettingsRecord& settings, const QString& folder, const ServerSettings& server,
                  int expectedSent) {
    QElapsedTimer timer;
    timer.start();
    QList<int> numbers;
    for (int i = 0; i < Tables; ++i) {
        numbers.append(i);
    }
    const std::optional<UploadFiles> files = gatherUploadFiles(settings, folder, numbers);
    UploadManifest manifest(UploadManifest::pathFor(folder, server), UploadManifest::serverLabel(server));
    manifest.open();
    const QList<PlannedFile> plan = planUpload(files->files, manifest);
    TrustEverything trust;
    RemoteSession session(server, QString::fromLatin1(test::LoopbackServer::Password), folder, trust);
    QStringList names;
    session.connect(names);
    const UploadSummary summary = runUpload(session, manifest, plan, nullptr);
    if (summary.sent != expectedSent || !summary.succeeded()) {
        std::fprintf(stderr, "sent %d, expected %d\n", summary.sent, expectedSent);
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

/// One curl process per target folder, each sending its files over one connection; milliseconds.
double curlRun(const ServerSettings& server, const QString& config,
               const QList<QPair<QString, QStringList>>& batches) {
    QElapsedTimer timer;
    timer.start();
    for (const auto& [folder, files] : batches) {
        const bool sftp = server.protocol == UploadProtocol::Sftp;
        const QString url =
            (sftp ? QStringLiteral("sftp://127.0.0.1:%1/~/") : QStringLiteral("ftp://127.0.0.1:%1/"))
                .arg(server.port) +
            folder;
        QStringList arguments{QStringLiteral("-sS"),
                              QStringLiteral("-k"),
                              QStringLiteral("-K"),
                              config,
                              QStringLiteral("--ftp-create-dirs"),
                              QStringLiteral("-T"),
                              QLatin1Char('{') + files.join(QLatin1Char(',')) + QLatin1Char('}'),
                              url};
        if (!sftp) {
            arguments.prepend(QStringLiteral("--ssl-reqd"));
        }
        QProcess curl;
        curl.setProcessChannelMode(QProcess::ForwardedChannels);
        curl.start(QStringLiteral("curl"), arguments);
        curl.waitForFinished(600000);
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

void measure(UploadProtocol protocol) {
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    QDir(folder).mkpath(QStringLiteral("html"));
    QDir(folder).mkpath(QStringLiteral("img"));
    const SettingsRecord settings{folder.toUtf8(), folder.toUtf8() + "html/", folder.toUtf8() + "img/",
                                  "grph/"};
    write(folder + QStringLiteral("TAVELO.DAT"), settings.encode());
    QByteArray definitions;
    QStringList pages;
    QStringList pictures;
    for (int i = 0; i < Tables; ++i) {
        const QByteArray name = "t" + QByteArray::number(i);
        TableDefinition d;
        d.TableName = name;
        d.FileName = name;
        definitions += d.encode();
        TableRowRecord row;
        row.CellPictures[1] = name + ".jpg";
        write(folder + QString::fromLatin1(name) + QStringLiteral(".TBL"), row.encode());
        write(folder + QStringLiteral("html/") + QString::fromLatin1(name) + QStringLiteral(".html"),
              QByteArray(6000, 'p') + name);
        write(folder + QStringLiteral("img/") + QString::fromLatin1(name) + QStringLiteral(".jpg"),
              QByteArray(30000, 'j') + name);
        pages.append(folder + QStringLiteral("html/") + QString::fromLatin1(name) + QStringLiteral(".html"));
        pictures.append(folder + QStringLiteral("img/") + QString::fromLatin1(name) + QStringLiteral(".jpg"));
    }
    write(folder + QStringLiteral("TABLE.DAT"), definitions);
    const QString config = folder + QStringLiteral("curl.conf");
    write(config, QByteArray("user = \"") + test::LoopbackServer::User + ':' +
                      test::LoopbackServer::Password + "\"\n");

    test::LoopbackServer server(protocol);
    if (!server.start()) {
        std::fprintf(stderr, "the server did not start\n");
        return;
    }
    ServerSettings kelvano = server.settings();
    kelvano.remoteFolder = QStringLiteral("kelvano/");
    const double first = kelvanoRun(settings, folder, kelvano, 2 * Tables);
    const double curlAll = curlRun(
        kelvano, config, {{QStringLiteral("plain/"), pages}, {QStringLiteral("plain/grph/"), pictures}});
    write(pages.first(), QByteArray(6001, 'q'));
    const double second = kelvanoRun(settings, folder, kelvano, 1);
    const double curlOne = curlRun(kelvano, config, {{QStringLiteral("plain/"), {pages.first()}}});
    std::printf("%s: first run %.0f ms, curl batch of all %.0f ms (ratio %.2f); one changed page %.0f ms, "
                "curl of that page %.0f ms (ratio %.2f)\n",
                protocol == UploadProtocol::Sftp ? "SFTP" : "FTPS", first, curlAll, first / curlAll, second,
                curlOne, second / curlOne);
}

} // namespace
} // namespace kelvano

int main() {
    kelvano::measure(kelvano::UploadProtocol::Sftp);
    kelvano::measure(kelvano::UploadProtocol::Ftps);
    return 0;
}
