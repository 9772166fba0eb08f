#pragma once

#include "core/store/server_settings.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace kelvano::test {

/// A real OpenSSH sshd (SFTP) or vsftpd (FTPS, explicit TLS) on 127.0.0.1 and a free high port, run by
/// loopback_server.sh with a temporary account, host key or certificate in a scratch folder of its own;
/// stopped (every process of it) when the object goes or by stop().
class LoopbackServer {
public:
    static constexpr char User[] = "kvupload";
    static constexpr char Password[] = "Kv-test-pass 27";

    explicit LoopbackServer(UploadProtocol protocol);
    ~LoopbackServer();

    /// Whether the server answers on its port.
    bool start();
    void stop();

    /// Settings that reach this server, with the HTML folder `public_html/`.
    ServerSettings settings() const;
    /// The account's home folder as the test sees it.
    QString home() const;
    /// The scratch folder (host key, certificate); a new one every server, unless `reuse` names one.
    QString scratch() const { return m_scratch; }
    void reuseScratchOf(const LoopbackServer& other) { m_scratch = other.m_scratch; }
    int port() const { return m_port; }
    /// Makes a file or folder the test made under home() the account's, as if the account had made it.
    static void giveToAccount(const QString& path);

private:
    UploadProtocol m_protocol;
    QTemporaryDir m_dir;
    QString m_scratch;
    int m_port = 0;
    std::unique_ptr<QProcess> m_process;
};

/// Whether servers can be run here (root, for the private namespaces).
bool canRunLoopbackServers();

/// A port on 127.0.0.1 that nothing listens on, for "unreachable".
int closedPort();

} // namespace kelvano::test
