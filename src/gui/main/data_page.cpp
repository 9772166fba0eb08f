#include "gui/main/data_page.h"

#include "core/html/page_check.h"
#include "core/html/page_generator.h"
#include "core/store/file_names.h"
#include "core/store/shift_jis.h"
#include "gui/base/form_layout.h"
#include "gui/base/user_dialogs.h"
#include "gui/base/widget_events.h"
#include "gui/main/desktop_browser.h"
#include "gui/main/folder_settings_page.h"
#include "gui/main/page_preview_window.h"
#include "gui/main/page_progress_dialog.h"
#include "gui/main/upload_sender.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <exception>
#include <thread>

namespace kelvano {

using namespace FormLayout;

DataPage::DataPage(const QString& programFolder, const FolderSettingsPage& folders, QWidget* parent)
    : QWidget(parent), m_programFolder(programFolder), m_folders(folders) {
    setObjectName(QStringLiteral("TabSheet2"));
    ListView2 = reportList(this, QStringLiteral("ListView2"),
                           {QStringLiteral("NO"), QStringLiteral("テーブル名"), QStringLiteral("ファイル名")},
                           {4, 4, 330, 326});
    ListView2->setColumnWidth(0, 50);
    ListView2->setColumnWidth(1, 150);
    GroupBox2 = group(this, QStringLiteral("GroupBox2"), QStringLiteral("HTMLファイル"), {342, 4, 184, 92});
    BitBtn9 = button(GroupBox2, QStringLiteral("BitBtn9"), QStringLiteral("テーブルをHTML形式で出力"),
                     {8, 22, 168, 28});
    Button9 =
        button(GroupBox2, QStringLiteral("Button9"), QStringLiteral("サーバーへ送信"), {8, 56, 168, 28});
    GroupBox3 =
        group(this, QStringLiteral("GroupBox3"), QStringLiteral("テーブルデータ"), {342, 100, 184, 58});
    BitBtn8 = button(GroupBox3, QStringLiteral("BitBtn8"), QStringLiteral("テーブルデータを入力する"),
                     {8, 22, 168, 28});
    Button4 = button(this, QStringLiteral("Button4"), QStringLiteral("すべて選択"), {342, 164, 88, 26});
    Button5 = button(this, QStringLiteral("Button5"), QStringLiteral("すべて解除"), {438, 164, 88, 26});
    connect(Button4, &QPushButton::clicked, this, [this] { setEveryTick(Qt::Checked); });
    connect(Button5, &QPushButton::clicked, this, [this] { setEveryTick(Qt::Unchecked); });
    GroupBox8 =
        group(this, QStringLiteral("GroupBox8"), QStringLiteral("ページの確認"), {342, 196, 184, 134});
    Button6 = button(GroupBox8, QStringLiteral("Button6"), QStringLiteral("プレビュー"), {8, 22, 168, 28});
    Button7 =
        button(GroupBox8, QStringLiteral("Button7"), QStringLiteral("ブラウザで開く"), {8, 58, 168, 28});
    Button8 = button(GroupBox8, QStringLiteral("Button8"), QStringLiteral("検査"), {8, 94, 168, 28});
    connect(Button9, &QPushButton::clicked, this,
            [this] { UserDialogs::guarded(this, [this] { Button9Click(); }); });
    connect(Button6, &QPushButton::clicked, this,
            [this] { UserDialogs::guarded(this, [this] { Button6Click(); }); });
    connect(Button7, &QPushButton::clicked, this,
            [this] { UserDialogs::guarded(this, [this] { Button7Click(); }); });
    connect(Button8, &QPushButton::clicked, this,
            [this] { UserDialogs::guarded(this, [this] { Button8Click(); }); });
    // A double click anywhere on the list, on a row or not, positions the picture picker.
    connect(WidgetEvents::of(ListView2->viewport()), &WidgetEvents::doubleClicked, this,
            &DataPage::ListView2DblClick);
    connect(BitBtn8, &QPushButton::clicked, this,
            [this] { UserDialogs::guarded(this, [this] { BitBtn8Click(); }); });
    connect(BitBtn9, &QPushButton::clicked, this,
            [this] { UserDialogs::guarded(this, [this] { BitBtn9Click(); }); });
}

void DataPage::listTables(const QList<NumberedDefinition>& tables) {
    ListView2->setRowCount(0);
    for (const NumberedDefinition& entry : tables) {
        const TableDefinition& definition = entry.definition;
        if (definition.Deleted) {
            continue;
        }
        appendRow(ListView2,
                  {QString::number(entry.number), ShiftJis::decode(definition.TableName),
                   ShiftJis::decode(definition.FileName)},
                  true);
    }
}

void DataPage::BitBtn8Click() {
    const int row = selectedRow(ListView2);
    if (row < 0) {
        UserDialogs::show(this, MessageIcon::Error, Messages::SelectTableForEntry);
        return;
    }
    const int number = ListView2->item(row, 0)->text().toInt();
    const std::optional<TableDefinition> definition = TableDefinitionFile(m_programFolder).read(number);
    if (!definition) {
        UserDialogs::show(this, MessageIcon::Error, Messages::NoTableMaster);
        return;
    }
    // The file named in the list's row is the one opened; while the record still names it, its stored
    // bytes are used as they are.
    const QString listed = ListView2->item(row, 2)->text();
    const QByteArray fileName = listed == ShiftJis::decode(definition->FileName)
                                    ? definition->FileName
                                    : ShiftJis::encode(listed).bytes;
    if (!isUsableStoredFileName(fileName)) {
        UserDialogs::show(this, MessageIcon::Error,
                          Messages::unusableFileNameText(number, ShiftJis::decode(definition->TableName)));
        return;
    }
    emit tableOpenRequested(m_folders.settings(), m_programFolder, fileName, definition->ColumnCount, number,
                            ShiftJis::decode(definition->TableName));
}

void DataPage::setEveryTick(Qt::CheckState state) {
    for (int row = 0; row < ListView2->rowCount(); ++row) {
        ListView2->item(row, 0)->setCheckState(state);
    }
}

void DataPage::ListView2DblClick() {
    // The picture picker's folder tree is first positioned on the HTML folder.
    emit pictureFolderChosen(ShiftJis::decode(m_folders.settings().HtmlFolder));
    if (selectedRow(ListView2) >= 0) {
        UserDialogs::guarded(this, [this] { BitBtn8Click(); });
    }
}

namespace {

/// Keeps the messages of a page run and shows them once it has ended: what the run tells of the pages
/// it wrote, then the tables whose page it could not write (one box for one, one list for several),
/// then its closing message.
class PageMessageBoxes : public PageReport {
public:
    explicit PageMessageBoxes(QWidget* owner) : m_owner(owner) {}

