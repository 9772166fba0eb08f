#include "gui/main/folder_settings_page.h"

#include "core/store/folder_mapping.h"
#include "core/store/io_error.h"
#include "core/store/settings_file.h"
#include "core/store/shift_jis.h"
#include "gui/base/form_layout.h"
#include "gui/base/shift_jis_field.h"
#include "gui/base/user_dialogs.h"
#include "gui/base/widget_events.h"
#include "gui/main/server_settings_dialog.h"

#include <QColor>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

namespace kelvano {

using namespace FormLayout;

namespace {

/// The name of an existing subfolder of `folder` that matches `name` without regard to case; `name`
/// itself when there is none.
QString subfolderNameIgnoringCase(const QString& folder, const QString& name) {
    const QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& existing : names) {
        if (existing.compare(name, Qt::CaseInsensitive) == 0) {
            return existing;
        }
    }
    return name;
}

} // namespace

FolderSettingsPage::FolderSettingsPage(const QString& programFolder, QWidget* parent)
    : QWidget(parent), m_programFolder(programFolder) {
    setObjectName(QStringLiteral("TabSheet3"));
    GroupBox1 = group(this, QStringLiteral("GroupBox1"), QStringLiteral("フォルダ"), {2, 4, 528, 206});
    label(GroupBox1,
          QStringLiteral("マスターデータを保存するフォルダとＨＴＭＬを出力するフォルダを設定します。"),
          {12, 22});
    const auto folderRow = [this](const QString& caption, const QString& editName, const QString& buttonName,
                                  int y, QLineEdit*& field, QPushButton*& browse, QLabel*& mark) {
        label(GroupBox1, caption, {14, y + 4});
        field = edit(GroupBox1, editName, {66, y, 346, 22});
        browse = button(GroupBox1, buttonName, QStringLiteral("参照"), {420, y - 1, 80, 24});
        mark = label(GroupBox1, Messages::FolderMark, {504, y + 3});
        mark->setObjectName(QStringLiteral("FolderMark") + editName.mid(4));
        // A palette and font of its own, not a style sheet, which its tooltip would take on too.
        QPalette red = mark->palette();
        red.setColor(QPalette::WindowText, QColor(0xc0, 0, 0));
        mark->setPalette(red);
        QFont bold = mark->font();
        bold.setBold(true);
        mark->setFont(bold);
        mark->hide();
    };
    folderRow(QStringLiteral("データ"), QStringLiteral("Edit1"), QStringLiteral("BitBtn1"), 46, Edit1,
              BitBtn1, m_folderMarks[0]);
    folderRow(QStringLiteral("ＨＴＭＬ"), QStringLiteral("Edit2"), QStringLiteral("BitBtn2"), 78, Edit2,
              BitBtn2, m_folderMarks[1]);
    folderRow(QStringLiteral("画像"), QStringLiteral("Edit6"), QStringLiteral("BitBtn10"), 110, Edit6,
              BitBtn10, m_folderMarks[2]);
    Button1 =
        button(GroupBox1, QStringLiteral("Button1"), QStringLiteral("フォルダ自動設定"), {66, 142, 140, 25});
    label(GroupBox1, QStringLiteral("ページの文字コード"), {250, 147});
    ComboBox3 = new QComboBox(GroupBox1);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox3->setGeometry(370, 143, 130, 22);
    for (const PageEncoding encoding : {PageEncoding::ShiftJis, PageEncoding::Utf8}) {
        ComboBox3->addItem(ProgramSettings::pageEncodingName(encoding), static_cast<int>(encoding));
    }
    label(GroupBox1, QStringLiteral("HTMLの書式"), {250, 175});
    ComboBox4 = new QComboBox(GroupBox1);
    ComboBox4->setObjectName(QStringLiteral("ComboBox4"));
    ComboBox4->setGeometry(370, 171, 130, 22);
    ComboBox4->addItem(QStringLiteral("従来"), static_cast<int>(PageMarkup::Classic));
    ComboBox4->addItem(QStringLiteral("HTML5"), static_cast<int>(PageMarkup::Html5));

    GroupBox7 =
        group(this, QStringLiteral("GroupBox7"), QStringLiteral("リモートサーバー側"), {2, 216, 528, 112});
    label(GroupBox7, QStringLiteral("サーバでの画像格納場所"), {14, 24});
    Edit11 = edit(GroupBox7, QStringLiteral("Edit11"), {150, 20, 350, 22});
    label(GroupBox7,
          QStringLiteral("テーブルのHTMLと同一のディレクトリへ画像を格納する場合は無設定にして下さい。"),
          {6, 48});
    label(GroupBox7,
          QStringLiteral(
              "HTMLファイルがあるディレクトリの下に 'grph' と言うディレクトリを作成する場合は 'grph/' と"),
          {6, 67});
    label(GroupBox7, QStringLiteral("設定を行って下さい。"), {6, 86});
    // The web server the pages are sent to: its own dialog, kept in KELVANO.INI.
    Button10 =
        button(GroupBox7, QStringLiteral("Button10"), QStringLiteral("サーバー設定…"), {380, 87, 120, 23});
    connect(Button10, &QPushButton::clicked, this, [this] {
        UserDialogs::guarded(this,
                             [this] { ServerSettingsDialog(m_programFolder, settings(), window()).exec(); });
    });

    m_edit1Field = ShiftJisField::attach(Edit1, SettingsRecord::FieldCapacity);
    m_edit2Field = ShiftJisField::attach(Edit2, SettingsRecord::FieldCapacity);
    m_edit6Field = ShiftJisField::attach(Edit6, SettingsRecord::FieldCapacity);
    m_edit11Field = ShiftJisField::attach(Edit11, SettingsRecord::FieldCapacity);
    followFolderField(Edit1, m_edit1Field, &SettingsRecord::DataFolder);
    followFolderField(Edit2, m_edit2Field, &SettingsRecord::HtmlFolder);
    followFolderField(Edit6, m_edit6Field, &SettingsRecord::ImageFolder);
    followFolderField(Edit11, m_edit11Field, &SettingsRecord::ServerImagePath);
    // Only focus moving elsewhere in the program leaves a folder field: its text then ends with the
    // separator, and the lists follow a new data folder.
    // A folder setting accepted is kept in TAVELO.DAT at once, so that a crash does not bring back the
    // folders of before.
    for (QLineEdit* field : {Edit2, Edit6}) {
        connect(WidgetEvents::of(field), &WidgetEvents::focusLeft, this,
                [this, field](Qt::FocusReason reason) {
                    if (focusMovedWithinProgram(reason)) {
                        endWithSeparator(field);
                        keepFolderSettings({field});
                    }
                });
    }
    connect(WidgetEvents::of(Edit1), &WidgetEvents::focusLeft, this, [this](Qt::FocusReason reason) {
        if (focusMovedWithinProgram(reason)) {
            endWithSeparator(Edit1);
            keepFolderSettings({Edit1});
            emit dataFolderAccepted();
        }
    });
    // The server path is a path on the server, which may be empty: it gains no separator.
    connect(WidgetEvents::of(Edit11), &WidgetEvents::focusLeft, this, [this](Qt::FocusReason reason) {
        if (focusMovedWithinProgram(reason)) {
            keepFolderSettings({Edit11});
        }
    });
    connect(BitBtn1, &QPushButton::clicked, this, &FolderSettingsPage::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &FolderSettingsPage::BitBtn2Click);
    connect(BitBtn10, &QPushButton::clicked, this, &FolderSettingsPage::BitBtn10Click);
    connect(Button1, &QPushButton::clicked, this, &FolderSettingsPage::Button1Click);
    connect(ComboBox3, &QComboBox::activated, this,
            [this] { UserDialogs::guarded(this, [this] { ComboBox3Change(); }); });
    connect(ComboBox4, &QComboBox::activated, this,
            [this] { UserDialogs::guarded(this, [this] { ComboBox4Change(); }); });
}

