#pragma once

#include "core/store/table_data_files.h"

#include <optional>

#include <QWidget>

class QAction;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;

namespace kelvano {

class EditedTable;

/// The link list window: the table's reusable hyperlink targets (its ".URL" list), from which the
/// editor's current cell gets its link.
class TForm8 : public QWidget {
    Q_OBJECT

public:
    explicit TForm8(QWidget* parent = nullptr);

    /// Fills the list from the table's link list and shows the window; nothing is shown when the list
    /// can be neither read nor created.
    void Open(const TableDataFiles& files);

    /// The editor whose table the list follows while it is open; none (the files given at the opening
    /// are used).
    void setEditedTable(const EditedTable* table) { m_table = table; }

signals:
    /// A link was chosen for the editor's current cell.
    void linkChosen(const QByteArray& link);

private:
    QLineEdit* Edit1;
    QListWidget* ListBox1;
    QMenu* PopupMenu1;
    QAction* N1;

    /// False (message shown) when the link list can be neither read nor created.
    bool fillList(const std::optional<QList<QByteArray>>& lines);
    /// The entry box's text as Shift-JIS; nullopt (message shown) when it holds characters it cannot.
    /// Whether `link` fits a cell; false after the message when it is longer.
    bool fitsCell(const QByteArray& link);
    std::optional<QByteArray> enteredText();
    void Edit1KeyPress();
    void ListBox1Click(QListWidgetItem* item);
    void ListBox1DblClick(QListWidgetItem* item);
    void N1Click();
    /// The table's files under the folder settings in force: the editor's table when there is an
    /// editor, else those given at the opening.
    TableDataFiles files() const;

    TableDataFiles m_files;
    const EditedTable* m_table = nullptr;
};

} // namespace kelvano