    void report(const PageMessage& message) override { m_messages.append(message); }

    void showAll() const {
        if (m_messages.isEmpty()) {
            return;
        }
        QList<PageMessage> failures;
        for (qsizetype at = 0; at + 1 < m_messages.size(); ++at) {
            if (m_messages.at(at).pageNotWritten()) {
                failures.append(m_messages.at(at));
            } else {
                show(m_messages.at(at));
            }
        }
        if (failures.size() == 1) {
            show(failures.first());
        } else if (failures.size() > 1) {
            QStringList texts;
            for (const PageMessage& failure : std::as_const(failures)) {
                texts.append(Messages::pageMessageText(failure));
            }
            UserDialogs::show(m_owner, MessageIcon::Error, Messages::pagesNotWritten(texts));
        }
        show(m_messages.last());
    }

private:
    void show(const PageMessage& message) const {
        const QString text = Messages::pageMessageText(message);
        switch (message.kind()) {
        case PageMessageKind::Error:
            UserDialogs::show(m_owner, MessageIcon::Error, text);
            break;
        case PageMessageKind::Information:
            UserDialogs::show(m_owner, MessageIcon::Information, text);
            break;
        case PageMessageKind::IoError:
            // The text names the table, then the file and the reason, as the I/O error box shows them.
            UserDialogs::show(m_owner, MessageIcon::Error, text, UserDialogs::IoErrorCaption);
            break;
        }
    }

