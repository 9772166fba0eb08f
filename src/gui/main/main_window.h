#pragma once

#include "core/store/program_settings.h"
#include "core/store/settings_record.h"
#include "core/store/table_definition.h"
#include "gui/base/folder_target.h"
#include "gui/dialogs/definition_host.h"

#include <QByteArray>
#include <QString>
#include <QWidget>

class QPushButton;
class QTabWidget;

namespace kelvano {

class DataPage;
class EditedTable;
class FolderSettingsPage;
class HelpWindow;
class PagePreviewWindow;
class SnippetPage;
class TableDefinitionsPage;
class TitlePage;
class ZelStringEX;

/// The main window: the title page, the data page, the folder settings, the table definitions and the
/// header and footer editor, each a page of its own that it assembles and lets speak to the others. It
/// holds the program folder for the whole run, and, through its pages, the folder settings in force and
/// the definition being edited. It asks the other windows for what it needs through its signals and the
/// small interfaces given to it when the windows are wired at start-up.
class TForm1 : public QWidget, public DefinitionHost {
    Q_OBJECT

public:
    /// Builds the window and runs its create step with the settings and tables of `programFolder`
    /// (a folder text ending in "/").
    explicit TForm1(const QString& programFolder, QWidget* parent = nullptr);
    ~TForm1() override;

    const SettingsRecord& settings() const;
    /// The page encoding in force (KELVANO.INI).
    PageEncoding pageEncoding() const;
    const QString& programFolder() const override { return m_programFolder; }
    TableDefinition& currentDefinition() override;
    int editedNumber() const override;

    /// The formatting dialogs that show and gather the definition being edited.
    void addDefinitionPage(DefinitionPage* page);
    void removeDefinitionPage(DefinitionPage* page);
    /// The table data editor, asked before the program ends; none when there is no editor.
    void setEditedTable(EditedTable* table) { m_editedTable = table; }

    /// Where the help window finds its pages (beside the program unless a test says otherwise).
    void setHelpFolder(const QString& folder) { m_helpFolder = folder; }
    HelpWindow* helpWindow() const { return m_helpWindow; }
    /// The preview window, once "プレビュー" has made it.
    PagePreviewWindow* previewWindow() const;

    /// The desktop session is ending: when the session lets the program ask, the editor's unsaved rows
    /// are saved or given up as the user says (false: the user chose to stay), else they are saved
    /// unasked; then the folder settings are written. The program goes on until the session ends it.
    bool commitSession(bool mayAsk);
    /// Ends the program without a question (the system asked it to end): the editor's unsaved rows
    /// and the folder settings are written.
    void endWithoutQuestions();

    void LoadTableLists();
    void LoadSnippetLists();
    void ResetDefinition();
    void GatherDefinition() override;
    /// The column count of table `number` was raised in TABLE.DAT: the definition being edited follows.
    void followColumnCount(int number, int columnCount);

    /// Puts a folder chosen in the directory picker into the field of its target (1 data, 2 HTML,
    /// 3 image).
    void FolderPicked(FolderTarget target, const QString& folderWithSeparator);

signals:
    /// The program is to end: the settings have been written (or their failure reported).
    void programEnded();
    /// The directory picker is wanted on `folder`, for the folder field of `target` (1 data, 2 HTML,
    /// 3 image).
    void folderPickerRequested(const QString& folder, FolderTarget target);
    /// The table-wide settings dialog is wanted.
    void tableSettingsRequested();
    /// The cell colour dialog is wanted, from its first column and row.
    void cellSettingsRequested();
    /// A table is to be opened in the table data editor. `settings` are the folder settings in force;
    /// `number` and `title` name the table.
    void tableOpenRequested(const SettingsRecord& settings, const QString& programFolder,
                            const QByteArray& fileName, int columnCount, int number, const QString& title);
    /// The picture picker's folder tree is to be positioned on `folder`.
    void pictureFolderChosen(const QString& folder);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    /// Shows the help window at `page` (a file of the help folder).
    void showHelp(const QString& page);
    /// Notes in KELVANO.INI the page shown, where the next start opens.
    void keepWindowState();
    /// Reloads the table and snippet lists when the data folder in force is not the one they show.
    void followDataFolder();

    QString m_programFolder;
    QString m_helpFolder;
    bool m_ended = false;
    HelpWindow* m_helpWindow = nullptr;
    EditedTable* m_editedTable = nullptr;

    QTabWidget* PageControl1;
    TitlePage* m_titlePage;
    DataPage* m_dataPage;
    FolderSettingsPage* m_folderPage;
    TableDefinitionsPage* m_tablePage;
    SnippetPage* m_snippetPage;
    QPushButton* BitBtn7;
    QPushButton* BitBtn17;
    ZelStringEX* ZelStringEX1;
};

} // namespace kelvano
