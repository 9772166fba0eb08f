#include "core/publish/remote_session.h"

#include <QFile>
#include <QUrl>
#include <curl/curl.h>
#include <mutex>

namespace kelvano {
namespace {

constexpr long ConnectSeconds = 20;
/// A server that sends or takes nothing for this long is given up.
constexpr long StalledSeconds = 30;
const QString PartSuffix = QStringLiteral(".kelvano-part");
/// A pin no key has: the probe's handshake fails on it right after the certificate arrived, before
/// anything about the account is sent.
constexpr char NoKeysPin[] = "sha256//AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=";

void initialiseOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

/// An argument of an SFTP quote command: in double quotes, with '"' and '\' escaped.
QByteArray quoted(const QString& path) {
    QByteArray bytes = path.toUtf8();
    bytes.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + bytes + '"';
}

QByteArray encodedPath(const QString& path) {
    QByteArray encoded;
    const QStringList parts = path.split(QLatin1Char('/'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            encoded += '/';
        }
        encoded += QUrl::toPercentEncoding(parts.at(i));
    }
    return encoded;
}

size_t collect(char* data, size_t size, size_t count, void* target) {
    static_cast<QByteArray*>(target)->append(data, static_cast<qsizetype>(size * count));
    return size * count;
}

size_t readFile(char* buffer, size_t size, size_t count, void* source) {
    const qint64 read = static_cast<QFile*>(source)->read(buffer, static_cast<qint64>(size * count));
    return read < 0 ? CURL_READFUNC_ABORT : static_cast<size_t>(read);
}

} // namespace

/// The libcurl handle and what its callbacks report.
class RemoteSession::Handle {
public:
    Handle() : curl(curl_easy_init()) {}
    ~Handle() {
        curl_easy_cleanup(curl);
        curl_slist_free_all(commands);
    }

    CURL* curl;
    curl_slist* commands = nullptr;
    char error[CURL_ERROR_SIZE] = {};
    TrustQuestions* questions = nullptr;
    QString serverName;
    TransferProgress progress;
    std::function<bool()> goOn;
    bool hostKeyDeclined = false;
    bool hostKeyChanged = false;
    bool connected = false;
    QString knownKey;
    QString offeredKey;
    /// The folder an FTP login starts in, from the server's answer to PWD.
    QString entryPath;

    void setCommands(const QStringList& lines, CURLoption option) {
        curl_slist_free_all(commands);
        commands = nullptr;
        for (const QString& line : lines) {
            commands = curl_slist_append(commands, line.toUtf8().constData());
        }
        curl_easy_setopt(curl, option, commands);
    }

    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t total, curl_off_t sent) {
        const auto* handle = static_cast<Handle*>(self);
        if (handle->goOn && !handle->goOn()) {
            return 1;
        }
        return handle->progress && !handle->progress(sent, total) ? 1 : 0;
    }

    static QByteArray keyBlob(const curl_khkey* key) {
        if (key == nullptr || key->key == nullptr) {
            return {};
        }
        // A length of 0 means a base64 text ended by a zero byte (the known-hosts file's form).
        return key->len == 0 ? QByteArray::fromBase64(QByteArray(key->key))
                             : QByteArray(key->key, qsizetype(key->len));
    }

    static int onHostKey(CURL*, const curl_khkey* known, const curl_khkey* found, curl_khmatch match,
                         void* self) {
        auto* handle = static_cast<Handle*>(self);
        handle->offeredKey = ServerTrust::fingerprintOf(keyBlob(found));
        switch (match) {
        case CURLKHMATCH_OK:
            return CURLKHSTAT_FINE;
        case CURLKHMATCH_MISMATCH:
            handle->hostKeyChanged = true;
            handle->knownKey = ServerTrust::fingerprintOf(keyBlob(known));
            return CURLKHSTAT_REJECT;
        default:
            break;
        }
        if (handle->questions->trustHostKey(handle->serverName, handle->offeredKey)) {
            return CURLKHSTAT_FINE_ADD_TO_FILE;
        }
        handle->hostKeyDeclined = true;
        return CURLKHSTAT_REJECT;
    }
};

RemoteSession::RemoteSession(ServerSettings server, QString password, QString programFolder,
                             TrustQuestions& questions)
    : m_server(std::move(server)), m_password(std::move(password)), m_programFolder(std::move(programFolder)),
      m_questions(questions) {
    initialiseOnce();
    m_handle = std::make_unique<Handle>();
    m_handle->questions = &m_questions;
    m_handle->serverName = serverName();
}

RemoteSession::~RemoteSession() = default;

QString RemoteSession::serverName() const {
    return m_server.host + QLatin1Char(':') + QString::number(m_server.portInUse());
}

