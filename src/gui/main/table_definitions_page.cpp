#include "gui/main/table_definitions_page.h"

#include "core/store/file_names.h"
#include "core/store/io_error.h"
#include "core/store/shift_jis.h"
#include "core/store/stored_names.h"
#include "core/store/table_data_rename.h"
#include "gui/base/form_layout.h"
#include "gui/base/keyboard.h"
#include "gui/base/shift_jis_field.h"
#include "gui/base/user_dialogs.h"
#include "gui/base/widget_events.h"
#include "gui/main/folder_settings_page.h"
#include "gui/main/restore_definition_window.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace kelvano {

using namespace FormLayout;

TableDefinitionsPage::TableDefinitionsPage(const QString& programFolder, const FolderSettingsPage& folders,
                                           QWidget* parent)
    : QWidget(parent), m_programFolder(programFolder), m_folders(folders) {
    setObjectName(QStringLiteral("TabSheet4"));
    ListView1 = reportList(this, QStringLiteral("ListView1"),
                           {QStringLiteral("番号"), QStringLiteral("項目名"), QStringLiteral("ファイル名"),
                            QStringLiteral("ヘッダ"), QStringLiteral("フッタ")},
                           {4, 4, 522, 160});
    ListView1->setColumnWidth(0, 40);
    ListView1->setColumnWidth(1, 140);
    ListView1->setColumnWidth(2, 100);
    ListView1->setColumnWidth(3, 110);
    GroupBox4 = group(this, QStringLiteral("GroupBox4"), QStringLiteral("項目"), {4, 168, 522, 162});
    label(GroupBox4, QStringLiteral("番号"), {12, 24});
    Edit3 = edit(GroupBox4, QStringLiteral("Edit3"), {76, 20, 60, 22});
    Edit3->setReadOnly(true);
    label(GroupBox4, QStringLiteral("項目名"), {12, 52});
    Edit4 = edit(GroupBox4, QStringLiteral("Edit4"), {76, 48, 196, 22});
    label(GroupBox4, QStringLiteral("ファイル名"), {12, 80});
    Edit5 = edit(GroupBox4, QStringLiteral("Edit5"), {76, 76, 196, 22});
    label(GroupBox4, QStringLiteral("ヘッダ"), {282, 52});
    ComboBox1 = new QComboBox(GroupBox4);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setGeometry(322, 48, 190, 22);
    label(GroupBox4, QStringLiteral("フッタ"), {282, 80});
    ComboBox2 = new QComboBox(GroupBox4);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setEditable(true);
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);
    ComboBox2->setGeometry(322, 76, 190, 22);
    Button2 =
        button(GroupBox4, QStringLiteral("Button2"), QStringLiteral("テーブル全体設定"), {286, 16, 110, 26});
    Button3 =
        button(GroupBox4, QStringLiteral("Button3"), QStringLiteral("セル詳細設定"), {402, 16, 110, 26});
    BitBtn3 = button(GroupBox4, QStringLiteral("BitBtn3"), QStringLiteral("新規作成"), {12, 120, 116, 28});
    BitBtn4 = button(GroupBox4, QStringLiteral("BitBtn4"), QStringLiteral("登録・変更"), {136, 120, 116, 28});
    BitBtn5 = button(GroupBox4, QStringLiteral("BitBtn5"), QStringLiteral("削除"), {270, 120, 116, 28});
    BitBtn6 = button(GroupBox4, QStringLiteral("BitBtn6"), QStringLiteral("削除復活"), {394, 120, 116, 28});

    m_edit4Field = ShiftJisField::attach(Edit4, TableDefinition::NameCapacity);
    m_edit5Field = ShiftJisField::attach(Edit5, TableDefinition::NameCapacity);
    m_comboBox1Field = ShiftJisField::attach(ComboBox1->lineEdit(), TableDefinition::NameCapacity);
    m_comboBox2Field = ShiftJisField::attach(ComboBox2->lineEdit(), TableDefinition::NameCapacity);
    // The extension is added by the program: a "." typed into the file name is refused with a word.
    WidgetEvents* const fileNameEvents = WidgetEvents::of(Edit5);
    fileNameEvents->refuse(QStringLiteral("."));
    connect(fileNameEvents, &WidgetEvents::refused, this,
            [this] { UserDialogs::show(this, MessageIcon::Information, Messages::ExtensionAutomatic); });
    connect(ListView1, &ReportList::rowChosen, this, &TableDefinitionsPage::ListView1Click);
    // Enter in the table's name registers it, as "登録・変更" does.
    connect(Edit4, &QLineEdit::returnPressed, BitBtn4, &QPushButton::click);
    Keyboard::openChoicesByKey(ComboBox1);
    Keyboard::openChoicesByKey(ComboBox2);

    const auto guardedClick = [this](QPushButton* source, void (TableDefinitionsPage::*handler)()) {
        connect(source, &QPushButton::clicked, this,
                [this, handler] { UserDialogs::guarded(this, [this, handler] { (this->*handler)(); }); });
    };
    guardedClick(Button2, &TableDefinitionsPage::Button2Click);
    guardedClick(Button3, &TableDefinitionsPage::Button3Click);
    guardedClick(BitBtn3, &TableDefinitionsPage::BitBtn3Click);
    guardedClick(BitBtn4, &TableDefinitionsPage::BitBtn4Click);
    guardedClick(BitBtn5, &TableDefinitionsPage::BitBtn5Click);
    guardedClick(BitBtn6, &TableDefinitionsPage::BitBtn6Click);
}

