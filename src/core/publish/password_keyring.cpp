#include "core/publish/password_keyring.h"

#include "core/publish/upload_manifest.h"

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace kelvano::PasswordKeyring {
namespace {

const QString Service = QStringLiteral("Kelvano");

/// Runs the job to its end; its error.
QKeychain::Error finish(QKeychain::Job& job, const ServerSettings& server) {
    job.setAutoDelete(false);
    // Never the plain-text file QtKeychain falls back on without a keyring.
    job.setInsecureFallback(false);
    job.setKey(UploadManifest::serverLabel(server));
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    return job.error();
}

} // namespace

std::optional<QString> read(const ServerSettings& server) {
    QKeychain::ReadPasswordJob job(Service);
    if (finish(job, server) != QKeychain::NoError) {
        return std::nullopt;
    }
    return job.textData();
}

bool store(const ServerSettings& server, const QString& password) {
    QKeychain::WritePasswordJob job(Service);
    job.setTextData(password);
    return finish(job, server) == QKeychain::NoError;
}

void remove(const ServerSettings& server) {
    QKeychain::DeletePasswordJob job(Service);
    finish(job, server);
}

bool isAvailable() {
    // A key no one stores: a keyring that answers says it is not there.
    ServerSettings probe;
    probe.host = QStringLiteral("keyring-probe.invalid");
    QKeychain::ReadPasswordJob job(Service);
    const QKeychain::Error error = finish(job, probe);
    return error == QKeychain::NoError || error == QKeychain::EntryNotFound;
}

} // namespace kelvano::PasswordKeyring
