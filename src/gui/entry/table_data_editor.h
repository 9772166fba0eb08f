#pragma once

#include "core/store/settings_record.h"
#include "core/store/table_data_files.h"
#include "core/table/delimited_text.h"
#include "core/table/table_layers.h"
#include "core/table/text_collation.h"
#include "gui/base/edited_table.h"
#include "gui/entry/picture_use.h"
#include "gui/entry/table_document.h"

#include <QHash>
#include <QPoint>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class QAction;
class QMenu;
class QPushButton;
class QTableView;
class QUndoStack;

namespace kelvano {

class LayerViewModel;
class TableDataModel;
class TableGridDelegate;
struct CellTextImport;
struct CsvFile;
struct ImportedRecords;
struct SheetFile;

/// The table data editor: the grid in which the user types one table's rows and decorates its cells
/// with pictures, links and backgrounds, kept in the table's ".TBL" file.
class TForm5 : public QWidget, public EditedTable {
    Q_OBJECT

public:
    explicit TForm5(QWidget* parent = nullptr);
    ~TForm5() override;

    /// Opens the editor for a table: loads its rows and shows the window. When the rows shown hold
    /// changes, the user is first asked whether to save them (Cancel, or a failed save, keeps them and
    /// opens nothing). A table whose data file can neither be opened nor created, or that another
    /// program holds, is not opened. The table keeps the folder settings, program folder and file
    /// name it was opened with for as long as it is open: its rows go back where they came from. The
    /// window's title names the table by `number` and `title` (none with a number below 0); its first
    /// opening puts it where it was left last.
    void OpenTable(const SettingsRecord& settings, const QString& programFolder, const QByteArray& fileName,
                   int columnCount, int number = -1, const QString& title = QString());
    /// Asked before the program ends: with unsaved changes the user chooses to save them (Yes), give
    /// them up (No) or go on working (Cancel). False when the program is to stay: Cancel, or a save
    /// that failed.
    bool mayEnd() override;
    /// Saves unsaved changes without a question or a message; false when they could not be written.
    bool saveUnasked() override;
    /// Reads a table's ".TBL" file into the cell layers; false (after the message) when it can neither
    /// be opened nor created or another program holds it, the rows shown then staying as they are.
    bool LoadTableData(const TableDocument::Source& source);
    void AutoSizeColumns();
    /// Repaints the visible cells, whose decoration markers are painted with them.
    void DrawCellMarkers();

    /// The folder settings the table was opened with.
    const SettingsRecord& settings() const { return m_document->source().settings; }
    const QString& programFolder() const { return m_document->source().programFolder; }
    /// The table open in the window: its source, rows, undo history and lock.
    TableDocument& document() { return *m_document; }
    TableDataFiles dataFiles() const override;
    TableDataModel& model() { return *m_model; }
    /// The last mouse position over the text grid, in the grid's coordinates.
    QPoint lastMousePosition() const { return m_lastMouse; }

    /// The current cell's picture path, or its background path for a background.
    QByteArray currentPicturePath(PictureUse use) const;
    /// Replaces the current cell's text / link (from the reference window / the link list). A text
    /// longer than a cell can store is cut at a character boundary, with a message.
    void SetCurrentCellText(const QByteArray& text);
    void SetCurrentCellLink(const QByteArray& link);

    /// Every change of the rows, for undo and redo. Its clean state is the rows as last saved or opened.
    QUndoStack* undoStack() const { return m_undo; }
    /// True when the rows differ from the state last saved or opened (a text being typed counts).
    bool isModified();

    /// The selected cells' texts to the clipboard, tab-separated as spreadsheets exchange them (and as
    /// an HTML table); Ctrl+C.
    void CopyCells();
    /// Copies, then empties the selected texts as one change; Ctrl+X.
    void CutCells();
    /// Empties the selected texts, their decorations staying; Delete.
    void ClearCells();
    /// Pastes the clipboard's text at the selection's top left cell; Ctrl+V.
    void PasteCells();
    /// Pastes tab-separated text as one change: rows are added below as needed (up to the row limit),
    /// columns past the last are cut off, and texts that cannot be stored are reported once.
    void PasteText(const QString& text);