void TableDefinitionsPage::LoadTableLists() {
    const TableDefinitionFile file(m_programFolder);
    const DefinitionList list = file.readAll();
    ListView1->setRowCount(0);
    for (const NumberedDefinition& entry : list.records) {
        const TableDefinition& definition = entry.definition;
        if (definition.Deleted) {
            continue;
        }
        appendRow(ListView1, {QString::number(entry.number), ShiftJis::decode(definition.TableName),
                              ShiftJis::decode(definition.FileName), ShiftJis::decode(definition.HeaderName),
                              ShiftJis::decode(definition.FooterName)});
    }
    emit tablesListed(list.records);
    if (list.damagedTail) {
        throw file.damagedTailError();
    }
}

int TableDefinitionsPage::editedNumber() const {
    bool ok = false;
    const int number = Edit3->text().toInt(&ok);
    return ok && number >= 0 ? number : -1;
}

void TableDefinitionsPage::ListView1Click() {
    const int row = selectedRow(ListView1);
    if (row < 0) {
        return;
    }
    UserDialogs::guarded(this, [this, row] {
        const int number = ListView1->item(row, 0)->text().toInt();
        const std::optional<TableDefinition> definition = TableDefinitionFile(m_programFolder).read(number);
        if (!definition) {
            UserDialogs::show(this, MessageIcon::Error, Messages::NoTable);
            return;
        }
        Edit3->setText(QString::number(number));
        m_edit4Field->setBytes(definition->TableName);
        m_edit5Field->setBytes(definition->FileName);
        m_comboBox1Field->setBytes(definition->HeaderName);
        m_comboBox2Field->setBytes(definition->FooterName);
        m_currentDefinition.TableName = definition->TableName;
        m_currentDefinition.FileName = definition->FileName;
        m_currentDefinition.HeaderName = definition->HeaderName;
        m_currentDefinition.FooterName = definition->FooterName;
        loadDefinitionIntoDialogs(*definition);
    });
}

void TableDefinitionsPage::addDefinitionPage(DefinitionPage* page) {
    if (!m_definitionPages.contains(page)) {
        m_definitionPages.append(page);
    }
}

void TableDefinitionsPage::removeDefinitionPage(DefinitionPage* page) {
    m_definitionPages.removeAll(page);
}