namespace {

/// The server's HTML folder with a "/" at its end, "" for the folder a login starts in.
QString remoteFolderOf(const ServerSettings& server) {
    QString folder = server.remoteFolder.trimmed();
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/'))) {
        folder += QLatin1Char('/');
    }
    return folder;
}

/// The path as the server's commands take it: from its root, or from the folder a login starts in.
QString serverPath(const ServerSettings& server, const QString& remotePath) {
    return remoteFolderOf(server) + remotePath;
}

QByteArray urlOf(const ServerSettings& server, const QString& remotePath);

/// The folder a login starts in, whatever the HTML folder is.
QByteArray loginFolderUrl(ServerSettings server) {
    server.remoteFolder.clear();
    QByteArray url = urlOf(server, QString());
    return url.endsWith('/') ? url : url + '/';
}

QByteArray urlOf(const ServerSettings& server, const QString& remotePath) {
    const bool sftp = server.protocol == UploadProtocol::Sftp;
    QString host = server.host;
    if (host.contains(QLatin1Char(':'))) {
        host = QLatin1Char('[') + host + QLatin1Char(']');
    }
    QByteArray url =
        (sftp ? "sftp://" : "ftp://") + QUrl::toAce(host) + ':' + QByteArray::number(server.portInUse());
    const QString path = serverPath(server, remotePath);
    if (path.startsWith(QLatin1Char('/'))) {
        // FTP takes "%2F" for a path from the server's root.
        url += sftp ? encodedPath(path) : "/%2F" + encodedPath(path.mid(1));
    } else {
        url += (sftp ? "/~/" : "/") + encodedPath(path);
    }
    return url;
}

} // namespace

namespace {

RemoteFailure failureOf(CURLcode code, const char* detail, bool connected) {
    const QString reason =
        detail[0] != '\0' ? QString::fromUtf8(detail) : QString::fromUtf8(curl_easy_strerror(code));
    using Kind = RemoteFailure::Kind;
    switch (code) {
    case CURLE_COULDNT_CONNECT:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_OPERATION_TIMEDOUT:
        // A server that was there and is no longer: the connection broke in the middle of a run.
        return {connected ? Kind::Connection : Kind::Unreachable, reason, {}, {}};
    case CURLE_LOGIN_DENIED:
        return {Kind::LoginRefused, reason, {}, {}};
    case CURLE_ABORTED_BY_CALLBACK:
        return {Kind::Cancelled, reason, {}, {}};
    case CURLE_PEER_FAILED_VERIFICATION:
        return {Kind::CertificateNotTrusted, reason, {}, {}};
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        return {Kind::CertificateChanged, reason, {}, {}};
    case CURLE_QUOTE_ERROR:
    case CURLE_UPLOAD_FAILED:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_REMOTE_DISK_FULL:
    case CURLE_REMOTE_FILE_EXISTS:
    case CURLE_READ_ERROR:
        return {Kind::Transfer, reason, {}, {}};
    default:
        return {Kind::Connection, reason, {}, {}};
    }
}

} // namespace

std::optional<RemoteFailure> RemoteSession::perform(int result) {
    const auto code = static_cast<CURLcode>(result);
    Handle& handle = *m_handle;
    if (code == CURLE_OK) {
        handle.connected = true;
        const char* entry = nullptr;
        if (handle.entryPath.isEmpty() &&
            curl_easy_getinfo(handle.curl, CURLINFO_FTP_ENTRY_PATH, &entry) == CURLE_OK && entry != nullptr) {
            handle.entryPath = QString::fromUtf8(entry);
        }
        return std::nullopt;
    }
    RemoteFailure failure = failureOf(code, handle.error, handle.connected);
    if (handle.hostKeyChanged) {
        failure = {RemoteFailure::Kind::HostKeyChanged, failure.reason, handle.knownKey, handle.offeredKey};
    } else if (handle.hostKeyDeclined) {
        failure.kind = RemoteFailure::Kind::HostKeyNotTrusted;
    }
    if (failure.kind == RemoteFailure::Kind::Transfer || failure.kind == RemoteFailure::Kind::Cancelled) {
        // The server said no to one request, or the user stopped it: the connection itself stood.
        handle.connected = handle.connected || code != CURLE_ABORTED_BY_CALLBACK;
    }
    return failure;
}

