#include "gui/main/main_window.h"

#include "core/html/clock.h"
#include "core/store/io_error.h"
#include "core/store/record_fields.h"
#include "core/store/settings_file.h"
#include "core/store/shift_jis.h"
#include "gui/base/edited_table.h"
#include "gui/base/form_layout.h"
#include "gui/base/shift_jis_field.h"
#include "gui/base/user_dialogs.h"
#include "gui/base/widget_events.h"
#include "gui/components/zel_string_ex.h"
#include "gui/main/help_window.h"
#include "gui/main/title_text.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace kelvano {

using namespace FormLayout;

namespace {

/// The title page's banner: the program's name on a sky-blue band with a small table drawn beside it.
QPixmap drawBanner() {
    QPixmap banner(178, 38);
    QPainter painter(&banner);
    QLinearGradient sky(0, 0, 178, 0);
    sky.setColorAt(0, QColor(0x1E, 0x5A, 0x9C));
    sky.setColorAt(1, QColor(0x8C, 0xC8, 0xF0));
    painter.fillRect(banner.rect(), sky);
    painter.setPen(QPen(Qt::white, 1));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            painter.drawRect(8 + column * 9, 7 + row * 8, 9, 8);
        }
    }
    painter.fillRect(9, 8, 26, 7, QColor(0xFF, 0xD7, 0x4A));
    QFont font(QStringLiteral("Sans"));
    font.setPixelSize(20);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(44, 0, 130, 38), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Kelvano"));
    return banner;
}

} // namespace