void TableDefinitionsPage::loadDefinitionIntoDialogs(const TableDefinition& definition) {
    for (DefinitionPage* page : std::as_const(m_definitionPages)) {
        page->loadDefinition(definition);
    }
}

void TableDefinitionsPage::BitBtn3Click() {
    TableDefinitionFile(m_programFolder).openOrCreate();
    ResetDefinition();
    Edit4->setFocus();
}

void TableDefinitionsPage::ResetDefinition() {
    m_currentDefinition = TableDefinition();
    emptyEditorFields();
    for (DefinitionPage* page : std::as_const(m_definitionPages)) {
        page->resetControls();
    }
}

void TableDefinitionsPage::emptyEditorFields() {
    Edit3->clear();
    Edit4->clear();
    Edit5->clear();
    ComboBox1->setEditText(QString());
    ComboBox2->setEditText(QString());
}

void TableDefinitionsPage::BitBtn4Click() {
    if (Edit4->text().isEmpty()) {
        UserDialogs::show(this, MessageIcon::Error, Messages::TableNameRequired);
        Edit4->setFocus();
        return;
    }
    if (Edit5->text().isEmpty()) {
        UserDialogs::show(this, MessageIcon::Error, Messages::FileNameRequired);
        Edit5->setFocus();
        return;
    }
    // The file name is joined to the data and HTML folders as it stands: a separator or ".." in it
    // would reach outside them.
    if (!isUsableFileName(Edit5->text())) {
        UserDialogs::show(this, MessageIcon::Error, Messages::FileNameUnusable);
        Edit5->setFocus();
        return;
    }
    m_currentDefinition.Deleted = false;
    GatherDefinition();
    const TableDefinitionFile file(m_programFolder);
    const int number = editedNumber();
    std::unique_ptr<TableDataRename> renaming;
    if (number >= 0 && !renameDataFiles(number, renaming)) {
        return;
    }
    if (number >= 0) {
        try {
            file.write(number, m_currentDefinition);
        } catch (const IoError&) {
            // The definition still names the old files: they go back to that name.
            if (renaming) {
                renaming->putBack();
            }
            throw;
        }
    } else {
        file.append(m_currentDefinition);
    }
    const QString newName = Edit5->text();
    emptyEditorFields();
    LoadTableLists();
    if (renaming) {
        // The page under the old name is not the renamed table's any more, but it may be linked to
        // from elsewhere: it stays, and the user hears of it.
        const QString oldPage = resolveStoredPath(ShiftJis::decode(m_folders.settings().HtmlFolder) +
                                                  renaming->oldName() + QStringLiteral(".html"));
        UserDialogs::show(this, MessageIcon::Information,
                          QFileInfo(oldPage).isFile() ? Messages::dataFilesRenamedPageKept(newName, oldPage)
                                                      : Messages::dataFilesRenamed(newName));
    }
}

bool TableDefinitionsPage::renameDataFiles(int number, std::unique_ptr<TableDataRename>& renaming) {
    const std::optional<TableDefinition> stored = TableDefinitionFile(m_programFolder).read(number);
    const QByteArray& newName = m_currentDefinition.FileName;
    // A stored name that could reach outside the data folder names no files of this table.
    if (!stored || stored->FileName == newName || !isUsableStoredFileName(stored->FileName)) {
        return true;
    }
    auto candidate =
        std::make_unique<TableDataRename>(ShiftJis::decode(m_folders.settings().DataFolder),
                                          ShiftJis::decode(stored->FileName), ShiftJis::decode(newName));
    if (!candidate->hasDataFiles()) {
        return true;
    }
    const Answer answer = UserDialogs::askYesNoCancel(
        this, MessageIcon::Question, Messages::renameDataFilesQuestion(ShiftJis::decode(newName)),
        Answer::Yes);
    if (answer != Answer::Yes) {
        return answer == Answer::No;
    }
    const TableDataRename::Result result = candidate->run();
    switch (result.outcome) {
    case TableDataRename::Outcome::Renamed:
        renaming = std::move(candidate);
        return true;
    case TableDataRename::Outcome::Locked:
        UserDialogs::show(this, MessageIcon::Error,
                          Messages::dataFilesOfOpenTable(
                              Messages::tableLabel(number, ShiftJis::decode(stored->TableName))));
        return false;
    case TableDataRename::Outcome::TargetExists:
        UserDialogs::show(this, MessageIcon::Error, Messages::dataFileInTheWay(result.inTheWay));
        return false;
    case TableDataRename::Outcome::Failed:
        UserDialogs::show(this, MessageIcon::Error,
                          Messages::dataFilesNotRenamed(result.failedFrom, result.failedTo,
                                                        result.error->reason(), result.putBack,
                                                        result.notPutBack),
                          UserDialogs::IoErrorCaption);
        return false;
    }
    return false;
}

