#pragma once

#include "core/publish/remote_session.h"
#include "core/publish/upload_manifest.h"
#include "core/publish/upload_plan.h"

#include <QList>
#include <QString>
#include <optional>

namespace kelvano {

/// Follows a run as it goes and may stop it; called on the thread that runs it.
class UploadProgress {
public:
    virtual ~UploadProgress() = default;
    /// File `index` (from 0) of `count` is about to go.
    virtual void fileStarting(int index, int count, const QString& remotePath, qint64 size) = 0;
    /// Bytes of the current file so far.
    virtual void bytesSent(qint64 sent, qint64 total) = 0;
    /// Asked often (at least once a second while a transfer runs); false stops the run.
    virtual bool goOn() = 0;
};

/// A file the server did not take: its path, the server's reason. The file on the server, if any, is
/// as it was before.
struct UploadFailure {
    QString remotePath;
    RemoteFailure failure;
};

/// What a run did.
struct UploadSummary {
    int sent = 0;
    int unchanged = 0;
    /// Files that did not arrive, and when the session ended early, why (the rest were not tried).
    QList<UploadFailure> failures;
    std::optional<RemoteFailure> ended;
    int notTried = 0;

    bool succeeded() const { return failures.isEmpty() && !ended; }
};

/// Sends the files of the plan that are new or changed, one after the other over one session, and
/// notes each that arrived in the manifest at once. A refused file is told and the run goes on; a
/// broken connection, a refused login or the user's stop end it. The session must be connected.
UploadSummary runUpload(RemoteSession& session, UploadManifest& manifest, const QList<PlannedFile>& plan,
                        UploadProgress* progress);

/// What removing files did: the ones removed, and the first failure, which ends it.
struct RemovalSummary {
    QStringList removed;
    std::optional<UploadFailure> failure;
};

/// Removes the files given (filesGoneHere) from the server and from the manifest, one by one.
RemovalSummary removeFromServer(RemoteSession& session, UploadManifest& manifest, const QStringList& paths);

} // namespace kelvano
