#include "core/publish/upload_manifest.h"

#include "core/store/io_error.h"
#include "core/store/save_file.h"

#include <QCryptographicHash>
#include <QFile>

namespace kelvano {
namespace {

const QByteArray FirstLine = "# Kelvano upload manifest 1";
const QByteArray SentWord = "sent";
const QByteArray RemovedWord = "removed";

QByteArray kindWord(UploadFileKind kind) {
    return kind == UploadFileKind::Picture ? "picture" : "page";
}

bool isDigest(const QByteArray& text) {
    if (text.size() != 64) {
        return false;
    }
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

QByteArray sentLine(const QString& path, const SentFile& file) {
    return SentWord + '\t' + kindWord(file.kind) + '\t' + QByteArray::number(file.size) + '\t' + file.sha256 +
           '\t' + path.toUtf8() + '\n';
}

} // namespace

QString UploadManifest::serverLabel(const ServerSettings& server) {
    const QString scheme =
        server.protocol == UploadProtocol::Ftps ? QStringLiteral("ftps") : QStringLiteral("sftp");
    return scheme + QStringLiteral("://") + server.user + QLatin1Char('@') + server.host + QLatin1Char(':') +
           QString::number(server.portInUse()) + QLatin1Char('/') + server.remoteFolder;
}

QString UploadManifest::pathFor(const QString& programFolder, const ServerSettings& server) {
    const QByteArray digest =
        QCryptographicHash::hash(serverLabel(server).toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return programFolder + QStringLiteral("SENT-") + QString::fromLatin1(digest).toUpper() +
           QStringLiteral(".TXT");
}

UploadManifest::UploadManifest(QString path, QString serverLabel)
    : m_path(std::move(path)), m_serverLabel(std::move(serverLabel)) {}

QByteArray UploadManifest::header() const {
    return FirstLine + '\n' + "# " + m_serverLabel.toUtf8() + '\n';
}

void UploadManifest::open() {
    m_files.clear();
    QFile file(m_path);
    if (!file.exists()) {
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw IoError::fromFile(file);
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw IoError::fromFile(file);
    }
    file.close();
    qsizetype lines = 0;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', at);
        if (end < 0) {
            break; // cut short: the file it tells of may not have arrived
        }
        const QList<QByteArray> fields = bytes.mid(at, end - at).split('\t');
        at = end + 1;
        ++lines;
        if (fields.size() == 5 && fields.at(0) == SentWord && isDigest(fields.at(3))) {
            bool sizeRead = false;
            const qint64 size = fields.at(2).toLongLong(&sizeRead);
            const bool picture = fields.at(1) == kindWord(UploadFileKind::Picture);
            if (sizeRead && size >= 0 && (picture || fields.at(1) == kindWord(UploadFileKind::Page))) {
                m_files.insert(
                    QString::fromUtf8(fields.at(4)),
                    {picture ? UploadFileKind::Picture : UploadFileKind::Page, size, fields.at(3)});
            }
        } else if (fields.size() == 2 && fields.at(0) == RemovedWord) {
            m_files.remove(QString::fromUtf8(fields.at(1)));
        }
    }
    const qsizetype needed = m_files.size() + 2;
    if (at < bytes.size() || (lines > 64 && lines > 2 * needed)) {
        rewrite();
    }
}

std::optional<SentFile> UploadManifest::find(const QString& path) const {
    const auto found = m_files.constFind(path);
    return found != m_files.constEnd() ? std::optional(*found) : std::nullopt;
}

void UploadManifest::recordSent(const QString& path, const SentFile& file) {
    append(sentLine(path, file));
    m_files.insert(path, file);
}

void UploadManifest::recordRemoved(const QString& path) {
    append(RemovedWord + '\t' + path.toUtf8() + '\n');
    m_files.remove(path);
}

void UploadManifest::append(const QByteArray& line) {
    QFile file(m_path);
    const bool fresh = !file.exists();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        throw IoError::fromFile(file);
    }
    // Handed to the system, not synced: a line lost with the machine's power only sends its file again.
    const QByteArray bytes = fresh ? header() + line : line;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        throw IoError::fromFile(file);
    }
}

void UploadManifest::rewrite() {
    QByteArray bytes = header();
    for (auto entry = m_files.constBegin(); entry != m_files.constEnd(); ++entry) {
        bytes += sentLine(entry.key(), entry.value());
    }
    replaceWholeFile(m_path, bytes);
}

} // namespace kelvano
