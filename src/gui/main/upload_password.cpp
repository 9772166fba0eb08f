#include "gui/main/upload_password.h"

#include "core/publish/password_keyring.h"
#include "core/publish/upload_manifest.h"
#include "gui/base/messages.h"

#include <QHash>
#include <QInputDialog>
#include <QLineEdit>

namespace kelvano::UploadPassword {
namespace {

QHash<QString, QString>& passwords() {
    static QHash<QString, QString> held;
    return held;
}

} // namespace

std::optional<QString> remembered(const ServerSettings& server) {
    const auto found = passwords().constFind(UploadManifest::serverLabel(server));
    return found != passwords().constEnd() ? std::optional(*found) : std::nullopt;
}

void remember(const ServerSettings& server, const QString& password) {
    passwords().insert(UploadManifest::serverLabel(server), password);
}

void forget(const ServerSettings& server) {
    passwords().remove(UploadManifest::serverLabel(server));
}

std::optional<QString> obtain(QWidget* owner, const ServerSettings& server) {
    if (server.authentication == UploadAuthentication::Agent) {
        return QString();
    }
    if (const std::optional<QString> known = remembered(server)) {
        return known;
    }
    if (server.savePassword) {
        if (const std::optional<QString> kept = PasswordKeyring::read(server)) {
            remember(server, *kept);
            return kept;
        }
    }
    bool accepted = false;
    const QString password = QInputDialog::getText(
        owner, Messages::Caption,
        Messages::UploadPasswordPrompt.arg(server.user + QLatin1Char('@') + server.host), QLineEdit::Password,
        QString(), &accepted);
    if (!accepted) {
        return std::nullopt;
    }
    remember(server, password);
    if (server.savePassword) {
        PasswordKeyring::store(server, password);
    }
    return password;
}

} // namespace kelvano::UploadPassword
