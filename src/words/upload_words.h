#pragma once

#include "core/publish/remote_session.h"

#include <QString>

// The words of sending pages to the web server, shared by the data page's button and kelvano-publish
// --upload. Each text is defined once, in upload_words.cpp.

namespace kelvano::Messages {

/// %1 the sent files, %2 the unchanged ones.
extern const QString UploadFinished;
/// %1 the table (tableLabel), %2 the page's path.
extern const QString UploadPageNotWritten;
/// %1 the table (tableLabel), %2 the picture's name.
extern const QString UploadPictureMissing;
extern const QString UploadImagePathUnusable;
/// %1 the file under the HTML folder, %2 the server's reason.
extern const QString UploadFileFailed;
/// %1 n, %2 m, %3 the file, %4 its size in bytes.
extern const QString UploadFileStarting;
extern const QString UploadNoServer;
extern const QString UploadPasswordPrompt;
/// %1 the server, %2 the fingerprint.
extern const QString UploadTrustHostKey;
/// %1 the server, %2 the fingerprint, %3 why it does not verify.
extern const QString UploadTrustCertificate;
/// %1 how many files were not tried.
extern const QString UploadNotTried;
/// %1 the file.
extern const QString UploadWouldRemove;
extern const QString UploadRemoveQuestion;
/// %1 how many were removed.
extern const QString UploadRemoved;
extern const QString UploadNothingToRemove;
/// %1 the file under the HTML folder, %2 the server's reason.
extern const QString UploadRemoveFailed;

/// The text that tells a failure, for the session with `serverName` ("host:port") whose trust files
/// are in `programFolder`.
QString remoteFailureText(const RemoteFailure& failure, const QString& serverName,
                          const QString& programFolder);

} // namespace kelvano::Messages
