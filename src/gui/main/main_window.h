#pragma once

#include "core/store/program_settings.h"
#include "core/store/settings_record.h"
#include "core/store/snippet_store.h"
#include "core/store/table_definition.h"
#include "gui/dialogs/definition_host.h"

#include <QList>
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <memory>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace kelvano {

class DataPage;
class EditedTable;
class FolderSettingsPage;
class TableDefinitionsPage;
class HelpWindow;
class PagePreviewWindow;
class ShiftJisField;
class TitlePage;
class ZelStringEX;

/// The main window: the title page, the data page, the folder settings, the table definitions and the
/// header and footer editor. It owns the folder settings in force, the program folder and the
/// definition being edited for the whole run. It asks the other windows for what it needs through its
/// signals and the small interfaces given to it when the windows are wired at start-up.
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

    /// Puts a folder chosen in the directory picker into the field of its target (1 data, 2 HTML,
    /// 3 image).
    void FolderPicked(int target, const QString& folderWithSeparator);

    // Frame
    QTabWidget* PageControl1;
    QWidget* TabSheet5;
    QPushButton* BitBtn7;
    QPushButton* BitBtn17;
    ZelStringEX* ZelStringEX1;

    // Header and footer page
    QPlainTextEdit* Memo1;
    QGroupBox* GroupBox5;
    QTableWidget* ListView3;
    QLineEdit* Edit7;
    QLineEdit* Edit9;
    QPushButton* BitBtn11;
    QPushButton* BitBtn12;
    QPushButton* BitBtn13;
    QGroupBox* GroupBox6;
    QTableWidget* ListView4;
    QLineEdit* Edit8;
    QLineEdit* Edit10;
    QPushButton* BitBtn14;
    QPushButton* BitBtn15;
    QPushButton* BitBtn16;
    /// "ひな形" of the header side and of the footer side.
    QPushButton* BitBtn18;
    QPushButton* BitBtn19;

signals:
    /// The program is to end: the settings have been written (or their failure reported).
    void programEnded();
    /// The directory picker is wanted on `folder`, for the folder field of `target` (1 data, 2 HTML,
    /// 3 image).
    void folderPickerRequested(const QString& folder, int target);
    /// The table-wide settings dialog is wanted.
    void tableSettingsRequested();
    /// The cell colour dialog is wanted, from its first column and row.
    void cellSettingsRequested();
    /// A table is to be opened in the table data editor. `settings` are the folder settings in force.
    void tableOpenRequested(const SettingsRecord& settings, const QString& programFolder,
                            const QByteArray& fileName, int columnCount);
    /// The picture picker's folder tree is to be positioned on `folder`.
    void pictureFolderChosen(const QString& folder);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    /// One side of the header and footer editor.
    struct SnippetSide {
        SnippetKind kind;
        QTableWidget* list;
        QLineEdit* number;
        QLineEdit* name;
        ShiftJisField* nameField;
        const QString* nameRequired;
        const QString* colonRefused;
        const QString* bodyMissing;
    };

    void buildSnippetPage();

    void FormCreate();
    void FormDestroy();

    /// Reloads the table and snippet lists when the data folder in force is not the one they show.
    void followDataFolder();

    // Header and footer editor
    void snippetListClick(SnippetSide& side, SnippetSide& other);
    void snippetNew(SnippetSide& side);
    void snippetRegister(SnippetSide& side);
    void snippetDelete(SnippetSide& side);
    /// "「名称」を削除しますか？", with the live tables whose choice names the snippet on a second line.
    QString snippetDeleteQuestion(const SnippetSide& side, int number) const;
    void snippetStarter(SnippetSide& side);
    bool fillSnippetLists(SnippetSide& side);
    /// The lines of Memo1 as stored bytes; nullopt (after the message) when a character cannot be stored.
    std::optional<QList<QByteArray>> memo1Lines();
    void clearMemo1();

    QString m_programFolder;
    QString m_helpFolder;
    /// The data folder the snippet lists were last loaded from.
    QByteArray m_listedDataFolder;
    bool m_ended = false;
    HelpWindow* m_helpWindow = nullptr;
    EditedTable* m_editedTable = nullptr;

    TitlePage* m_titlePage;
    DataPage* m_dataPage;
    FolderSettingsPage* m_folderPage;
    TableDefinitionsPage* m_tablePage;

    SnippetSide m_headerSide{};
    SnippetSide m_footerSide{};
    /// Memo1's text as last loaded from a body file, with its lines, so that an unchanged text is
    /// written back byte for byte; none once the text box has been emptied by the program.
    struct LoadedBody {
        QString text;
        QList<QByteArray> lines;
    };
    std::optional<LoadedBody> m_memo1Loaded;
};

} // namespace kelvano
