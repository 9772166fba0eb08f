#include "gui/main/main_window.h"

#include "core/html/clock.h"
#include "core/store/io_error.h"
#include "core/store/settings_file.h"
#include "gui/base/edited_table.h"
#include "gui/base/form_layout.h"
#include "gui/base/keyboard.h"
#include "gui/base/user_dialogs.h"
#include "gui/components/zel_string_ex.h"
#include "gui/main/data_page.h"
#include "gui/main/folder_settings_page.h"
#include "gui/main/help_window.h"
#include "gui/main/snippet_page.h"
#include "gui/main/table_definitions_page.h"
#include "gui/main/title_page.h"
#include "gui/main/title_text.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QTabWidget>

namespace kelvano {

using namespace FormLayout;

namespace {

const QString PageKey = QStringLiteral("Page");

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
    BitBtn17 = button(this, QStringLiteral("BitBtn17"), QStringLiteral("ﾍﾙﾌﾟ(&H)"), {366, 370, 80, 25});
    BitBtn7 = button(this, QStringLiteral("BitBtn7"), QStringLiteral("終了(&X)"), {452, 370, 80, 25});
    connect(BitBtn7, &QPushButton::clicked, this, &QWidget::close);
    connect(BitBtn17, &QPushButton::clicked, this, [this] {
        // The help page of the page shown, in the order of the tabs.
        static const QStringList pageHelp = {QStringLiteral("title.html"), QStringLiteral("data.html"),
                                             QStringLiteral("folders.html"), QStringLiteral("tables.html"),
                                             QStringLiteral("snippets.html")};
        showHelp(pageHelp.value(PageControl1->currentIndex(), QStringLiteral("index.html")));
    });

    m_titlePage = new TitlePage;
    PageControl1->addTab(m_titlePage, QStringLiteral("タイトル"));
    m_folderPage = new FolderSettingsPage(m_programFolder);
    m_dataPage = new DataPage(m_programFolder, *m_folderPage);
    PageControl1->addTab(m_dataPage, QStringLiteral("データ"));
    PageControl1->addTab(m_folderPage, QStringLiteral("環境設定"));
    m_tablePage = new TableDefinitionsPage(m_programFolder, *m_folderPage);
    PageControl1->addTab(m_tablePage, QStringLiteral("テーブル設定"));
    m_snippetPage = new SnippetPage(m_programFolder, *m_folderPage);
    PageControl1->addTab(m_snippetPage, QStringLiteral("ヘッダ・フッタ作成・登録"));
    PageControl1->setCurrentWidget(m_tablePage);

    connect(m_titlePage, &TitlePage::firstStepsRequested, this,
            [this] { showHelp(QStringLiteral("index.html")); });
    connect(m_folderPage, &FolderSettingsPage::folderPickerRequested, this, &TForm1::folderPickerRequested);
    connect(m_folderPage, &FolderSettingsPage::dataFolderAccepted, this, &TForm1::followDataFolder);
    connect(m_dataPage, &DataPage::tableOpenRequested, this, &TForm1::tableOpenRequested);
    connect(m_dataPage, &DataPage::pictureFolderChosen, this, &TForm1::pictureFolderChosen);
    connect(m_tablePage, &TableDefinitionsPage::tablesListed, m_dataPage, &DataPage::listTables);
    connect(m_tablePage, &TableDefinitionsPage::tableSettingsRequested, this,
            &TForm1::tableSettingsRequested);
    connect(m_tablePage, &TableDefinitionsPage::cellSettingsRequested, this, &TForm1::cellSettingsRequested);
    connect(m_snippetPage, &SnippetPage::choicesListed, m_tablePage,
            &TableDefinitionsPage::setSnippetChoices);

    // The tabs, then the page shown, then "ﾍﾙﾌﾟ" and "終了".
    Keyboard::setReadingOrder(this);
    FormCreate();
}

TForm1::~TForm1() = default;

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
        // The first start: the first steps on the title page.
        m_titlePage->showTitleText(TitleText::welcomeLines(), true);
        PageControl1->setCurrentWidget(m_titlePage);
        break;
    case SettingsFileState::Short:
        break;
    case SettingsFileState::Read:
        m_titlePage->showTitleText(TitleText::greetingLines(Clock::now()), false);
        break;
    }
    // Later starts open on the page the user left.
    if (loaded.state != SettingsFileState::Missing) {
        const QString left = ProgramSettings::windowState(m_programFolder, PageKey);
        for (int page = 0; page < PageControl1->count(); ++page) {
            if (!left.isEmpty() && PageControl1->widget(page)->objectName() == left) {
                PageControl1->setCurrentIndex(page);
            }
        }
    }
    m_folderPage->showStoredSettings(loaded.settings);
    // A program folder brought from another computer: its folders are offered before the lists are read.
    UserDialogs::guarded(this, [this] { m_folderPage->offerFolderMapping(); });
    UserDialogs::guarded(this, [this] { LoadTableLists(); });
    UserDialogs::guarded(this, [this] { LoadSnippetLists(); });
}

void TForm1::FormDestroy() {
    if (m_ended) {
        return;
    }
    m_ended = true;
    keepWindowState();
    if (!m_folderPage->saveSettings()) {
        UserDialogs::show(this, MessageIcon::Error, Messages::CannotFinish);
    }
}

void TForm1::showHelp(const QString& page) {
    if (m_helpWindow == nullptr) {
        m_helpWindow = new HelpWindow(m_helpFolder, this, m_programFolder);
    }
    m_helpWindow->showPage(page);
}

void TForm1::keepWindowState() {
    // Where the user was is a convenience: a file that cannot be written is no reason for a message.
    ProgramSettings::setWindowState(m_programFolder, PageKey, PageControl1->currentWidget()->objectName());
    if (m_helpWindow != nullptr && m_helpWindow->isVisible()) {
        m_helpWindow->keepPlace();
    }
}

const SettingsRecord& TForm1::settings() const {
    return m_folderPage->settings();
}

PageEncoding TForm1::pageEncoding() const {
    return m_folderPage->pageEncoding();
}

TableDefinition& TForm1::currentDefinition() {
    return m_tablePage->currentDefinition();
}

int TForm1::editedNumber() const {
    return m_tablePage->editedNumber();
}

void TForm1::addDefinitionPage(DefinitionPage* page) {
    m_tablePage->addDefinitionPage(page);
}

void TForm1::removeDefinitionPage(DefinitionPage* page) {
    m_tablePage->removeDefinitionPage(page);
}

PagePreviewWindow* TForm1::previewWindow() const {
    return m_dataPage->previewWindow();
}

void TForm1::LoadTableLists() {
    m_tablePage->LoadTableLists();
}

void TForm1::LoadSnippetLists() {
    m_snippetPage->LoadSnippetLists();
}

void TForm1::ResetDefinition() {
    m_tablePage->ResetDefinition();
}

void TForm1::followColumnCount(int number, int columnCount) {
    m_tablePage->followColumnCount(number, columnCount);
}

void TForm1::GatherDefinition() {
    m_tablePage->GatherDefinition();
}

void TForm1::FolderPicked(FolderTarget target, const QString& folderWithSeparator) {
    m_folderPage->FolderPicked(target, folderWithSeparator);
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
        keepWindowState();
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
    if (m_folderPage->settings().DataFolder == m_snippetPage->listedDataFolder()) {
        return;
    }
    // The snippets live in the data folder: their lists, and the index files a register needs, follow
    // it at once, as at start-up.
    UserDialogs::guarded(this, [this] { LoadTableLists(); });
    UserDialogs::guarded(this, [this] { LoadSnippetLists(); });
}

} // namespace kelvano
