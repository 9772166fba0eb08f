#pragma once

#include "core/store/program_settings.h"
#include "core/store/settings_record.h"
#include "gui/base/folder_target.h"

#include <QString>
#include <QWidget>
#include <initializer_list>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kelvano {

class ShiftJisField;

/// The folder settings page (TabSheet3): the data, HTML and image folders, the pictures' place on the
/// server, the page encoding and the markup. It holds the folder settings in force, keeps each accepted
/// setting in TAVELO.DAT or KELVANO.INI at once, and asks for the directory picker through its signal.
class FolderSettingsPage : public QWidget {
    Q_OBJECT

public:
    explicit FolderSettingsPage(const QString& programFolder, QWidget* parent = nullptr);

    /// The folder settings in force: the fields' texts as they are typed.
    const SettingsRecord& settings() const { return m_settings; }
    /// The page encoding and the markup in force (KELVANO.INI).
    PageEncoding pageEncoding() const { return m_pageEncoding; }
    PageMarkup pageMarkup() const { return m_pageMarkup; }

    /// Shows the folder settings TAVELO.DAT holds, and the page encoding and markup of KELVANO.INI.
    void showStoredSettings(const SettingsRecord& stored);
    /// At start-up: when folder settings name no folder here (a program folder brought from another
    /// computer) or files keep Shift-JIS names, one question offers the folders of the program folder
    /// that match them and the renames; はい keeps the folders in TAVELO.DAT and renames the files,
    /// いいえ leaves everything as it is. Nothing is asked when there is nothing to offer.
    void offerFolderMapping();
    /// Writes the fields' settings to TAVELO.DAT; false when the file cannot be written.
    bool saveSettings() const;
    /// Puts a folder chosen in the directory picker into the field of its target (1 data, 2 HTML,
    /// 3 image).
    void FolderPicked(FolderTarget target, const QString& folderWithSeparator);

signals:
    /// The directory picker is wanted on `folder`, for the folder field of `target` (1 data, 2 HTML,
    /// 3 image).
    void folderPickerRequested(const QString& folder, FolderTarget target);
    /// A data folder was accepted: the lists read from the data folder may have to follow it.
    void dataFolderAccepted();

private:
    /// The folder settings as the fields hold them.
    SettingsRecord fieldSettings() const;
    /// Writes TAVELO.DAT when the fields hold other settings than it does. When the file cannot be
    /// written, the I/O error box says why and the `changed` fields show the stored values again.
    void keepFolderSettings(std::initializer_list<QLineEdit*> changed);
    /// Keeps `member` of the settings in force equal to the field's text as it is typed.
    void followFolderField(QLineEdit* field, ShiftJisField* bytes, QByteArray SettingsRecord::*member);
    /// Shows the mark beside each folder field whose folder cannot be used, the reason as its tooltip.
    void showFolderMarks();
    /// Ends a folder field's text with the separator, as the field is left.
    static void endWithSeparator(QLineEdit* field);
    void openFolderPicker(QLineEdit* field, FolderTarget target);
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn10Click();
    void Button1Click();
    void ComboBox3Change();
    void ComboBox4Change();

    QString m_programFolder;
    SettingsRecord m_settings;
    /// The folder settings TAVELO.DAT holds: as last read or written.
    SettingsRecord m_storedSettings;
    PageEncoding m_pageEncoding = PageEncoding::ShiftJis;
    PageMarkup m_pageMarkup = PageMarkup::Classic;

    QGroupBox* GroupBox1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit6;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn10;
    QPushButton* Button1;
    QPushButton* Button10;
    /// "ページの文字コード": Shift_JIS or UTF-8.
    QComboBox* ComboBox3;
    /// "HTMLの書式": 従来 or HTML5.
    QComboBox* ComboBox4;
    QGroupBox* GroupBox7;
    QLineEdit* Edit11;
    /// The marks beside Edit1, Edit2 and Edit6 (FolderMark1, FolderMark2, FolderMark6).
    QLabel* m_folderMarks[3];
    ShiftJisField* m_edit1Field;
    ShiftJisField* m_edit2Field;
    ShiftJisField* m_edit6Field;
    ShiftJisField* m_edit11Field;
};

} // namespace kelvano
