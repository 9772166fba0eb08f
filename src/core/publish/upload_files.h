#pragma once

#include "core/publish/upload_manifest.h"
#include "core/store/settings_record.h"

#include <QList>
#include <QString>
#include <optional>

namespace kelvano {

/// A file to be on the server: where it is here, and its path under the server's HTML folder ("price.html",
/// "grph/apple.jpg").
struct LocalFile {
    UploadFileKind kind = UploadFileKind::Page;
    QString localPath;
    QString remotePath;

    bool operator==(const LocalFile&) const = default;
};

/// A ticked table whose page is not in the HTML folder: it is told, never written unasked.
struct UnwrittenPage {
    int number = 0;
    QString title;
    QString pagePath;
};

/// A picture or background a table uses that is not in the image folder.
struct MissingPicture {
    int number = 0;
    QString title;
    QString name;
};

/// What the pages of some tables need on the server.
struct UploadFiles {
    /// Pages in the order of the tables, then each picture once, in the order first used.
    QList<LocalFile> files;
    QList<UnwrittenPage> unwrittenPages;
    QList<MissingPicture> missingPictures;
    /// The server image path is absolute, leaves the HTML folder ("..") or holds a ":" (an address):
    /// the pictures' place on the server is not under the HTML folder, so they are not sent.
    bool imagePathUnusable = false;
};

/// The pages of the definitions given (as written in the HTML folder) and every picture and background
/// their tables' cells use (from the image folder, to the server image path under the server's HTML
/// folder). Deleted or missing definitions are skipped; nullopt when TABLE.DAT cannot be opened.
std::optional<UploadFiles> gatherUploadFiles(const SettingsRecord& settings, const QString& programFolder,
                                             const QList<int>& definitionNumbers);

/// The server image path as a folder under the server's HTML folder ("" or "grph/"); nullopt when
/// it does not lead to one.
std::optional<QString> remoteImageFolder(const SettingsRecord& settings);

/// Where the file a manifest line names is here: in the HTML folder for a page, in the image folder
/// for a picture.
QString localPathOf(const SettingsRecord& settings, const QString& remotePath, UploadFileKind kind);

} // namespace kelvano