TForm1::TForm1(const QString& programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_programFolder(programFolder), m_helpFolder(HelpWindow::defaultHelpFolder()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kelvano"));
    setFormFont(this);
    setFixedSize(538, 403);
    ZelStringEX1 = new ZelStringEX(this);
    ZelStringEX1->setObjectName(QStringLiteral("ZelStringEX1"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 0, 538, 361);
    const auto addPage = [this](const QString& name, const QString& caption) {
        auto* page = new QWidget;
        page->setObjectName(name);
        PageControl1->addTab(page, caption);
        return page;
    };
    TabSheet1 = addPage(QStringLiteral("TabSheet1"), QStringLiteral("タイトル"));
    TabSheet2 = addPage(QStringLiteral("TabSheet2"), QStringLiteral("データ"));
    TabSheet3 = addPage(QStringLiteral("TabSheet3"), QStringLiteral("環境設定"));
    TabSheet4 = addPage(QStringLiteral("TabSheet4"), QStringLiteral("テーブル設定"));
    TabSheet5 = addPage(QStringLiteral("TabSheet5"), QStringLiteral("ヘッダ・フッタ作成・登録"));

    BitBtn17 = button(this, QStringLiteral("BitBtn17"), QStringLiteral("ﾍﾙﾌﾟ(&H)"), {366, 370, 80, 25});
    BitBtn7 = button(this, QStringLiteral("BitBtn7"), QStringLiteral("終了(&X)"), {452, 370, 80, 25});
    connect(BitBtn7, &QPushButton::clicked, this, &QWidget::close);
    connect(BitBtn17, &QPushButton::clicked, this, [this] {
        if (m_helpWindow == nullptr) {
            m_helpWindow = new HelpWindow(m_helpFolder, this);
        }
        m_helpWindow->showContents();
    });

    buildTitlePage();
    buildDataPage();
    buildFolderPage();
    buildTablePage();
    buildSnippetPage();
    PageControl1->setCurrentWidget(TabSheet4);

    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::buildTitlePage() {
    Memo2 = new QPlainTextEdit(TabSheet1);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setGeometry(0, 0, 530, 281);
    Image1 = new QLabel(TabSheet1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(6, 288, 178, 38);
    Image1->setPixmap(drawBanner());
    // Two lines beside the banner: the name, then the home page and the address.
    label(TabSheet1,
          TitleText::ProjectName + u'\n' + TitleText::HomePage + QStringLiteral("　") +
              TitleText::MailAddress,
          {196, 288});
}

void TForm1::buildFolderPage() {
    GroupBox1 = group(TabSheet3, QStringLiteral("GroupBox1"), QStringLiteral("フォルダ"), {2, 4, 528, 206});
    label(GroupBox1,
          QStringLiteral("マスターデータを保存するフォルダとＨＴＭＬを出力するフォルダを設定します。"),
          {12, 22});
    const auto folderRow = [this](const QString& caption, const QString& editName, const QString& buttonName,
                                  int y, QLineEdit*& field, QPushButton*& browse) {
        label(GroupBox1, caption, {14, y + 4});
        field = edit(GroupBox1, editName, {66, y, 346, 22});
        browse = button(GroupBox1, buttonName, QStringLiteral("参照"), {420, y - 1, 80, 24});
    };
    folderRow(QStringLiteral("データ"), QStringLiteral("Edit1"), QStringLiteral("BitBtn1"), 46, Edit1,
              BitBtn1);
    folderRow(QStringLiteral("ＨＴＭＬ"), QStringLiteral("Edit2"), QStringLiteral("BitBtn2"), 78, Edit2,
              BitBtn2);
    folderRow(QStringLiteral("画像"), QStringLiteral("Edit6"), QStringLiteral("BitBtn10"), 110, Edit6,
              BitBtn10);
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

    GroupBox7 = group(TabSheet3, QStringLiteral("GroupBox7"), QStringLiteral("リモートサーバー側"),
                      {2, 216, 528, 112});
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
            followDataFolder();
        }
    });
    // The server path is a path on the server, which may be empty: it gains no separator.
    connect(WidgetEvents::of(Edit11), &WidgetEvents::focusLeft, this, [this](Qt::FocusReason reason) {
        if (focusMovedWithinProgram(reason)) {
            keepFolderSettings({Edit11});
        }
    });
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
    connect(BitBtn10, &QPushButton::clicked, this, &TForm1::BitBtn10Click);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(ComboBox3, &QComboBox::activated, this,
            [this] { UserDialogs::guarded(this, [this] { ComboBox3Change(); }); });
    connect(ComboBox4, &QComboBox::activated, this,
            [this] { UserDialogs::guarded(this, [this] { ComboBox4Change(); }); });
}

void TForm1::ComboBox4Change() {
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

void TForm1::ComboBox3Change() {
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

void TForm1::FormCreate() {
    LoadedSettings loaded;
    try {
        loaded = SettingsFile::load(m_programFolder);
    } catch (const IoError& error) {
        UserDialogs::showIoError(this, error);
        return;
    }
    switch (loaded.state) {
    case SettingsFileState::Missing:
        showTitleText(TitleText::welcomeLines(), true);
        break;
    case SettingsFileState::Short:
        break;
    case SettingsFileState::Read:
        showTitleText(TitleText::greetingLines(Clock::now()), false);
        break;
    }
    m_storedSettings = loaded.settings;
    m_edit1Field->setBytes(loaded.settings.DataFolder);
    m_edit2Field->setBytes(loaded.settings.HtmlFolder);
    m_edit6Field->setBytes(loaded.settings.ImageFolder);
    m_edit11Field->setBytes(loaded.settings.ServerImagePath);
    m_pageEncoding = ProgramSettings::pageEncoding(m_programFolder);
    ComboBox3->setCurrentIndex(ComboBox3->findData(static_cast<int>(m_pageEncoding)));
    m_pageMarkup = ProgramSettings::pageMarkup(m_programFolder);
    ComboBox4->setCurrentIndex(ComboBox4->findData(static_cast<int>(m_pageMarkup)));
    UserDialogs::guarded(this, [this] { LoadTableLists(); });
    UserDialogs::guarded(this, [this] { LoadSnippetLists(); });
}

void TForm1::showTitleText(const QStringList& lines, bool readOnly) {
    Memo2->clear();
    Memo2->setReadOnly(readOnly);
    for (const QString& line : lines) {
        Memo2->appendPlainText(line);
    }
}

void TForm1::FormDestroy() {
    if (m_ended) {
        return;
    }
    m_ended = true;
    if (!saveSettings()) {
        UserDialogs::show(this, MessageIcon::Error, Messages::CannotFinish);
    }
}

SettingsRecord TForm1::fieldSettings() const {
    return {m_edit1Field->bytes(), m_edit2Field->bytes(), m_edit6Field->bytes(), m_edit11Field->bytes()};
}

bool TForm1::saveSettings() const {
    try {
        SettingsFile::save(m_programFolder, fieldSettings());
        return true;
    } catch (const IoError&) {
        return false;
    }
}

void TForm1::keepFolderSettings(std::initializer_list<QLineEdit*> changed) {
    const SettingsRecord record = fieldSettings();
    if (record == m_storedSettings) {
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
}

bool TForm1::commitSession(bool mayAsk) {
    if (m_editedTable != nullptr) {
        if (mayAsk && !m_editedTable->mayEnd()) {
            return false;
        }
        if (!mayAsk) {
            m_editedTable->saveUnasked();
        }
    }
    saveSettings();
    return true;
}

void TForm1::endWithoutQuestions() {
    if (!m_ended) {
        m_ended = true;
        if (m_editedTable != nullptr) {
            m_editedTable->saveUnasked();
        }
        saveSettings();
    }
    emit programEnded();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Closing the window ends the program the way the exit button does, once the table data editor's
    // unsaved rows are saved or given up; the user may choose to stay instead.
    if (m_editedTable != nullptr && !m_editedTable->mayEnd()) {
        event->ignore();
        return;
    }
    FormDestroy();
    event->accept();
    emit programEnded();
}

void TForm1::followFolderField(QLineEdit* field, ShiftJisField* bytes, QByteArray SettingsRecord::*member) {
    connect(field, &QLineEdit::textChanged, this,
            [this, bytes, member] { m_settings.*member = bytes->bytes(); });
}

void TForm1::endWithSeparator(QLineEdit* field) {
    if (!field->text().endsWith(QLatin1Char('/'))) {
        field->setText(field->text() + QLatin1Char('/'));
    }
}

void TForm1::followDataFolder() {
    if (m_settings.DataFolder == m_listedDataFolder) {
        return;
    }
    // The snippets live in the data folder: their lists, and the index files a register needs, follow
    // it at once, as at start-up.
    UserDialogs::guarded(this, [this] { LoadTableLists(); });
    UserDialogs::guarded(this, [this] { LoadSnippetLists(); });
}

void TForm1::openFolderPicker(QLineEdit* field, int target) {
    emit folderPickerRequested(field->text(), target);
}

void TForm1::BitBtn1Click() {
    openFolderPicker(Edit1, 1);
}

void TForm1::BitBtn2Click() {
    openFolderPicker(Edit2, 2);
}

void TForm1::BitBtn10Click() {
    openFolderPicker(Edit6, 3);
}

void TForm1::FolderPicked(int target, const QString& folderWithSeparator) {
    QLineEdit* const fields[] = {Edit1, Edit2, Edit6};
    if (target >= 1 && target <= 3) {
        fields[target - 1]->setText(folderWithSeparator);
        keepFolderSettings({fields[target - 1]});
    }
    if (target == 1) {
        followDataFolder();
    }
}

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

void TForm1::Button1Click() {
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
    followDataFolder();
}

} // namespace kelvano