void TableDefinitionsPage::followColumnCount(int number, int columnCount) {
    if (number < 0 || number != editedNumber()) {
        return;
    }
    GatherDefinition();
    m_currentDefinition.ColumnCount = quint16(columnCount);
    loadDefinitionIntoDialogs(m_currentDefinition);
}

void TableDefinitionsPage::GatherDefinition() {
    m_currentDefinition.TableName = m_edit4Field->bytes();
    m_currentDefinition.FileName = m_edit5Field->bytes();
    m_currentDefinition.HeaderName = m_comboBox1Field->bytes();
    m_currentDefinition.FooterName = m_comboBox2Field->bytes();
    for (const DefinitionPage* page : std::as_const(m_definitionPages)) {
        page->gatherInto(m_currentDefinition);
    }
}

void TableDefinitionsPage::BitBtn5Click() {
    const int number = editedNumber();
    if (number < 0) {
        UserDialogs::show(this, MessageIcon::Error, Messages::SelectTable);
        return;
    }
    if (!UserDialogs::askYesNo(this, MessageIcon::Question, Messages::ConfirmDelete, Answer::No)) {
        return;
    }
    TableDefinitionFile(m_programFolder).setDeleted(number, true);
    // The fields no longer name a listed definition: a register now appends a new one.
    emptyEditorFields();
    LoadTableLists();
}

void TableDefinitionsPage::BitBtn6Click() {
    QList<NumberedDefinition> deleted;
    for (const NumberedDefinition& entry : TableDefinitionFile(m_programFolder).readAll().records) {
        if (entry.definition.Deleted) {
            deleted.append(entry);
        }
    }
    if (deleted.isEmpty()) {
        UserDialogs::show(this, MessageIcon::Information, Messages::NothingToRestore);
        return;
    }
    auto* chooser = window()->findChild<RestoreDefinitionWindow*>();
    if (chooser == nullptr) {
        chooser = new RestoreDefinitionWindow(window());
        connect(chooser, &RestoreDefinitionWindow::restoreChosen, this, [this](int number) {
            UserDialogs::guarded(this, [this, number] {
                TableDefinitionFile(m_programFolder).setDeleted(number, false);
                LoadTableLists();
            });
        });
    }
    chooser->showDefinitions(deleted);
}

void TableDefinitionsPage::Button2Click() {
    if (Edit3->text().isEmpty()) {
        UserDialogs::show(this, MessageIcon::Error, Messages::SelectTable);
        return;
    }
    emit tableSettingsRequested();
}

void TableDefinitionsPage::Button3Click() {
    if (Edit3->text().isEmpty()) {
        UserDialogs::show(this, MessageIcon::Error, Messages::SelectTable);
        return;
    }
    emit cellSettingsRequested();
}

void TableDefinitionsPage::setSnippetChoices(SnippetKind kind, const QStringList& choices) {
    QComboBox* const box = kind == SnippetKind::Header ? ComboBox1 : ComboBox2;
    // Refilling the choice list leaves the text typed or loaded into it alone.
    const QString choiceText = box->currentText();
    box->clear();
    box->addItems(choices);
    box->setEditText(choiceText);
}

} // namespace kelvano
