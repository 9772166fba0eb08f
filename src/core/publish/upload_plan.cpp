#include "core/publish/upload_plan.h"

#include "core/store/io_error.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace kelvano {

std::optional<SentFile> describeLocalFile(const QString& path, UploadFileKind kind,
                                          const std::function<bool()>& goOn) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw IoError::fromFile(file);
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    qint64 size = 0;
    for (;;) {
        if (goOn && !goOn()) {
            return std::nullopt;
        }
        const qint64 read = file.read(chunk.data(), chunk.size());
        if (read < 0) {
            throw IoError::fromFile(file);
        }
        if (read == 0) {
            break;
        }
        hash.addData(QByteArrayView(chunk.constData(), read));
        size += read;
    }
    return SentFile{kind, size, hash.result().toHex()};
}

QList<PlannedFile> planUpload(const QList<LocalFile>& files, const UploadManifest& manifest,
                              const std::function<bool()>& goOn) {
    QList<PlannedFile> plan;
    plan.reserve(files.size());
    for (const LocalFile& file : files) {
        const std::optional<SentFile> now = describeLocalFile(file.localPath, file.kind, goOn);
        if (!now) {
            break;
        }
        PlannedFile planned{file, *now, UploadReason::New};
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
