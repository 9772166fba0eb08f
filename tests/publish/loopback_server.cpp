#include "loopback_server.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <unistd.h>

namespace kelvano::test {
namespace {

/// A port free now, with the 20 after it (vsftpd's passive ports) likely free too.
int freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    return port > 65500 ? freePort() : port;
}

/// The processes `parent` has started, as the system lists them.
QList<qint64> childrenOf(qint64 parent) {
    QFile list(QStringLiteral("/proc/%1/task/%1/children").arg(parent));
    QList<qint64> children;
    if (list.open(QIODevice::ReadOnly)) {
        for (const QByteArray& word : list.readAll().simplified().split(' ')) {
            if (!word.isEmpty()) {
                children.append(word.toLongLong());
            }
        }
    }
    return children;
}

/// Waits (5 s at most) until `process` is gone or only waits to be collected.
void waitUntilEnded(qint64 process) {
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        QFile status(QStringLiteral("/proc/%1/stat").arg(process));
        if (!status.open(QIODevice::ReadOnly)) {
            return;
        }
        // "pid (name) state ...": the state follows the name's closing parenthesis.
        const QByteArray line = status.readAll();
        const qsizetype nameEnd = line.lastIndexOf(')');
        if (nameEnd < 0 || line.mid(nameEnd + 2, 1) == "Z") {
            return;
        }
        QThread::msleep(10);
    }
}

} // namespace

bool canRunLoopbackServers() {
    return ::geteuid() == 0;
}

int closedPort() {
    return freePort();
}

LoopbackServer::LoopbackServer(UploadProtocol protocol)
    : m_protocol(protocol), m_scratch(m_dir.path() + QStringLiteral("/server")) {
    // The account's home lies below: the server's sessions, which run as the account, pass through.
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                            QFile::ExeOther);
}

LoopbackServer::~LoopbackServer() {
    stop();
}

bool LoopbackServer::start() {
    stop();
    QDir().mkpath(m_scratch);
    if (m_port == 0) {
        m_port = freePort(); // kept across restarts: the manifest belongs to host and port
    }
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(QStringLiteral(KELVANO_LOOPBACK_SERVER),
                     {m_protocol == UploadProtocol::Sftp ? QStringLiteral("sftp") : QStringLiteral("ftps"),
                      m_scratch, QString::number(m_port), QString::fromLatin1(User),
                      QString::fromLatin1(Password)});
    if (!m_process->waitForStarted(5000)) {
        return false;
    }
    const QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(m_port));
        if (socket.waitForConnected(200)) {
            // The server's greeting: it is up, not only its port.
            if (socket.waitForReadyRead(3000)) {
                return true;
            }
        }
        if (m_process->state() == QProcess::NotRunning) {
            return false;
        }
        QThread::msleep(100);
    }
    return false;
}

void LoopbackServer::stop() {
    if (m_process && m_process->state() != QProcess::NotRunning) {
        // SIGKILL to unshare: its --kill-child takes the namespace's first process, and with it every
        // session process of the server. That happens after unshare itself has ended, so the first
        // process is waited for: it ends only once every process of its namespace has.
        const QList<qint64> firstProcesses = childrenOf(m_process->processId());
        m_process->kill();
        m_process->waitForFinished(5000);
        for (const qint64 process : firstProcesses) {
            waitUntilEnded(process);
        }
    }
    m_process.reset();
}

ServerSettings LoopbackServer::settings() const {
    ServerSettings server;
    server.protocol = m_protocol;
    server.host = QStringLiteral("127.0.0.1");
    server.port = m_port;
    server.user = QString::fromLatin1(User);
    server.remoteFolder = QStringLiteral("public_html/");
    return server;
}

void LoopbackServer::giveToAccount(const QString& path) {
    // The account's numbers, as loopback_server.sh gives them.
    constexpr uid_t AccountId = 42427;
    ::chown(QFile::encodeName(path).constData(), AccountId, AccountId);
}

QString LoopbackServer::home() const {
    return m_scratch + QStringLiteral("/home/");
}

} // namespace kelvano::test
