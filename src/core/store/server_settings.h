#pragma once

#include <QString>

namespace kelvano {

/// How the pages reach the web server. Plain FTP is not offered: it sends the password in the clear.
enum class UploadProtocol { Sftp, Ftps };

/// How the program proves who it is to the server. A key file and the agent are SFTP's only.
enum class UploadAuthentication { Password, KeyFile, Agent };

/// The web server the pages are sent to: KELVANO.INI's group `Server`. The password is never part of
/// it: it lives in the desktop's keyring or, for one run, in memory.
struct ServerSettings {
    UploadProtocol protocol = UploadProtocol::Sftp;
    QString host;
    /// 0: the protocol's own port (defaultPort).
    int port = 0;
    QString user;
    UploadAuthentication authentication = UploadAuthentication::Password;
    /// The private key for UploadAuthentication::KeyFile; a passphrase is asked like a password.
    QString keyFile;
    /// The folder on the server that corresponds to the HTML folder: absolute ("/var/www/") or from the
    /// account's home folder ("public_html/"). Pictures go to it plus the server image path.
    QString remoteFolder;
    /// Whether the user asked for the password to be kept in the keyring.
    bool savePassword = false;

    bool isComplete() const { return !host.isEmpty() && !user.isEmpty(); }
    int portInUse() const { return port > 0 ? port : defaultPort(protocol); }
    static int defaultPort(UploadProtocol protocol) { return protocol == UploadProtocol::Sftp ? 22 : 21; }

    bool operator==(const ServerSettings&) const = default;
};

} // namespace kelvano
