#pragma once

#include "core/publish/remote_session.h"
#include "core/publish/upload_run.h"

#include <QString>
#include <functional>

class QWidget;

namespace kelvano {

/// Runs work with the server on a thread of its own while the window stays responsive: a progress
/// dialog (file n of m, its name and bytes) whose "中止" stops the work within a second, and the trust
/// questions of the connection asked on the window's thread through the dialog seam (default: no).
class BackgroundSession {
public:
    /// The work: given a session and where to tell its progress; it runs on the helper thread.
    using Work = std::function<void(RemoteSession& session, UploadProgress& progress)>;

    BackgroundSession(QWidget* owner, ServerSettings server, QString password, QString programFolder);

    /// Runs the work and returns once it has ended; the helper thread has ended too.
    void run(const QString& title, const Work& work);
    /// Connects (listing the server's HTML folder into `names`), then runs the work; the connection's
    /// failure, if any, in which case the work did not run.
    std::optional<RemoteFailure> runConnected(const QString& title, const Work& work,
                                              QStringList* names = nullptr);
    /// Shows the failure's text; a refused login also forgets the password held for the server.
    void showFailure(const RemoteFailure& failure) const;
    /// "host:port".
    QString serverName() const;

private:
    QWidget* m_owner;
    ServerSettings m_server;
    QString m_password;
    QString m_programFolder;
};

} // namespace kelvano
