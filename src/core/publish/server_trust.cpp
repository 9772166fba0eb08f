#include "core/publish/server_trust.h"

#include "core/store/save_file.h"

#include <QCryptographicHash>
#include <QFile>
#include <openssl/pem.h>
#include <openssl/x509.h>

namespace kelvano::ServerTrust {
namespace {

const QByteArray PinPrefix = "sha256//";

QByteArray readPins(const QString& programFolder) {
    QFile file(pinnedCertificatesPath(programFolder));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QString knownHostsPath(const QString& programFolder) {
    return programFolder + QStringLiteral("KNOWN_HOSTS");
}

QString pinnedCertificatesPath(const QString& programFolder) {
    return programFolder + QStringLiteral("PINNED_CERTIFICATES.TXT");
}

QString fingerprintOf(QByteArrayView blob) {
    const QByteArray digest = QCryptographicHash::hash(blob, QCryptographicHash::Sha256);
    return QStringLiteral("SHA256:") + QString::fromLatin1(digest.toBase64(QByteArray::OmitTrailingEquals));
}

QString fingerprintOfPin(const QByteArray& pin) {
    if (!pin.startsWith(PinPrefix)) {
        return QString();
    }
    QByteArray digits = pin.mid(PinPrefix.size());
    while (digits.endsWith('=')) {
        digits.chop(1);
    }
    return QStringLiteral("SHA256:") + QString::fromLatin1(digits);
}

QByteArray pinOfCertificate(const QByteArray& pem) {
    BIO* bio = BIO_new_mem_buf(pem.constData(), static_cast<int>(pem.size()));
    if (bio == nullptr) {
        return {};
    }
    X509* certificate = PEM_read_bio_X509(bio, nullptr, nullptr, nullptr);
    BIO_free(bio);
    if (certificate == nullptr) {
        return {};
    }
    unsigned char* der = nullptr;
    const int length = i2d_X509_PUBKEY(X509_get_X509_PUBKEY(certificate), &der);
    QByteArray pin;
    if (length > 0) {
        const QByteArray key(reinterpret_cast<const char*>(der), length);
        pin = PinPrefix + QCryptographicHash::hash(key, QCryptographicHash::Sha256).toBase64();
    }
    OPENSSL_free(der);
    X509_free(certificate);
    return pin;
}

std::optional<QByteArray> pinnedCertificate(const QString& programFolder, const QString& server) {
    const QByteArray key = server.toUtf8() + '\t';
    for (const QByteArray& line : readPins(programFolder).split('\n')) {
        if (line.startsWith(key) && line.mid(key.size()).startsWith(PinPrefix)) {
            return line.mid(key.size()).trimmed();
        }
    }
    return std::nullopt;
}

void pinCertificate(const QString& programFolder, const QString& server, const QByteArray& pin) {
    const QByteArray key = server.toUtf8() + '\t';
    QByteArray kept;
    for (const QByteArray& line : readPins(programFolder).split('\n')) {
        if (!line.isEmpty() && !line.startsWith(key)) {
            kept += line + '\n';
        }
    }
    replaceWholeFile(pinnedCertificatesPath(programFolder), kept + key + pin + '\n');
}

} // namespace kelvano::ServerTrust
