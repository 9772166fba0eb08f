#include "gui/main/main_window.h"

#include "core/html/clock.h"
#include "core/store/io_error.h"
#include "core/store/record_fields.h"
#include "core/store/settings_file.h"
#include "core/store/shift_jis.h"
#include "gui/base/form_layout.h"
#include "gui/base/shift_jis_field.h"
#include "gui/base/user_dialogs.h"
#include "gui/base/widget_events.h"
#include "gui/components/zel_string_ex.h"
#include "gui/entry/edited_table.h"
#include "gui/main/folder_settings_page.h"
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
    BitBtn17 = button(this, QStringLiteral("BitBtn17"), QStringLiteral("ﾍﾙﾌﾟ(&H)"), {366, 370, 80, 25});
    BitBtn7 = button(this, QStringLiteral("BitBtn7"), QStringLiteral("終了(&X)"), {452, 370, 80, 25});
    connect(BitBtn7, &QPushButton::clicked, this, &QWidget::close);
    connect(BitBtn17, &QPushButton::clicked, this, [this] {
        if (m_helpWindow == nullptr) {
            m_helpWindow = new HelpWindow(m_helpFolder, this);
        }
        m_helpWindow->showContents();
    });

    TabSheet1 = addPage(QStringLiteral("TabSheet1"), QStringLiteral("タイトル"));
    buildTitlePage();
    TabSheet2 = addPage(QStringLiteral("TabSheet2"), QStringLiteral("データ"));
    buildDataPage();
    m_folderPage = new FolderSettingsPage(m_programFolder);
    PageControl1->addTab(m_folderPage, QStringLiteral("環境設定"));
    connect(m_folderPage, &FolderSettingsPage::folderPickerRequested, this, &TForm1::folderPickerRequested);
    connect(m_folderPage, &FolderSettingsPage::dataFolderAccepted, this, &TForm1::followDataFolder);
    TabSheet4 = addPage(QStringLiteral("TabSheet4"), QStringLiteral("テーブル設定"));
    buildTablePage();
    TabSheet5 = addPage(QStringLiteral("TabSheet5"), QStringLiteral("ヘッダ・フッタ作成・登録"));
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
    m_folderPage->showStoredSettings(loaded.settings);
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
    if (!m_folderPage->saveSettings()) {
        UserDialogs::show(this, MessageIcon::Error, Messages::CannotFinish);
    }
}

const SettingsRecord& TForm1::settings() const {
    return m_folderPage->settings();
}

PageEncoding TForm1::pageEncoding() const {
    return m_folderPage->pageEncoding();
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
    m_folderPage->saveSettings();
    return true;
}

void TForm1::endWithoutQuestions() {
    if (!m_ended) {
        m_ended = true;
        if (m_editedTable != nullptr) {
            m_editedTable->saveUnasked();
        }
        m_folderPage->saveSettings();
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

void TForm1::followDataFolder() {
    if (settings().DataFolder == m_listedDataFolder) {
        return;
    }
    // The snippets live in the data folder: their lists, and the index files a register needs, follow
    // it at once, as at start-up.
    UserDialogs::guarded(this, [this] { LoadTableLists(); });
    UserDialogs::guarded(this, [this] { LoadSnippetLists(); });
}

void TForm1::FolderPicked(int target, const QString& folderWithSeparator) {
    m_folderPage->FolderPicked(target, folderWithSeparator);
}

} // namespace kelvano