    /// How the editor asks for CSV files and confirms an import (Qt's file dialogs and the preview
    /// dialog); tests answer in their place.
    struct CsvPrompts {
        /// The file to read; empty when cancelled.
        std::function<QString(QWidget*)> fileToRead;
        /// The file to write and its encoding; an empty path when cancelled.
        std::function<std::pair<QString, TextEncoding>(QWidget*)> fileToWrite;
        /// Whether to add the rows after the table's (true) or put them in its rows' place; nullopt
        /// when cancelled.
        std::function<std::optional<bool>(QWidget*, const CsvFile&, int columnCount)> confirmImport;
        /// The spreadsheet file to read; empty when cancelled.
        std::function<QString(QWidget*)> sheetToRead;
        /// As confirmImport, for a spreadsheet's sheet: the sheet may be changed for another of the file.
        std::function<std::optional<bool>(QWidget*, SheetFile&, int columnCount)> confirmSheetImport;
    };
    void setCsvPrompts(CsvPrompts prompts) { m_csvPrompts = std::move(prompts); }
    /// A CSV file's records as rows without decorations, as one change: after the table's rows, or in
    /// their place (also when the table holds only its one empty row). Refused as a whole, the cells
    /// named, when a text Shift-JIS cannot hold; otherwise checked and reported as a paste is.
    void ImportCsv(const CsvFile& file, bool append);
    /// A spreadsheet's sheet the same way, its cells as the spreadsheet shows them.
    void ImportSheet(const SheetFile& file, bool append);
    /// Writes the texts of every row as CSV.
    void ExportCsv(const QString& path, TextEncoding encoding);

public slots:
    /// Puts a chosen picture into the current cell: to the right of the text, to its left, or as its
    /// background.
    void AttachPicture(kelvano::PictureUse use, const QByteArray& path);

signals:
    /// The picture picker is wanted for a picture to the right of the text, to its left, or a background.
    void picturePickerRequested(kelvano::PictureUse use);
    /// The reference window is wanted for the table's stored texts, its top left corner at `topLeft`.
    void referenceRequested(const TableDataFiles& files, QPoint topLeft);
    /// The link list is wanted for the table's links.
    void linkListRequested(const TableDataFiles& files);
    /// The column count of table `number` has been raised to `columnCount` and stored in TABLE.DAT.
    void columnCountStored(int number, int columnCount);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    /// The close box a window manager may offer asks about unsaved rows as the program's end does.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    /// "データ表示", "画像名表示" and "URL表示".
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QTableView* StringGrid1;
    QTableView* StringGrid2;
    QTableView* StringGrid3;
    QWidget* Panel1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QMenu* PopupMenu1;
    QAction* N3;
    QAction* N9;
    QAction* N10;
    QAction* N12;
    QAction* N13;
    QAction* N4;
    QAction* N14;
    QAction* N15;
    QAction* N11;
    QAction* N16;
    QAction* N17;
    QAction* gyou1;
    QAction* N18;
    QAction* Delete1;
    QAction* N19;
    QAction* N20;
    QAction* soto1;
    QAction* N8;
    QAction* Undo1;
    QAction* Redo1;
    QAction* NumSort1;
    QAction* NumSort2;
    QAction* CsvRead1;
    QAction* SheetRead1;
    QAction* CsvWrite1;