void FolderSettingsPage::showStoredSettings(const SettingsRecord& stored) {
    m_storedSettings = stored;
    m_edit1Field->setBytes(stored.DataFolder);
    m_edit2Field->setBytes(stored.HtmlFolder);
    m_edit6Field->setBytes(stored.ImageFolder);
    m_edit11Field->setBytes(stored.ServerImagePath);
    m_pageEncoding = ProgramSettings::pageEncoding(m_programFolder);
    ComboBox3->setCurrentIndex(ComboBox3->findData(static_cast<int>(m_pageEncoding)));
    m_pageMarkup = ProgramSettings::pageMarkup(m_programFolder);
    ComboBox4->setCurrentIndex(ComboBox4->findData(static_cast<int>(m_pageMarkup)));
    showFolderMarks();
}

void FolderSettingsPage::showFolderMarks() {
    const FolderSetting settings[] = {FolderSetting::Data, FolderSetting::Html, FolderSetting::Image};
    for (int i = 0; i < 3; ++i) {
        const FolderState state = folderState(m_settings.*settingMember(settings[i]));
        m_folderMarks[i]->setVisible(state != FolderState::Present);
        m_folderMarks[i]->setToolTip(state == FolderState::NotOfThisSystem ? Messages::FolderNotOfThisSystem
                                                                           : Messages::FolderMissing);
    }
}

