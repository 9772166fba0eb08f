#pragma once

#include "core/store/table_data_files.h"

#include <QWidget>

class QAction;
class QListWidget;
class QListWidgetItem;
class QMenu;

namespace kelvano {

/// The table data reference window: the texts already confirmed in the current table (its ".ALI"
/// list), one of which a double click puts into the editor's current cell.
class TForm6 : public QWidget {
    Q_OBJECT

public:
    explicit TForm6(QWidget* parent = nullptr);

    /// Refills the list from the table's reference list and shows the window with its top-left corner
    /// at `topLeft` (brought to the front when already shown); nothing is shown when the list can be
    /// neither read nor created.
    void OpenAt(const TableDataFiles& files, QPoint topLeft);
    /// False (message shown) when the reference list can be neither read nor created.
    bool LoadReferenceList(const TableDataFiles& files);

signals:
    /// A stored text was chosen for the editor's current cell.
    void textChosen(const QByteArray& text);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    QListWidget* ListBox1;
    /// The entries' popup menu: "削除" removes the entry from the table's reference list, "閉じる"
    /// closes the window. A right click beside the entries closes it at once.
    QMenu* PopupMenu1;
    QAction* N1;
    QAction* N2;

    void ListBox1DblClick(QListWidgetItem* item);
    void N1Click();

    TableDataFiles m_files{QString(), QString()};
};

} // namespace kelvano
