#include "gui/main/upload_sender.h"

#include "core/publish/upload_files.h"
#include "core/publish/upload_run.h"
#include "core/store/io_error.h"
#include "core/store/program_settings.h"
#include "gui/base/messages.h"
#include "gui/base/user_dialogs.h"
#include "gui/main/background_session.h"
#include "gui/main/upload_password.h"

namespace kelvano {
namespace {

/// A message box stays on the screen: a long list is cut, saying how much is left out.
QString shortList(QStringList lines) {
    constexpr int Shown = 20;
    if (lines.size() > Shown) {
        const qsizetype left = lines.size() - Shown;
        lines = lines.first(Shown);
        lines.append(Messages::CheckMoreFindings.arg(left));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

void sendToServer(QWidget* owner, const QString& programFolder, const SettingsRecord& folders,
                  const QList<int>& definitionNumbers) {
    const ServerSettings server = ProgramSettings::serverSettings(programFolder);
    if (!server.isComplete()) {
        UserDialogs::show(owner, MessageIcon::Error, Messages::UploadNoServer);
        return;
    }
    const std::optional<UploadFiles> files = gatherUploadFiles(folders, programFolder, definitionNumbers);
    if (!files) {
        UserDialogs::show(owner, MessageIcon::Error, Messages::NoData);
        return;
    }
    QStringList untold;
    for (const UnwrittenPage& page : files->unwrittenPages) {
        untold.append(
            Messages::UploadPageNotWritten.arg(Messages::tableLabel(page.number, page.title), page.pagePath));
    }
    for (const MissingPicture& picture : files->missingPictures) {
        untold.append(Messages::UploadPictureMissing.arg(Messages::tableLabel(picture.number, picture.title),
                                                         picture.name));
    }
    if (files->imagePathUnusable) {
        untold.append(Messages::UploadImagePathUnusable);
    }
    if (!untold.isEmpty()) {
        UserDialogs::show(owner, MessageIcon::Error, shortList(untold));
    }
    UploadManifest manifest(UploadManifest::pathFor(programFolder, server),
                            UploadManifest::serverLabel(server));
    manifest.open();
    const std::optional<QString> password = UploadPassword::obtain(owner, server);
    if (!password) {
        return;
    }
    UploadSummary summary;
    std::optional<IoError> unreadable;
    BackgroundSession background(owner, server, *password, programFolder);
    const std::optional<RemoteFailure> failure = background.runConnected(
        Messages::UploadSending, [&](RemoteSession& session, UploadProgress& progress) {
            // Reading every file for its digest takes a while for large pictures: here, not on the
            // window's thread.
            try {
                const QList<PlannedFile> plan =
                    planUpload(files->files, manifest, [&progress] { return progress.goOn(); });
                // Stopped while reading: runUpload asks first and sends nothing.
                summary = runUpload(session, manifest, plan, &progress);
            } catch (const IoError& error) {
                unreadable = error;
            }
        });
    if (unreadable) {
        UserDialogs::showIoError(owner, *unreadable);
        return;
    }
    if (failure) {
        background.showFailure(*failure);
        return;
    }
    const QString serverName = background.serverName();
    QStringList lines{Messages::UploadFinished.arg(summary.sent).arg(summary.unchanged)};
    for (const UploadFailure& failed : summary.failures) {
        lines.append(Messages::UploadFileFailed.arg(
            failed.remotePath, Messages::remoteFailureText(failed.failure, serverName, programFolder)));
    }
    // Stopped between files: no file tells it.
    if (summary.ended &&
        (summary.failures.isEmpty() || summary.failures.last().failure.kind != summary.ended->kind)) {
        lines.append(Messages::remoteFailureText(*summary.ended, serverName, programFolder));
    }
    if (summary.notTried > 0) {
        lines.append(Messages::UploadNotTried.arg(summary.notTried));
    }
    UserDialogs::show(owner, summary.succeeded() ? MessageIcon::Information : MessageIcon::Error,
                      shortList(lines));
}

} // namespace kelvano
