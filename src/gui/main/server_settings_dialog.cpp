#include "gui/main/server_settings_dialog.h"

#include "core/publish/password_keyring.h"
#include "core/publish/upload_manifest.h"
#include "core/publish/upload_run.h"
#include "core/store/program_settings.h"
#include "gui/base/form_layout.h"
#include "gui/base/messages.h"
#include "gui/base/user_dialogs.h"
#include "gui/main/background_session.h"
#include "gui/main/upload_password.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace kelvano {

ServerSettingsDialog::ServerSettingsDialog(const QString& programFolder, const SettingsRecord& folders,
                                           QWidget* parent)
    : QDialog(parent), m_programFolder(programFolder), m_folders(folders) {
    setObjectName(QStringLiteral("ServerSettingsDialog"));
    setWindowTitle(QStringLiteral("サーバー設定"));
    FormLayout::setFormFont(this);
    auto* form = new QFormLayout;
    const auto named = [](auto* widget, const char* name) {
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    };
    ComboBox1 = named(new QComboBox(this), "ComboBox1");
    ComboBox1->addItems({QStringLiteral("SFTP"), QStringLiteral("FTPS (明示的TLS)")});
    Edit1 = named(new QLineEdit(this), "Edit1");
    SpinEdit1 = named(new QSpinBox(this), "SpinEdit1");
    SpinEdit1->setRange(1, 65535);
    Edit2 = named(new QLineEdit(this), "Edit2");
    ComboBox2 = named(new QComboBox(this), "ComboBox2");
    ComboBox2->addItems(
        {QStringLiteral("パスワード"), QStringLiteral("鍵ファイル"), QStringLiteral("ssh-agent")});
    Edit3 = named(new QLineEdit(this), "Edit3");
    Edit4 = named(new QLineEdit(this), "Edit4");
    Edit4->setEchoMode(QLineEdit::Password);
    CheckBox1 = named(new QCheckBox(QStringLiteral("パスワードを保存する"), this), "CheckBox1");
    // Without a keyring the password is held for this run only.
    CheckBox1->setEnabled(PasswordKeyring::isAvailable());
    Edit5 = named(new QLineEdit(this), "Edit5");
    form->addRow(QStringLiteral("接続方法"), ComboBox1);
    form->addRow(QStringLiteral("ホスト"), Edit1);
    form->addRow(QStringLiteral("ポート"), SpinEdit1);
    form->addRow(QStringLiteral("ユーザー名"), Edit2);
    form->addRow(QStringLiteral("認証"), ComboBox2);
    form->addRow(QStringLiteral("鍵ファイル"), Edit3);
    form->addRow(QStringLiteral("パスワード"), Edit4);
    form->addRow(QString(), CheckBox1);
    form->addRow(QStringLiteral("サーバーのHTMLフォルダ"), Edit5);
    Button1 = named(new QPushButton(QStringLiteral("接続テスト"), this), "Button1");
    Button2 = named(new QPushButton(QStringLiteral("サーバーから不要なファイルを削除"), this), "Button2");
    auto* tools = new QHBoxLayout;
    tools->addWidget(Button1);
    tools->addWidget(Button2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BitBtn1"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BitBtn2"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(tools);
    layout->addWidget(buttons);
    Edit1->setMinimumWidth(260);
    connect(buttons, &QDialogButtonBox::accepted, this, &ServerSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(Button1, &QPushButton::clicked, this,
            [this] { UserDialogs::guarded(this, [this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this,
            [this] { UserDialogs::guarded(this, [this] { Button2Click(); }); });
    showSettings(ProgramSettings::serverSettings(programFolder));
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &ServerSettingsDialog::protocolChanged);
    connect(ComboBox2, &QComboBox::currentIndexChanged, this, [this] {
        Edit3->setEnabled(ComboBox2->currentIndex() == 1);
        Edit4->setEnabled(ComboBox2->currentIndex() != 2);
    });
}

void ServerSettingsDialog::showSettings(const ServerSettings& server) {
    ComboBox1->setCurrentIndex(server.protocol == UploadProtocol::Ftps ? 1 : 0);
    Edit1->setText(server.host);
    SpinEdit1->setValue(server.portInUse());
    Edit2->setText(server.user);
    ComboBox2->setCurrentIndex(static_cast<int>(server.authentication));
    ComboBox2->setEnabled(server.protocol == UploadProtocol::Sftp);
    Edit3->setText(server.keyFile);
    Edit3->setEnabled(server.authentication == UploadAuthentication::KeyFile);
    Edit4->setText(UploadPassword::remembered(server).value_or(QString()));
    Edit5->setText(server.remoteFolder);
    CheckBox1->setChecked(server.savePassword && CheckBox1->isEnabled());
}

void ServerSettingsDialog::protocolChanged() {
    const bool sftp = ComboBox1->currentIndex() == 0;
    // A port the user has not changed follows the protocol: 22 for SFTP, 21 for FTPS.
    if (SpinEdit1->value() ==
        ServerSettings::defaultPort(sftp ? UploadProtocol::Ftps : UploadProtocol::Sftp)) {
        SpinEdit1->setValue(ServerSettings::defaultPort(sftp ? UploadProtocol::Sftp : UploadProtocol::Ftps));
    }
    if (!sftp) {
        ComboBox2->setCurrentIndex(0);
    }
    ComboBox2->setEnabled(sftp);
}

ServerSettings ServerSettingsDialog::gathered() const {
    ServerSettings server;
    server.protocol = ComboBox1->currentIndex() == 1 ? UploadProtocol::Ftps : UploadProtocol::Sftp;
    server.host = Edit1->text().trimmed();
    server.port = SpinEdit1->value() == ServerSettings::defaultPort(server.protocol) ? 0 : SpinEdit1->value();
    server.user = Edit2->text().trimmed();
    server.authentication = server.protocol == UploadProtocol::Ftps
                                ? UploadAuthentication::Password
                                : static_cast<UploadAuthentication>(ComboBox2->currentIndex());
    server.keyFile = Edit3->text().trimmed();
    server.remoteFolder = Edit5->text().trimmed();
    server.savePassword = CheckBox1->isChecked();
    return server;
}

std::optional<QString> ServerSettingsDialog::password(const ServerSettings& server) {
    if (!Edit4->text().isEmpty()) {
        UploadPassword::remember(server, Edit4->text());
    }
    return UploadPassword::obtain(this, server);
}

void ServerSettingsDialog::accept() {
    const ServerSettings server = gathered();
    if (!Edit4->text().isEmpty()) {
        UploadPassword::remember(server, Edit4->text());
    }
    if (server.savePassword && !Edit4->text().isEmpty()) {
        PasswordKeyring::store(server, Edit4->text());
    } else if (!server.savePassword) {
        PasswordKeyring::remove(server);
    }
    if (!ProgramSettings::setServerSettings(m_programFolder, server)) {
        UserDialogs::show(this, MessageIcon::Error, Messages::ServerSettingsUnsaveable);
        return;
    }
    QDialog::accept();
}

void ServerSettingsDialog::Button1Click() {
    const ServerSettings server = gathered();
    if (!server.isComplete()) {
        UserDialogs::show(this, MessageIcon::Error, Messages::UploadNoServer);
        return;
    }
    const std::optional<QString> secret = password(server);
    if (!secret) {
        return;
    }
    QStringList names;
    BackgroundSession background(this, server, *secret, m_programFolder);
    if (const std::optional<RemoteFailure> failure = background.runConnected(
            Messages::UploadConnecting, [](RemoteSession&, UploadProgress&) {}, &names)) {
        background.showFailure(*failure);
        return;
    }
    const QString folder = server.remoteFolder.isEmpty() ? QStringLiteral("~") : server.remoteFolder;
    if (names.isEmpty()) {
        UserDialogs::show(this, MessageIcon::Information, Messages::UploadTestEmpty.arg(folder));
        return;
    }
    constexpr int Shown = 10;
    QStringList first = names.first(std::min<qsizetype>(names.size(), Shown));
    if (names.size() > Shown) {
        first.append(QStringLiteral("…"));
    }
    UserDialogs::show(
        this, MessageIcon::Information,
        Messages::UploadTestFound.arg(folder).arg(names.size()).arg(first.join(QStringLiteral(", "))));
}

void ServerSettingsDialog::Button2Click() {
    const ServerSettings server = gathered();
    if (!server.isComplete()) {
        UserDialogs::show(this, MessageIcon::Error, Messages::UploadNoServer);
        return;
    }
    UploadManifest manifest(UploadManifest::pathFor(m_programFolder, server),
                            UploadManifest::serverLabel(server));
    manifest.open();
    const QStringList gone = filesGoneHere(manifest, m_folders);
    if (gone.isEmpty()) {
        UserDialogs::show(this, MessageIcon::Information, Messages::UploadNothingToRemove);
        return;
    }
    QStringList lines;
    for (const QString& path : gone.first(std::min<qsizetype>(gone.size(), 20))) {
        lines.append(Messages::UploadWouldRemove.arg(path));
    }
    if (gone.size() > 20) {
        lines.append(QStringLiteral("…"));
    }
    lines.append(Messages::UploadRemoveQuestion);
    if (!UserDialogs::askYesNo(this, MessageIcon::Warning, lines.join(QLatin1Char('\n')), Answer::No)) {
        return;
    }
    const std::optional<QString> secret = password(server);
    if (!secret) {
        return;
    }
    RemovalSummary removal;
    BackgroundSession background(this, server, *secret, m_programFolder);
    if (const std::optional<RemoteFailure> failure =
            background.runConnected(Messages::UploadRemoving, [&](RemoteSession& session, UploadProgress&) {
                removal = removeFromServer(session, manifest, gone);
            })) {
        background.showFailure(*failure);
        return;
    }
    const QString serverName = background.serverName();
    QString text = Messages::UploadRemoved.arg(removal.removed.size());
    if (removal.failure) {
        text += QLatin1Char('\n') +
                Messages::UploadRemoveFailed.arg(
                    removal.failure->remotePath,
                    Messages::remoteFailureText(removal.failure->failure, serverName, m_programFolder));
    }
    UserDialogs::show(this, removal.failure ? MessageIcon::Error : MessageIcon::Information, text);
}

} // namespace kelvano
