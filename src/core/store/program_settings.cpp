#include "core/store/program_settings.h"

#include <QFileInfo>
#include <QSettings>

namespace kelvano::ProgramSettings {
namespace {

const QString PageEncodingKey = QStringLiteral("Pages/Encoding");
const QString PageMarkupKey = QStringLiteral("Pages/Markup");

QString filePath(const QString& programFolder) {
    return programFolder + FileName;
}

/// The text stored under `key`; empty when there is none.
QString readText(const QString& programFolder, const QString& key) {
    const QSettings file(filePath(programFolder), QSettings::IniFormat);
    return file.value(key).toString();
}

/// Stores the text under `key` at once; false when the file cannot be written.
bool writeText(const QString& programFolder, const QString& key, const QString& text) {
    QSettings file(filePath(programFolder), QSettings::IniFormat);
    file.setValue(key, text);
    file.sync();
    return file.status() == QSettings::NoError;
}

} // namespace

QString windowState(const QString& programFolder, const QString& key) {
    return readText(programFolder, QStringLiteral("Window/") + key);
}

bool setWindowState(const QString& programFolder, const QString& key, const QString& value) {
    if (windowState(programFolder, key) == value) {
        return true;
    }
    // Never the reason for a program folder to come into being.
    if (!QFileInfo(programFolder).isDir()) {
        return false;
    }
    return writeText(programFolder, QStringLiteral("Window/") + key, value);
}

QString pageEncodingName(PageEncoding encoding) {
    return encoding == PageEncoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Shift_JIS");
}

std::optional<PageEncoding> pageEncodingFromName(QStringView name) {
    for (const PageEncoding encoding : {PageEncoding::ShiftJis, PageEncoding::Utf8}) {
        if (name.compare(pageEncodingName(encoding), Qt::CaseInsensitive) == 0) {
            return encoding;
        }
    }
    return std::nullopt;
}

PageEncoding pageEncoding(const QString& programFolder) {
    return pageEncodingFromName(readText(programFolder, PageEncodingKey)).value_or(PageEncoding::ShiftJis);
}

bool setPageEncoding(const QString& programFolder, PageEncoding encoding) {
    return writeText(programFolder, PageEncodingKey, pageEncodingName(encoding));
}

QString pageMarkupName(PageMarkup markup) {
    return markup == PageMarkup::Html5 ? QStringLiteral("HTML5") : QStringLiteral("Classic");
}

std::optional<PageMarkup> pageMarkupFromName(QStringView name) {
    for (const PageMarkup markup : {PageMarkup::Classic, PageMarkup::Html5}) {
        if (name.compare(pageMarkupName(markup), Qt::CaseInsensitive) == 0) {
            return markup;
        }
    }
    return std::nullopt;
}

PageMarkup pageMarkup(const QString& programFolder) {
    return pageMarkupFromName(readText(programFolder, PageMarkupKey)).value_or(PageMarkup::Classic);
}

bool setPageMarkup(const QString& programFolder, PageMarkup markup) {
    return writeText(programFolder, PageMarkupKey, pageMarkupName(markup));
}

namespace {

const QString ServerGroup = QStringLiteral("Server");

QString protocolName(UploadProtocol protocol) {
    return protocol == UploadProtocol::Ftps ? QStringLiteral("FTPS") : QStringLiteral("SFTP");
}

QString authenticationName(UploadAuthentication authentication) {
    switch (authentication) {
    case UploadAuthentication::KeyFile:
        return QStringLiteral("KeyFile");
    case UploadAuthentication::Agent:
        return QStringLiteral("Agent");
    case UploadAuthentication::Password:
        break;
    }
    return QStringLiteral("Password");
}

} // namespace

ServerSettings serverSettings(const QString& programFolder) {
    QSettings file(filePath(programFolder), QSettings::IniFormat);
    file.beginGroup(ServerGroup);
    ServerSettings server;
    const QString protocol = file.value(QStringLiteral("Protocol")).toString();
    server.protocol = protocol.compare(protocolName(UploadProtocol::Ftps), Qt::CaseInsensitive) == 0
                          ? UploadProtocol::Ftps
                          : UploadProtocol::Sftp;
    server.host = file.value(QStringLiteral("Host")).toString();
    const int port = file.value(QStringLiteral("Port")).toInt();
    server.port = port > 0 && port <= 65535 ? port : 0;
    server.user = file.value(QStringLiteral("User")).toString();
    const QString authentication = file.value(QStringLiteral("Authentication")).toString();
    for (const UploadAuthentication known : {UploadAuthentication::KeyFile, UploadAuthentication::Agent}) {
        // A key or the agent is SFTP's; FTPS always logs in with the password.
        if (server.protocol == UploadProtocol::Sftp &&
            authentication.compare(authenticationName(known), Qt::CaseInsensitive) == 0) {
            server.authentication = known;
        }
    }
    server.keyFile = file.value(QStringLiteral("KeyFile")).toString();
    server.remoteFolder = file.value(QStringLiteral("RemoteFolder")).toString();
    server.savePassword = file.value(QStringLiteral("SavePassword")).toBool();
    return server;
}

bool setServerSettings(const QString& programFolder, const ServerSettings& server) {
    QSettings file(filePath(programFolder), QSettings::IniFormat);
    file.beginGroup(ServerGroup);
    file.setValue(QStringLiteral("Protocol"), protocolName(server.protocol));
    file.setValue(QStringLiteral("Host"), server.host);
    file.setValue(QStringLiteral("Port"), server.port);
    file.setValue(QStringLiteral("User"), server.user);
    file.setValue(QStringLiteral("Authentication"), authenticationName(server.authentication));
    file.setValue(QStringLiteral("KeyFile"), server.keyFile);
    file.setValue(QStringLiteral("RemoteFolder"), server.remoteFolder);
    file.setValue(QStringLiteral("SavePassword"), server.savePassword);
    file.endGroup();
    file.sync();
    return file.status() == QSettings::NoError;
}

QList<UnknownValue> unknownValues(const QString& programFolder) {
    QList<UnknownValue> told;
    const QString encoding = readText(programFolder, PageEncodingKey);
    if (!encoding.isEmpty() && !pageEncodingFromName(encoding)) {
        told.append({PageEncodingKey, encoding, pageEncodingName(PageEncoding::ShiftJis)});
    }
    const QString markup = readText(programFolder, PageMarkupKey);
    if (!markup.isEmpty() && !pageMarkupFromName(markup)) {
        told.append({PageMarkupKey, markup, pageMarkupName(PageMarkup::Classic)});
    }
    return told;
}

} // namespace kelvano::ProgramSettings