namespace {

/// Everything a request needs besides its URL and its kind; set anew for each request, since
/// curl_easy_reset keeps the open connection but forgets the options.
void setCommonOptions(CURL* curl, const ServerSettings& server, const QString& password,
                      const QString& programFolder, const std::optional<QByteArray>& pin, char* error) {
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, ConnectSeconds);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, StalledSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, StalledSeconds);
    curl_easy_setopt(curl, CURLOPT_USERNAME, server.user.toUtf8().constData());
    if (server.protocol == UploadProtocol::Sftp) {
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "sftp");
        curl_easy_setopt(curl, CURLOPT_SSH_KNOWNHOSTS,
                         QFile::encodeName(ServerTrust::knownHostsPath(programFolder)).constData());
        switch (server.authentication) {
        case UploadAuthentication::Password:
            curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES,
                             long(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
            curl_easy_setopt(curl, CURLOPT_PASSWORD, password.toUtf8().constData());
            break;
        case UploadAuthentication::KeyFile:
            curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES, long(CURLSSH_AUTH_PUBLICKEY));
            curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE,
                             QFile::encodeName(server.keyFile).constData());
            // Empty: libssh2 derives the public key from the private one.
            curl_easy_setopt(curl, CURLOPT_SSH_PUBLIC_KEYFILE, "");
            curl_easy_setopt(curl, CURLOPT_KEYPASSWD, password.toUtf8().constData());
            break;
        case UploadAuthentication::Agent:
            curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES, long(CURLSSH_AUTH_AGENT));
            break;
        }
    } else {
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
        curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.toUtf8().constData());
        if (pin) {
            // A certificate trusted by its key: the pin is checked instead of the authorities.
            curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
            curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
            curl_easy_setopt(curl, CURLOPT_PINNEDPUBLICKEY, pin->constData());
        }
    }
}

} // namespace

void RemoteSession::prepareRequest(const TransferProgress& progress, const std::function<bool()>& goOn) {
    Handle& handle = *m_handle;
    CURL* curl = handle.curl;
    curl_easy_reset(curl);
    setCommonOptions(curl, m_server, m_password, m_programFolder,
                     ServerTrust::pinnedCertificate(m_programFolder, serverName()), handle.error);
    handle.error[0] = '\0';
    handle.progress = progress;
    handle.goOn = goOn;
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Handle::onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &handle);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    if (m_server.protocol == UploadProtocol::Sftp) {
        curl_easy_setopt(curl, CURLOPT_SSH_KEYFUNCTION, &Handle::onHostKey);
        curl_easy_setopt(curl, CURLOPT_SSH_KEYDATA, &handle);
    }
}

std::optional<RemoteFailure> RemoteSession::list(QStringList& names, const std::function<bool()>& goOn) {
    Handle& handle = *m_handle;
    CURL* curl = handle.curl;
    prepareRequest({}, goOn);
    QByteArray listing;
    QByteArray url = urlOf(m_server, QString());
    if (!url.endsWith('/')) {
        url += '/';
    }
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &listing);
    const CURLcode code = curl_easy_perform(curl);
    handle.goOn = {};
    names.clear();
    if (code == CURLE_REMOTE_ACCESS_DENIED || code == CURLE_REMOTE_FILE_NOT_FOUND) {
        // The folder is not there yet: the first file sent makes it.
        if (perform(code)->kind == RemoteFailure::Kind::Transfer) {
            handle.connected = true;
            return std::nullopt;
        }
    }
    if (std::optional<RemoteFailure> failure = perform(code)) {
        return failure;
    }
    for (const QByteArray& line : listing.split('\n')) {
        const QString name = QString::fromUtf8(line.trimmed());
        if (!name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..")) {
            names.append(name);
        }
    }
    names.sort();
    return std::nullopt;
}

namespace {

/// The pin of the certificate the FTPS server offers, learnt without sending anything of the account;
/// empty when none came.
QByteArray probeCertificatePin(const ServerSettings& server) {
    CURL* curl = curl_easy_init();
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, ConnectSeconds);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(curl, CURLOPT_URL, loginFolderUrl(server).constData());
    curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(curl, CURLOPT_PINNEDPUBLICKEY, NoKeysPin);
    curl_easy_setopt(curl, CURLOPT_CERTINFO, 1L);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    curl_easy_perform(curl);
    QByteArray pin;
    curl_certinfo* chain = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_CERTINFO, &chain) == CURLE_OK && chain != nullptr &&
        chain->num_of_certs > 0) {
        for (const curl_slist* item = chain->certinfo[0]; item != nullptr; item = item->next) {
            const QByteArray field(item->data);
            if (field.startsWith("Cert:")) {
                pin = ServerTrust::pinOfCertificate(field.mid(5));
            }
        }
    }
    curl_easy_cleanup(curl);
    return pin;
}

} // namespace

