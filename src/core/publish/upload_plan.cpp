#include "core/publish/upload_plan.h"

#include "core/store/io_error.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace kelvano {

SentFile describeLocalFile(const QString& path, UploadFileKind kind) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw IoError::fromFile(file);
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file) || file.error() != QFileDevice::NoError) {
        throw IoError::fromFile(file);
    }
    return {kind, file.size(), hash.result().toHex()};
}

QList<PlannedFile> planUpload(const QList<LocalFile>& files, const UploadManifest& manifest) {
    QList<PlannedFile> plan;
    plan.reserve(files.size());
    for (const LocalFile& file : files) {
        PlannedFile planned{file, describeLocalFile(file.localPath, file.kind), UploadReason::New};
        if (const std::optional<SentFile> sent = manifest.find(file.remotePath)) {
            planned.reason = sent->size == planned.now.size && sent->sha256 == planned.now.sha256
                                 ? UploadReason::Unchanged
                                 : UploadReason::Changed;
        }
        plan.append(planned);
    }
    return plan;
}

int countToSend(const QList<PlannedFile>& plan) {
    return static_cast<int>(std::count_if(plan.begin(), plan.end(), [](const PlannedFile& planned) {
        return planned.reason != UploadReason::Unchanged;
    }));
}

QStringList filesGoneHere(const UploadManifest& manifest, const SettingsRecord& settings) {
    QStringList gone;
    for (auto entry = manifest.files().constBegin(); entry != manifest.files().constEnd(); ++entry) {
        if (!QFileInfo::exists(localPathOf(settings, entry.key(), entry.value().kind))) {
            gone.append(entry.key());
        }
    }
    return gone;
}

} // namespace kelvano
