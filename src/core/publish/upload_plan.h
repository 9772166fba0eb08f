#pragma once

#include "core/publish/upload_files.h"
#include "core/publish/upload_manifest.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace kelvano {

/// Why a file is sent, or not.
enum class UploadReason {
    New,       ///< the manifest does not list it: never sent, or sent by someone else
    Changed,   ///< its size or SHA-256 differs from when it was sent
    Unchanged, ///< the server has these bytes already
};

/// One file of a run: what it is now and why it goes or stays.
struct PlannedFile {
    LocalFile file;
    SentFile now;
    UploadReason reason = UploadReason::New;
};

/// The size and SHA-256 of a file here, read a megabyte at a time; nullopt when `goOn` (asked between
/// the megabytes) said stop. An IoError when it cannot be read.
std::optional<SentFile> describeLocalFile(const QString& path, UploadFileKind kind,
                                          const std::function<bool()>& goOn = {});

/// Each file with the reason it is or is not sent, in the order given; when `goOn` says stop, the
/// files planned so far. An IoError when a file cannot be read.
QList<PlannedFile> planUpload(const QList<LocalFile>& files, const UploadManifest& manifest,
                              const std::function<bool()>& goOn = {});

/// How many of the planned files go.
int countToSend(const QList<PlannedFile>& plan);

/// The files the manifest lists as sent whose file here is gone (a page or picture removed from its
/// folder): what "remove from the server" may remove, and nothing else.
QStringList filesGoneHere(const UploadManifest& manifest, const SettingsRecord& settings);

} // namespace kelvano
