#pragma once

#include "core/publish/server_trust.h"
#include "core/store/server_settings.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace kelvano {

/// Why talking to the server failed; `reason` is the server's or the library's words, never a password.
struct RemoteFailure {
    enum class Kind {
        Unreachable,           ///< no connection within the time allowed
        LoginRefused,          ///< the account's name, password or key was refused
        HostKeyNotTrusted,     ///< the user did not trust a new host key
        HostKeyChanged,        ///< the host key differs from the trusted one (`known`, `offered`)
        CertificateNotTrusted, ///< the certificate does not verify and was not trusted
        CertificateChanged,    ///< the certificate's key differs from the pinned one
        Cancelled,             ///< the user stopped it
        Transfer,              ///< the server refused or lost this file; the connection may go on
        Connection,            ///< the connection broke
    };
    Kind kind = Kind::Transfer;
    QString reason;
    /// For a changed key or certificate: the trusted fingerprint and the one the server offered.
    QString known;
    QString offered;

    /// Whether nothing more can go through this session.
    bool endsSession() const { return kind != Kind::Transfer; }
};

/// Bytes of the file being sent so far and its size; returning false stops the transfer.
using TransferProgress = std::function<bool(qint64 sent, qint64 total)>;

/// One connection to the server through libcurl (SFTP over libssh2, FTPS over OpenSSL, explicit TLS),
/// kept open from one file to the next. The SFTP host key is checked against KNOWN_HOSTS and the FTPS
/// certificate against the system's authorities or its pin before the password is sent. Not for use
/// from two threads at once; a session belongs to the thread that uses it.
class RemoteSession {
public:
    RemoteSession(ServerSettings server, QString password, QString programFolder, TrustQuestions& questions);
    ~RemoteSession();
    RemoteSession(const RemoteSession&) = delete;
    RemoteSession& operator=(const RemoteSession&) = delete;

    /// Connects (asking about a new host key or an unverified certificate) and lists the server's
    /// HTML folder into `names` (sorted, without "." and ".."); a folder not there yet lists nothing.
    std::optional<RemoteFailure> connect(QStringList& names, const std::function<bool()>& goOn = {});
    /// Sends the file to `remotePath` under the server's HTML folder, creating its folders: under a
    /// temporary name first, renamed over the old file once complete; where the server refuses to
    /// rename over a file, the old file is removed first.
    std::optional<RemoteFailure> send(const QString& localPath, const QString& remotePath,
                                      const TransferProgress& progress);
    /// Removes the file at `remotePath` under the server's HTML folder.
    std::optional<RemoteFailure> remove(const QString& remotePath);

    /// "host:port", as the trust questions and pins name the server.
    QString serverName() const;

private:
    class Handle;
    /// Forgets the last request's options (keeping its connection) and sets what every request needs.
    void prepareRequest(const TransferProgress& progress, const std::function<bool()>& goOn);
    std::optional<RemoteFailure> list(QStringList& names, const std::function<bool()>& goOn);
    std::optional<RemoteFailure> commands(const QStringList& lines);
    /// A path under the HTML folder as the server's commands take it.
    QString commandPath(const QString& remotePath) const;
    std::optional<RemoteFailure> perform(int result);

    ServerSettings m_server;
    QString m_password;
    QString m_programFolder;
    TrustQuestions& m_questions;
    std::unique_ptr<Handle> m_handle;
};

} // namespace kelvano