void FolderSettingsPage::offerFolderMapping() {
    const QList<FolderProposal> proposals = proposeFolders(m_settings, m_programFolder);
    const SettingsRecord mapped = withProposals(m_settings, proposals);
    const QList<NameRepair> repairs =
        shiftJisNamedFiles({m_programFolder, ShiftJis::decode(mapped.DataFolder),
                            ShiftJis::decode(mapped.HtmlFolder), ShiftJis::decode(mapped.ImageFolder)});
    if (proposals.isEmpty() && repairs.isEmpty()) {
        return;
    }
    QStringList renames;
    for (const NameRepair& repair : repairs) {
        renames.append(repair.folder + repair.to);
    }
    QStringList folders;
    for (const FolderProposal& proposal : proposals) {
        folders.append(QStringLiteral("%1: %2 → %3")
                           .arg(Messages::folderSettingName(proposal.setting),
                                ShiftJis::decode(proposal.stored), proposal.proposed));
    }
    if (!UserDialogs::askYesNo(this, MessageIcon::Question, Messages::folderMappingQuestion(renames, folders),
                               Answer::Yes)) {
        return;
    }
    if (const std::optional<IoError> failure = repairNames(repairs)) {
        UserDialogs::showIoError(this, *failure);
    }
    if (!proposals.isEmpty()) {
        m_edit1Field->setBytes(mapped.DataFolder);
        m_edit2Field->setBytes(mapped.HtmlFolder);
        m_edit6Field->setBytes(mapped.ImageFolder);
        keepFolderSettings({Edit1, Edit2, Edit6});
    }
}

void FolderSettingsPage::ComboBox4Change() {
    const auto chosen = static_cast<PageMarkup>(ComboBox4->currentData().toInt());
    if (chosen == m_pageMarkup) {
        return;
    }
    // Kept in KELVANO.INI at once, like the page encoding.
    if (!ProgramSettings::setPageMarkup(m_programFolder, chosen)) {
        UserDialogs::show(this, MessageIcon::Error, Messages::PageMarkupUnsaveable);
        ComboBox4->setCurrentIndex(ComboBox4->findData(static_cast<int>(m_pageMarkup)));
        return;
    }
    m_pageMarkup = chosen;
}

void FolderSettingsPage::ComboBox3Change() {
    const auto chosen = static_cast<PageEncoding>(ComboBox3->currentData().toInt());
    if (chosen == m_pageEncoding) {
        return;
    }
    // Kept in KELVANO.INI at once, so that kelvano-publish writes the same pages from now on.
    if (!ProgramSettings::setPageEncoding(m_programFolder, chosen)) {
        UserDialogs::show(this, MessageIcon::Error, Messages::PageEncodingUnsaveable);
        ComboBox3->setCurrentIndex(ComboBox3->findData(static_cast<int>(m_pageEncoding)));
        return;
    }
    m_pageEncoding = chosen;
}

