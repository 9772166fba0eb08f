#include "gui/main/background_session.h"

#include "gui/base/messages.h"
#include "gui/base/user_dialogs.h"
#include "gui/main/upload_password.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace kelvano {
namespace {

/// What the helper thread tells the window's thread, and the answers it waits for.
class SharedState : public TrustQuestions, public UploadProgress {
public:
    struct Question {
        bool certificate = false;
        QString server;
        QString fingerprint;
        QString reason;
    };

    std::atomic<bool> cancelled = false;
    std::atomic<bool> done = false;

    bool trustHostKey(const QString& server, const QString& fingerprint) override {
        return ask({false, server, fingerprint, {}});
    }
    bool trustCertificate(const QString& server, const QString& fingerprint, const QString& reason) override {
        return ask({true, server, fingerprint, reason});
    }
    void fileStarting(int index, int count, const QString& remotePath, qint64 size) override {
        const std::lock_guard lock(m_mutex);
        m_index = index;
        m_count = count;
        m_path = remotePath;
        m_size = size;
        m_sent = 0;
    }
    void bytesSent(qint64 sent, qint64) override {
        const std::lock_guard lock(m_mutex);
        m_sent = sent;
    }
    bool goOn() override { return !cancelled; }

    /// On the window's thread: brings the dialog up to date and answers a waiting question.
    void serve(QWidget* owner, QProgressDialog& dialog) {
        std::optional<Question> question;
        {
            const std::lock_guard lock(m_mutex);
            if (m_count > 0) {
                dialog.setRange(0, m_count);
                dialog.setValue(m_index);
                dialog.setLabelText(Messages::UploadFileStarting.arg(m_index + 1)
                                        .arg(m_count)
                                        .arg(m_path)
                                        .arg(QStringLiteral("%1/%2").arg(m_sent).arg(m_size)));
            }
            question = m_question;
        }
        if (question && !m_answer) {
            const QString text =
                question->certificate
                    ? Messages::UploadTrustCertificate.arg(question->server, question->fingerprint,
                                                           question->reason)
                    : Messages::UploadTrustHostKey.arg(question->server, question->fingerprint);
            const bool yes = UserDialogs::askYesNo(owner, MessageIcon::Warning, text, Answer::No);
            const std::lock_guard lock(m_mutex);
            m_answer = yes;
            m_answered.notify_all();
        }
    }

    void stopWaiting() {
        const std::lock_guard lock(m_mutex);
        m_answered.notify_all();
    }

private:
    bool ask(const Question& question) {
        std::unique_lock lock(m_mutex);
        m_question = question;
        m_answer.reset();
        m_answered.wait(lock, [this] { return m_answer.has_value() || cancelled; });
        const bool yes = m_answer.value_or(false) && !cancelled;
        m_question.reset();
        m_answer.reset();
        return yes;
    }

    std::mutex m_mutex;
    std::condition_variable m_answered;
    std::optional<Question> m_question;
    std::optional<bool> m_answer;
    int m_index = 0;
    int m_count = 0;
    QString m_path;
    qint64 m_size = 0;
    qint64 m_sent = 0;
};

} // namespace

BackgroundSession::BackgroundSession(QWidget* owner, ServerSettings server, QString password,
                                     QString programFolder)
    : m_owner(owner), m_server(std::move(server)), m_password(std::move(password)),
      m_programFolder(std::move(programFolder)) {}

void BackgroundSession::run(const QString& title, const Work& work) {
    SharedState state;
    QProgressDialog dialog(m_owner);
    dialog.setObjectName(QStringLiteral("UploadProgress"));
    dialog.setWindowTitle(Messages::Caption);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setCancelButtonText(QStringLiteral("中止"));
    dialog.setLabelText(title);
    dialog.setRange(0, 0);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    dialog.setMinimumDuration(0);
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&state] {
        state.cancelled = true;
        state.stopWaiting();
    });
    dialog.show();

    std::thread helper([&] {
        RemoteSession session(m_server, m_password, m_programFolder, state);
        work(session, state);
        state.done = true;
    });
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (state.done) {
            loop.quit();
            return;
        }
        poll.stop(); // a question's box runs its own loop: no second question meanwhile
        state.serve(m_owner, dialog);
        poll.start();
    });
    poll.start(50);
    loop.exec();
    helper.join();
    dialog.hide();
}

std::optional<RemoteFailure> BackgroundSession::runConnected(const QString& title, const Work& work,
                                                             QStringList* names) {
    std::optional<RemoteFailure> failure;
    run(title, [&](RemoteSession& session, UploadProgress& progress) {
        QStringList listed;
        failure = session.connect(listed, [&progress] { return progress.goOn(); });
        if (names != nullptr) {
            *names = listed;
        }
        if (!failure) {
            work(session, progress);
        }
    });
    return failure;
}

void BackgroundSession::showFailure(const RemoteFailure& failure) const {
    if (failure.kind == RemoteFailure::Kind::LoginRefused) {
        UploadPassword::forget(m_server);
    }
    UserDialogs::show(m_owner, MessageIcon::Error,
                      Messages::remoteFailureText(failure, serverName(), m_programFolder));
}

QString BackgroundSession::serverName() const {
    return m_server.host + QLatin1Char(':') + QString::number(m_server.portInUse());
}

} // namespace kelvano
