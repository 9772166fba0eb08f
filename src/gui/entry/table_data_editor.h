#pragma once

#include "core/store/settings_record.h"
#include "core/store/table_data_files.h"
#include "core/table/table_layers.h"
#include "core/table/text_collation.h"
#include "gui/entry/edited_table.h"

#include <QHash>
#include <QPoint>
#include <QWidget>

class QAction;
class QMenu;
class QPushButton;
class QTableView;

namespace kelvano {

class LayerViewModel;
class TableDataModel;
class TableGridDelegate;

/// The table data editor: the grid in which the user types one table's rows and decorates its cells
/// with pictures, links and backgrounds, kept in the table's ".TBL" file.
class TForm5 : public QWidget, public EditedTable {
    Q_OBJECT

public:
    explicit TForm5(QWidget* parent = nullptr);
    ~TForm5() override;

    /// Opens the editor for a table: loads its rows and shows the window. When the rows shown hold
    /// changes, the user is first asked whether to save them (Cancel, or a failed save, keeps them and
    /// opens nothing). A table whose data file can neither be opened nor created is not opened.
    /// `settings` are the folder settings in force (the main window's), read again at every action,
    /// so the record must outlive the editor's use of it.
    void OpenTable(const SettingsRecord& settings, const QString& programFolder, const QByteArray& fileName,
                   int columnCount);
    /// Asked before the program ends: with unsaved changes the user chooses to save them (Yes), give
    /// them up (No) or go on working (Cancel). False when the program is to stay: Cancel, or a save
    /// that failed.
    bool mayEnd() override;
    /// Reads a table's ".TBL" file of `columnCount` columns into the cell layers; false (after the
    /// message) when it can neither be opened nor created, the rows shown then staying as they are.
    bool LoadTableData(const TableDataFiles& files, int columnCount);
    /// Writes every row to the ".TBL" file; false when it cannot be written (the old file stays).
    bool SaveTableData();
    void AutoSizeColumns();
    /// Repaints the visible cells, whose decoration markers are painted with them.
    void DrawCellMarkers();

    /// The folder settings in force.
    const SettingsRecord& settings() const;
    const QString& programFolder() const { return m_programFolder; }
    TableDataFiles dataFiles() const override;
    TableDataModel& model() { return *m_model; }
    /// The last mouse position over the text grid, in the grid's coordinates.
    QPoint lastMousePosition() const { return m_lastMouse; }

    /// The current cell's picture path (modes 0 and 1) or background path (mode 2).
    QByteArray currentPicturePath(int mode) const;
    /// Replaces the current cell's text / link (from the reference window / the link list). A text
    /// longer than a cell can store is cut at a character boundary, with a message.
    void SetCurrentCellText(const QByteArray& text);
    void SetCurrentCellLink(const QByteArray& link);

    QTableView* StringGrid1;
    QTableView* StringGrid2;
    QTableView* StringGrid3;
    QWidget* Panel1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
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

public slots:
    /// Puts a chosen picture into the current cell: to the right of the text (mode 0), to the left
    /// (mode 1), or as its background (mode 2).
    void AttachPicture(int mode, const QByteArray& path);

signals:
    /// The picture picker is wanted for a picture to the right (0), to the left (1) or a background (2).
    void picturePickerRequested(int mode);
    /// The reference window is wanted for the table's stored texts, its top left corner at `topLeft`.
    void referenceRequested(const TableDataFiles& files, QPoint topLeft);
    /// The link list is wanted for the table's links.
    void linkListRequested(const TableDataFiles& files);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    /// The close box a window manager may offer acts as "破棄・閉じる".
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenu();
    /// With unsaved changes, asks whether to save them first; false when the action is to stop.
    bool settleChanges();
    /// With unsaved changes, asks whether to give them up; false when they are to stay.
    bool confirmDiscard();
    /// Saves the rows; false (after the message) when they cannot be written.
    bool saveRows();
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
    void clearDecoration(CellLayer layer);
    void sizeViewColumns(QTableView* view, CellLayer layer);
    void setCurrent(int row, int column);
    int textWidth(QByteArrayView text);

    const SettingsRecord* m_settings = nullptr;
    QString m_programFolder;
    QByteArray m_fileName;
    int m_columnCount = 1;
    TableDataModel* m_model;
    LayerViewModel* m_pictures;
    LayerViewModel* m_links;
    TableGridDelegate* m_delegate;
    TextCollation m_collation;
    QPoint m_lastMouse;
    bool m_centred = false;
    QHash<char16_t, qreal> m_characterWidths;
};

} // namespace kelvano