SettingsRecord FolderSettingsPage::fieldSettings() const {
    return {m_edit1Field->bytes(), m_edit2Field->bytes(), m_edit6Field->bytes(), m_edit11Field->bytes()};
}

bool FolderSettingsPage::saveSettings() const {
    try {
        SettingsFile::save(m_programFolder, fieldSettings());
        return true;
    } catch (const IoError&) {
        return false;
    }
}

void FolderSettingsPage::keepFolderSettings(std::initializer_list<QLineEdit*> changed) {
    const SettingsRecord record = fieldSettings();
    if (record == m_storedSettings) {
        showFolderMarks();
        return;
    }
    try {
        SettingsFile::save(m_programFolder, record);
        m_storedSettings = record;
    } catch (const IoError& error) {
        UserDialogs::showIoError(this, error);
        // The fields show what the file holds, so that the user sees the setting was not kept.
        for (QLineEdit* field : changed) {
            if (field == Edit1) {
                m_edit1Field->setBytes(m_storedSettings.DataFolder);
            } else if (field == Edit2) {
                m_edit2Field->setBytes(m_storedSettings.HtmlFolder);
            } else if (field == Edit6) {
                m_edit6Field->setBytes(m_storedSettings.ImageFolder);
            } else if (field == Edit11) {
                m_edit11Field->setBytes(m_storedSettings.ServerImagePath);
            }
        }
    }
    showFolderMarks();
}

void FolderSettingsPage::followFolderField(QLineEdit* field, ShiftJisField* bytes,
                                           QByteArray SettingsRecord::*member) {
    connect(field, &QLineEdit::textChanged, this,
            [this, bytes, member] { m_settings.*member = bytes->bytes(); });
}

void FolderSettingsPage::endWithSeparator(QLineEdit* field) {
    if (!field->text().endsWith(QLatin1Char('/'))) {
        field->setText(field->text() + QLatin1Char('/'));
    }
}

void FolderSettingsPage::openFolderPicker(QLineEdit* field, FolderTarget target) {
    emit folderPickerRequested(field->text(), target);
}

void FolderSettingsPage::BitBtn1Click() {
    openFolderPicker(Edit1, FolderTarget::DataFolder);
}

void FolderSettingsPage::BitBtn2Click() {
    openFolderPicker(Edit2, FolderTarget::HtmlFolder);
}

void FolderSettingsPage::BitBtn10Click() {
    openFolderPicker(Edit6, FolderTarget::ImageFolder);
}

void FolderSettingsPage::FolderPicked(FolderTarget target, const QString& folderWithSeparator) {
    QLineEdit* field = nullptr;
    switch (target) {
    case FolderTarget::DataFolder:
        field = Edit1;
        break;
    case FolderTarget::HtmlFolder:
        field = Edit2;
        break;
    case FolderTarget::ImageFolder:
        field = Edit6;
        break;
    case FolderTarget::None:
        return;
    }
    field->setText(folderWithSeparator);
    keepFolderSettings({field});
    if (target == FolderTarget::DataFolder) {
        emit dataFolderAccepted();
    }
}

void FolderSettingsPage::Button1Click() {
    const QString htmlFolder = m_programFolder + QStringLiteral("HTML/");
    // The pictures' folder is named as the pages refer to it on a case-sensitive server ("grph/", as
    // the hint below the server path says); a picture folder already there keeps its own spelling.
    const QString imageName = subfolderNameIgnoringCase(htmlFolder, QStringLiteral("grph"));
    Edit1->setText(m_programFolder + QStringLiteral("DATA/"));
    Edit2->setText(htmlFolder);
    Edit6->setText(htmlFolder + imageName + QLatin1Char('/'));
    // Folders that exist already or cannot be made are passed over without a word.
    for (QLineEdit* field : {Edit1, Edit2, Edit6}) {
        QDir().mkdir(field->text());
    }
    // With the server path left empty the pages would look for the pictures beside themselves.
    if (Edit11->text().isEmpty()) {
        Edit11->setText(imageName + QLatin1Char('/'));
    }
    keepFolderSettings({Edit1, Edit2, Edit6, Edit11});
    emit dataFolderAccepted();
}

} // namespace kelvano