    void buildMenu();
    void buildDecorationItems();
    void buildRowItems();
    void buildSortItems();
    void buildUndoItems();
    QMenu* addSubmenu(const QString& name, const QString& caption);
    QAction* addItem(QMenu* menu, const QString& name, const QString& caption,
                     const std::function<void()>& handler);
    /// With unsaved changes, asks whether to save them first; false when the action is to stop.
    bool settleChanges();
    /// With unsaved changes, asks whether to give them up; false when they are to stay.
    bool confirmDiscard();
    /// Saves the rows, asking first when the data file changed on disk since it was read or last
    /// written; false (after the message) when they were not saved.
    bool saveRows();
    /// Saves the rows without a question or a message; false when they could not be written.
    bool storeRows();
    /// The table is no longer open: the window hides, the table's lock is released.
    void closeTable();
    /// Notes the window's place and closes the document.
    void closeDocument();
    /// Acts on Enter, Ctrl+Up and Ctrl+Down; false for other keys.
    bool StringGrid1KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void EnterKey();
    void StringGrid1MouseDown(Qt::MouseButton button, QPoint position);
    void StringGrid1DblClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void N12Click();
    void N14Click();
    void N18Click();
    void Delete1Click();
    void N19Click();
    void N20Click();
    void sortRows(Qt::SortOrder order);
    void sortRowsNumerically(Qt::SortOrder order);
    void CsvRead1Click();
    void SheetRead1Click();
    /// The records a file holds as rows, as one change. A file wider than the table asks with
    /// `columnsQuestion` whether to raise the column count (columnsToImport), which is stored
    /// (storeColumnCount) once the records are taken; `refused` ends the message of a refused import.
    void importRecords(const ImportedRecords& records, bool append, const QString& columnsQuestion,
                       const QString& refused);
    /// The columns a file with `fileColumns` columns comes in with: when the table shows fewer (and has
    /// a number in TABLE.DAT), asks with `question` whether to raise its column count, at most to a
    /// table's most columns; on No, or asked nothing, the columns shown.
    int columnsToImport(int fileColumns, const QString& question);
    /// Stores `count` as the column count of the table's definition in TABLE.DAT (a higher stored
    /// count stays) and shows that many columns; false after the message when the definition is gone,
    /// an IoError when it cannot be written (nothing raised then).
    bool storeColumnCount(int count);
    void CsvWrite1Click();
    void undoOrRedo(bool redo);
    /// Closes the in-place editor, its text kept, and ends the typed text's step.
    void closeCellEditor();
    /// Runs a change of the rows `first` to `first + count - 1` made in place (rows may be added or
    /// removed among them) and records it as one undoable step; gives back what `change` gives.
    bool recordRowChange(int first, int count, const std::function<bool()>& change);
    /// Replaces `count` rows from `first` as one undoable step; false past the row limit.
    bool replaceRowsStep(int first, int count, std::vector<TableLayers::Row> after);
    /// Puts the rows in a new order (row i from `order[i]`) as one undoable step.
    void permuteRowsStep(std::vector<int> order);
    /// A text being typed becomes an undoable step once its cell is left or its editor closed.
    void beginTyping(int row, int column);
    void finishTyping();
    /// The selected cells (the current cell when none is); rows and columns from 0, end exclusive.
    QRect selectedCells() const;
    /// Shows, in one message, what of texts from another program could not be taken as they were.
    void reportImport(const CellTextImport& imported, int firstRow, int firstColumn, bool rowLimit);
    void clearDecoration(CellLayer layer);
    void sizeViewColumns(QTableView* view, CellLayer layer);
    void setCurrent(int row, int column);
    int textWidth(QByteArrayView text);

    TableDocument* m_document;
    TableDataModel* m_model;
    LayerViewModel* m_pictures;
    LayerViewModel* m_links;
    TableGridDelegate* m_delegate;
    TextCollation m_collation;
    TextCollation m_numericCollation{TextCollation::Digits::Numeric};
    QUndoStack* m_undo;
    struct Typing {
        int row;
        int column;
        std::vector<TableLayers::Row> before;
    };
    std::optional<Typing> m_typing;
    CsvPrompts m_csvPrompts;
    QPoint m_lastMouse;
    bool m_centred = false;
    QHash<char16_t, qreal> m_characterWidths;
    std::array<qreal, 128> m_asciiWidths{};
};

} // namespace kelvano
