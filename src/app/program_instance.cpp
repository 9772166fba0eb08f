#include "app/program_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <cstring>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kelvano {
namespace {

constexpr std::string_view RaiseRequest = "raise\n";
constexpr std::string_view RaisedReply = "raised\n";

/// Asks the copy listening at `path` to raise its window; true when it said it did. Plain system
/// calls, so that no application object is needed.
bool askToRaise(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    sockaddr_un address{};
    if (encoded.size() >= qsizetype(sizeof(address.sun_path))) {
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0) {
        return false;
    }
    // A copy that hangs must not hang this start too.
    const timeval wait{2, 0};
    ::setsockopt(descriptor, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    ::setsockopt(descriptor, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
    std::string reply;
    if (::connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::send(descriptor, RaiseRequest.data(), RaiseRequest.size(), MSG_NOSIGNAL) ==
            ssize_t(RaiseRequest.size())) {
        char buffer[16];
        while (reply.size() < RaisedReply.size()) {
            const ssize_t got = ::recv(descriptor, buffer, sizeof buffer, 0);
            if (got <= 0) {
                break;
            }
            reply.append(buffer, size_t(got));
        }
    }
    ::close(descriptor);
    return reply == RaisedReply;
}

} // namespace

const QString ProgramInstance::LockFileName = QStringLiteral("KELVANO.LCK");

ProgramInstance::ProgramInstance(const QString& programFolder, QObject* parent)
    : QObject(parent), m_programFolder(programFolder) {}

ProgramInstance::~ProgramInstance() {
    if (m_server != nullptr) {
        m_server->close();
    }
    if (m_lock) {
        m_lock->unlock();
    }
}

QString ProgramInstance::socketPath(const QString& programFolder) {
    const QFileInfo folder(programFolder);
    const QString canonical =
        folder.canonicalFilePath().isEmpty() ? folder.absoluteFilePath() : folder.canonicalFilePath();
    const QByteArray hash = QCryptographicHash::hash(QFile::encodeName(canonical), QCryptographicHash::Sha1);
    return QDir::tempPath() +
           QStringLiteral("/kelvano-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash.toHex().left(20)));
}

ProgramInstance::Start ProgramInstance::claim() {
    m_lock = std::make_unique<QLockFile>(m_programFolder + LockFileName);
    // The program runs for hours: only a holder that is no longer running makes the lock stale.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        return Start::First;
    }
    if (m_lock->error() != QLockFile::LockFailedError) {
        // A program folder where no lock can be made runs as it always has.
        m_lock.reset();
        return Start::First;
    }
    m_lock.reset();
    // The running copy may be starting itself, its lock taken but its socket not yet listening.
    const QString path = socketPath(m_programFolder);
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (askToRaise(path)) {
            return Start::RunningCopyRaised;
        }
        QThread::msleep(100);
    }
    return Start::RunningCopyUnreachable;
}

void ProgramInstance::listen() {
    const QString path = socketPath(m_programFolder);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a copy that crashed stands in the way; this copy holds the lock.
    QLocalServer::removeServer(path);
    if (!m_server->listen(path)) {
        return; // later starts then say that this copy is running
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine()) {
                    return;
                }
                if (socket->readLine() ==
                    QByteArrayView(RaiseRequest.data(), qsizetype(RaiseRequest.size()))) {
                    emit raiseRequested();
                    socket->write(RaisedReply.data(), qint64(RaisedReply.size()));
                }
                socket->disconnectFromServer();
            });
        }
    });
}

} // namespace kelvano