    QWidget* m_owner;
    QList<PageMessage> m_messages;
};

} // namespace

QList<int> DataPage::tickedNumbers() const {
    QList<int> ticked;
    for (int row = 0; row < ListView2->rowCount(); ++row) {
        if (ListView2->item(row, 0)->checkState() == Qt::Checked) {
            ticked.append(ListView2->item(row, 0)->text().toInt());
        }
    }
    return ticked;
}

int DataPage::selectedTableForPage() {
    const int row = selectedRow(ListView2);
    if (row < 0) {
        UserDialogs::show(this, MessageIcon::Error, Messages::SelectTable);
        return -1;
    }
    return ListView2->item(row, 0)->text().toInt();
}

void DataPage::Button6Click() {
    const int number = selectedTableForPage();
    if (number >= 0) {
        previewPage(number);
    }
}

void DataPage::previewPage(int number) {
    PageMessageBoxes report(this);
    const std::optional<QByteArray> page =
        GeneratePageInMemory(m_folders.settings(), m_programFolder, number, report, m_folders.pageEncoding(),
                             QLocale(), m_folders.pageMarkup());
    if (!page) {
        return;
    }
    const std::optional<TableDefinition> definition = TableDefinitionFile(m_programFolder).read(number);
    if (m_previewWindow == nullptr) {
        m_previewWindow = new PagePreviewWindow(window());
        connect(m_previewWindow, &PagePreviewWindow::refreshRequested, this,
                [this] { UserDialogs::guarded(this, [this] { previewPage(m_previewNumber); }); });
    }
    m_previewNumber = number;
    const QString html =
        m_folders.pageEncoding() == PageEncoding::Utf8 ? QString::fromUtf8(*page) : ShiftJis::decode(*page);
    m_previewWindow->showPage(definition ? ShiftJis::decode(definition->TableName) : QString(), html,
                              ShiftJis::decode(m_folders.settings().ImageFolder));
}

void DataPage::Button7Click() {
    const int number = selectedTableForPage();
    if (number < 0) {
        return;
    }
    const std::optional<TableDefinition> definition = TableDefinitionFile(m_programFolder).read(number);
    if (!definition) {
        UserDialogs::show(this, MessageIcon::Error, Messages::NoData);
        return;
    }
    if (!isUsableStoredFileName(definition->FileName)) {
        UserDialogs::show(this, MessageIcon::Error,
                          Messages::unusableFileNameText(number, ShiftJis::decode(definition->TableName)));
        return;
    }
    const QString path = ShiftJis::decode(m_folders.settings().HtmlFolder) +
                         ShiftJis::decode(definition->FileName) + QStringLiteral(".html");
    if (!isPathOfThisSystem(path) || !QFileInfo(path).isFile()) {
        UserDialogs::show(this, MessageIcon::Information, Messages::PageNotWrittenYet.arg(path));
        return;
    }
    if (DesktopBrowser::query() == DesktopBrowser::Setup::None) {
        UserDialogs::show(this, MessageIcon::Error, Messages::NoBrowserSetUp.arg(path));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        UserDialogs::show(this, MessageIcon::Error, Messages::BrowserNotOpened.arg(path));
    }
}

void DataPage::Button8Click() {
    const QList<int> ticked = tickedNumbers();
    if (ticked.isEmpty()) {
        UserDialogs::show(this, MessageIcon::Error, Messages::SelectTable);
        return;
    }
    const std::optional<QList<PageFinding>> findings = checkOffThisThread(ticked);
    if (!findings) {
        UserDialogs::show(this, MessageIcon::Error, Messages::NoData);
        return;
    }
    if (findings->isEmpty()) {
        UserDialogs::show(this, MessageIcon::Information, Messages::CheckFoundNothing);
        return;
    }
    // A message box stays on the screen: a long list is cut, saying how much is left out.
    constexpr int Shown = 25;
    QStringList lines;
    for (const PageFinding& finding : findings->first(std::min<qsizetype>(findings->size(), Shown))) {
        lines.append(Messages::findingLine(finding));
    }
    if (findings->size() > Shown) {
        lines.append(Messages::CheckMoreFindings.arg(findings->size() - Shown));
    }
    UserDialogs::show(this, MessageIcon::Error, lines.join(QLatin1Char('\n')));
}

std::optional<QList<PageFinding>> DataPage::checkOffThisThread(const QList<int>& numbers) {
    // The check runs tidy for each table, which may take seconds: it runs on a thread of its own while
    // this window goes on drawing itself, the page's controls waiting for it.
    const SettingsRecord settings = m_folders.settings();
    const PageEncoding encoding = m_folders.pageEncoding();
    const PageMarkup markup = m_folders.pageMarkup();
    std::optional<QList<PageFinding>> findings;
    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            findings = CheckPages(settings, m_programFolder, numbers, encoding, markup);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    setEnabled(false);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    setEnabled(true);
    if (failure) {
        std::rethrow_exception(failure);
    }
    return findings;
}

void DataPage::BitBtn9Click() {
    const QList<int> ticked = tickedNumbers();
    if (ticked.isEmpty()) {
        UserDialogs::show(this, MessageIcon::Error, Messages::SelectTable);
        return;
    }
    PageMessageBoxes report(this);
    {
        PageProgressDialog progress(window(), static_cast<int>(ticked.size()));
        PageRunOptions options;
        options.encoding = m_folders.pageEncoding();
        options.markup = m_folders.pageMarkup();
        options.progress = &progress;
        GeneratePages(m_folders.settings(), m_programFolder, ticked, report, QLocale(), options);
    }
    // The progress dialog is gone before the first message.
    report.showAll();
}

void DataPage::Button9Click() {
    const QList<int> ticked = tickedNumbers();
    if (ticked.isEmpty()) {
        UserDialogs::show(this, MessageIcon::Error, Messages::SelectTable);
        return;
    }
    sendToServer(this, m_programFolder, m_folders.settings(), ticked);
}

} // namespace kelvano
