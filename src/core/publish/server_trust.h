#pragma once

#include "core/store/server_settings.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace kelvano {

/// The questions a connection may need answered before it sends the account's name or password.
class TrustQuestions {
public:
    virtual ~TrustQuestions() = default;
    /// An SFTP server whose host key is not yet trusted: trust it from now on?
    virtual bool trustHostKey(const QString& server, const QString& fingerprint) = 0;
    /// An FTPS server whose certificate the system's authorities do not vouch for (`reason`): trust this
    /// certificate's key from now on?
    virtual bool trustCertificate(const QString& server, const QString& fingerprint,
                                  const QString& reason) = 0;
};

/// The keys and certificates trusted explicitly, kept in the program folder: KNOWN_HOSTS (OpenSSH's
/// known-hosts format, which libssh2 reads and writes) and PINNED_CERTIFICATES.TXT (one line per
/// server: "host:port", a tab and the SHA-256 of the certificate's public key as "sha256//" and base64).
namespace ServerTrust {

QString knownHostsPath(const QString& programFolder);
QString pinnedCertificatesPath(const QString& programFolder);

/// "SHA256:" and the base64 digits without padding of the SHA-256 of `blob`, as OpenSSH shows keys.
QString fingerprintOf(QByteArrayView blob);
/// The fingerprint of a "sha256//…" pin.
QString fingerprintOfPin(const QByteArray& pin);
/// The pin of the public key of a certificate in PEM form; empty when it cannot be read.
QByteArray pinOfCertificate(const QByteArray& pem);

/// The pin kept for the server; nullopt when its certificate is not pinned.
std::optional<QByteArray> pinnedCertificate(const QString& programFolder, const QString& server);
/// Keeps the pin for the server, replacing an earlier one; an IoError when the file cannot be written.
void pinCertificate(const QString& programFolder, const QString& server, const QByteArray& pin);

} // namespace ServerTrust
} // namespace kelvano
