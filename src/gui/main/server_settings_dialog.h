#pragma once

#include "core/store/server_settings.h"
#include "core/store/settings_record.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace kelvano {

/// "サーバー設定": the web server the pages are sent to (KELVANO.INI's group Server), its password for
/// this run, a connection test, and removing from the server what Kelvano sent and is gone here.
class ServerSettingsDialog : public QDialog {
    Q_OBJECT

public:
    /// `folders`: the folder settings in force, for what is gone here.
    ServerSettingsDialog(const QString& programFolder, const SettingsRecord& folders,
                         QWidget* parent = nullptr);

    /// The settings as the fields hold them.
    ServerSettings gathered() const;

private:
    void showSettings(const ServerSettings& server);
    void protocolChanged();
    void Button1Click();
    void Button2Click();
    void accept() override;
    /// The password of the fields, else the remembered or asked one.
    std::optional<QString> password(const ServerSettings& server);

    QString m_programFolder;
    SettingsRecord m_folders;
    QComboBox* ComboBox1;
    QLineEdit* Edit1;
    QSpinBox* SpinEdit1;
    QLineEdit* Edit2;
    QComboBox* ComboBox2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QCheckBox* CheckBox1;
    QLineEdit* Edit5;
    QPushButton* Button1;
    QPushButton* Button2;
};

} // namespace kelvano
