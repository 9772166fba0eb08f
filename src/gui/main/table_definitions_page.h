#pragma once

#include "core/store/snippet_store.h"
#include "core/store/table_definition.h"
#include "core/store/table_definition_file.h"
#include "gui/dialogs/definition_host.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace kelvano {

class FolderSettingsPage;
class ReportList;
class ShiftJisField;
class TableDataRename;

/// The table definitions page (TabSheet4): the list of the registered tables and the fields of the
/// definition being edited, which it registers, deletes and restores in TABLE.DAT. It holds that
/// definition for the whole run and shares it with the formatting dialogs.
class TableDefinitionsPage : public QWidget {
    Q_OBJECT

public:
    /// The page renames data files and names pages with the folder settings `folders` holds.
    TableDefinitionsPage(const QString& programFolder, const FolderSettingsPage& folders,
                         QWidget* parent = nullptr);

    TableDefinition& currentDefinition() { return m_currentDefinition; }
    /// The number of the definition in the fields, or -1 for a new one.
    int editedNumber() const;
    /// The formatting dialogs that show and gather the definition being edited.
    void addDefinitionPage(DefinitionPage* page);
    void removeDefinitionPage(DefinitionPage* page);

    /// Lists the tables TABLE.DAT holds, here and through `tablesListed`.
    void LoadTableLists();
    void ResetDefinition();
    void GatherDefinition();
    /// The column count of table `number` was raised in TABLE.DAT (by the editor): when it is the
    /// definition being edited, it and the formatting dialogs take the count, the rest as edited.
    void followColumnCount(int number, int columnCount);
    /// The snippets a table may choose as its header or its footer; the text in the choice box stays.
    void setSnippetChoices(SnippetKind kind, const QStringList& choices);

signals:
    /// TABLE.DAT has been read for the lists: the data page lists the same tables.
    void tablesListed(const QList<NumberedDefinition>& tables);
    /// The table-wide settings dialog is wanted.
    void tableSettingsRequested();
    /// The cell colour dialog is wanted, from its first column and row.
    void cellSettingsRequested();

private:
    void ListView1Click();
    void BitBtn3Click();
    void BitBtn4Click();
    /// Before a registered table is stored under a new file name: asks whether its data files take
    /// the new name and renames them. False when nothing is to be registered (the user cancelled, or
    /// the files could not be renamed, after the message); `renaming` then holds a finished rename,
    /// and the table's lock, until the definition is stored.
    bool renameDataFiles(int number, std::unique_ptr<TableDataRename>& renaming);
    void BitBtn5Click();
    void BitBtn6Click();
    void Button2Click();
    void Button3Click();
    void loadDefinitionIntoDialogs(const TableDefinition& definition);
    void emptyEditorFields();

    QString m_programFolder;
    const FolderSettingsPage& m_folders;
    TableDefinition m_currentDefinition;
    QList<DefinitionPage*> m_definitionPages;

    ReportList* ListView1;
    QGroupBox* GroupBox4;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QComboBox* ComboBox1;
    QComboBox* ComboBox2;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* BitBtn3;
    QPushButton* BitBtn4;
    QPushButton* BitBtn5;
    QPushButton* BitBtn6;
    ShiftJisField* m_edit4Field;
    ShiftJisField* m_edit5Field;
    ShiftJisField* m_comboBox1Field;
    ShiftJisField* m_comboBox2Field;
};

} // namespace kelvano