std::optional<RemoteFailure> RemoteSession::connect(QStringList& names, const std::function<bool()>& goOn) {
    std::optional<RemoteFailure> failure = list(names, goOn);
    if (!failure || m_server.protocol != UploadProtocol::Ftps) {
        return failure;
    }
    if (failure->kind == RemoteFailure::Kind::CertificateChanged) {
        failure->known = ServerTrust::fingerprintOfPin(
            ServerTrust::pinnedCertificate(m_programFolder, serverName()).value_or(QByteArray()));
        failure->offered = ServerTrust::fingerprintOfPin(probeCertificatePin(m_server));
        return failure;
    }
    if (failure->kind != RemoteFailure::Kind::CertificateNotTrusted) {
        return failure;
    }
    const QByteArray pin = probeCertificatePin(m_server);
    if (pin.isEmpty() ||
        !m_questions.trustCertificate(serverName(), ServerTrust::fingerprintOfPin(pin), failure->reason)) {
        return failure;
    }
    ServerTrust::pinCertificate(m_programFolder, serverName(), pin);
    return list(names, goOn);
}

std::optional<RemoteFailure> RemoteSession::commands(const QStringList& lines) {
    Handle& handle = *m_handle;
    CURL* curl = handle.curl;
    prepareRequest({}, {});
    // The commands run right after the login, in the folder a login starts in: their paths are the
    // server's (serverPath), and the request itself asks for nothing.
    const QByteArray url = loginFolderUrl(m_server);
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    handle.setCommands(lines, CURLOPT_QUOTE);
    return perform(curl_easy_perform(curl));
}

std::optional<RemoteFailure> RemoteSession::send(const QString& localPath, const QString& remotePath,
                                                 const TransferProgress& progress) {
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return RemoteFailure{RemoteFailure::Kind::Transfer, file.errorString(), {}, {}};
    }
    const qsizetype slash = remotePath.lastIndexOf(QLatin1Char('/'));
    const QString folder = remotePath.left(slash + 1);
    const QString name = remotePath.mid(slash + 1);
    const QString part = folder + QLatin1Char('.') + name + PartSuffix;
    const bool sftp = m_server.protocol == UploadProtocol::Sftp;

    Handle& handle = *m_handle;
    CURL* curl = handle.curl;
    prepareRequest(progress, {});
    curl_easy_setopt(curl, CURLOPT_URL, urlOf(m_server, part).constData());
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(file.size()));
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, &readFile);
    curl_easy_setopt(curl, CURLOPT_READDATA, &file);
    curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS, long(CURLFTP_CREATE_DIR_RETRY));
    // After the transfer an FTP session stands in the file's folder; SFTP paths are the server's.
    const QStringList rename =
        sftp ? QStringList{QStringLiteral("rename ") + QString::fromUtf8(quoted(serverPath(m_server, part))) +
                           QLatin1Char(' ') + QString::fromUtf8(quoted(serverPath(m_server, remotePath)))}
             : QStringList{QStringLiteral("RNFR .") + name + PartSuffix, QStringLiteral("RNTO ") + name};
    handle.setCommands(rename, CURLOPT_POSTQUOTE);
    const CURLcode code = curl_easy_perform(curl);
    handle.progress = {};
    if (code != CURLE_QUOTE_ERROR) {
        return perform(code);
    }
    // The file arrived under its temporary name, but the server would not rename it over the old one
    // (OpenSSH's SFTP server never does): the old file goes first, and is missing until the rename.
    const QString target = commandPath(remotePath);
    const QString from = commandPath(part);
    return commands(sftp ? QStringList{QStringLiteral("rm ") + QString::fromUtf8(quoted(target)),
                                       QStringLiteral("rename ") + QString::fromUtf8(quoted(from)) +
                                           QLatin1Char(' ') + QString::fromUtf8(quoted(target))}
                         : QStringList{QStringLiteral("DELE ") + target, QStringLiteral("RNFR ") + from,
                                       QStringLiteral("RNTO ") + target});
}

QString RemoteSession::commandPath(const QString& remotePath) const {
    const QString path = serverPath(m_server, remotePath);
    // A reused FTP connection stands in the folder of the request before, so a path from the login
    // folder is made absolute. SFTP paths are taken from the login folder whatever came before.
    if (m_server.protocol == UploadProtocol::Ftps && !path.startsWith(QLatin1Char('/')) &&
        !m_handle->entryPath.isEmpty()) {
        QString entry = m_handle->entryPath;
        return entry.endsWith(QLatin1Char('/')) ? entry + path : entry + QLatin1Char('/') + path;
    }
    return path;
}

std::optional<RemoteFailure> RemoteSession::remove(const QString& remotePath) {
    const QString target = commandPath(remotePath);
    return commands(m_server.protocol == UploadProtocol::Sftp
                        ? QStringList{QStringLiteral("rm ") + QString::fromUtf8(quoted(target))}
                        : QStringList{QStringLiteral("DELE ") + target});
}

} // namespace kelvano
