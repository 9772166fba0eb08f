#pragma once

#include "core/store/server_settings.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <optional>

namespace kelvano {

/// What a file on the server is to the program: a page of the HTML folder, or a picture or background
/// of the image folder.
enum class UploadFileKind { Page, Picture };

/// What the program knows of one file it sent: its kind, and its size and SHA-256 when it was sent.
struct SentFile {
    UploadFileKind kind = UploadFileKind::Page;
    qint64 size = 0;
    /// 64 lower-case hexadecimal digits.
    QByteArray sha256;

    bool operator==(const SentFile&) const = default;
};

/// The manifest of one server: every file the program sent there and not removed since, by its path
/// under the server's HTML folder. It is a UTF-8 text file in the program folder, a journal that
/// grows by one line for each file that arrived or was removed, so that an interrupted run leaves it
/// telling the truth:
///
///     # Kelvano upload manifest 1
///     # sftp://user@host:22/public_html/
///     sent<TAB>page|picture<TAB>size<TAB>sha256<TAB>path
///     removed<TAB>path
///
/// A later line about a path replaces what earlier lines said; a last line without its line end (a
/// write cut short) and lines of other forms are skipped. When most lines are outdated, opening it
/// rewrites it whole with one `sent` line per file.
class UploadManifest {
public:
    /// SENT-<16 hexadecimal digits>.TXT in the program folder, one per protocol, account, host, port
    /// and remote folder.
    static QString pathFor(const QString& programFolder, const ServerSettings& server);
    /// The second line of the file: which server it describes (never a password).
    static QString serverLabel(const ServerSettings& server);

    UploadManifest(QString path, QString serverLabel);

    /// Reads the file; a missing file is an empty manifest. An IoError when it cannot be read or rewritten.
    void open();

    const QMap<QString, SentFile>& files() const { return m_files; }
    std::optional<SentFile> find(const QString& path) const;

    /// Appends the line and hands it to the system before returning (a crash of the program loses
    /// nothing; a power failure at worst sends the last files again); an IoError when it cannot.
    void recordSent(const QString& path, const SentFile& file);
    void recordRemoved(const QString& path);

private:
    void append(const QByteArray& line);
    void rewrite();
    QByteArray header() const;

    QString m_path;
    QString m_serverLabel;
    QMap<QString, SentFile> m_files;
};

} // namespace kelvano
