#include "core/publish/upload_run.h"

namespace kelvano {

UploadSummary runUpload(RemoteSession& session, UploadManifest& manifest, const QList<PlannedFile>& plan,
                        UploadProgress* progress) {
    UploadSummary summary;
    const int count = countToSend(plan);
    summary.unchanged = static_cast<int>(plan.size()) - count;
    // Stopped before the first file (while the files were read for their digests, say): a run that
    // sent nothing because it was stopped is not a finished run, whatever the plan holds.
    if (progress != nullptr && !progress->goOn()) {
        summary.ended = RemoteFailure{RemoteFailure::Kind::Cancelled, {}, {}, {}};
        summary.notTried = count;
        return summary;
    }
    int index = 0;
    for (const PlannedFile& planned : plan) {
        if (planned.reason == UploadReason::Unchanged) {
            continue;
        }
        if (summary.ended) {
            ++summary.notTried;
            continue;
        }
        if (progress != nullptr) {
            if (!progress->goOn()) {
                summary.ended = RemoteFailure{RemoteFailure::Kind::Cancelled, {}, {}, {}};
                ++summary.notTried;
                continue;
            }
            progress->fileStarting(index, count, planned.file.remotePath, planned.now.size);
        }
        ++index;
        const std::optional<RemoteFailure> failure = session.send(
            planned.file.localPath, planned.file.remotePath, [progress](qint64 sent, qint64 total) {
                if (progress == nullptr) {
                    return true;
                }
                progress->bytesSent(sent, total);
                return progress->goOn();
            });
        if (!failure) {
            manifest.recordSent(planned.file.remotePath, planned.now);
            ++summary.sent;
        } else if (failure->endsSession()) {
            summary.failures.append({planned.file.remotePath, *failure});
            summary.ended = failure;
        } else {
            summary.failures.append({planned.file.remotePath, *failure});
        }
    }
    return summary;
}

RemovalSummary removeFromServer(RemoteSession& session, UploadManifest& manifest, const QStringList& paths) {
    RemovalSummary summary;
    for (const QString& path : paths) {
        if (const std::optional<RemoteFailure> failure = session.remove(path)) {
            summary.failure = UploadFailure{path, *failure};
            break;
        }
        manifest.recordRemoved(path);
        summary.removed.append(path);
    }
    return summary;
}

} // namespace kelvano
