#pragma once

#include "core/shell/item_id_list.h"
#include "gui/shell/shell_module.h"

#include <QPointer>
#include <QStringList>
#include <QTreeWidget>

namespace kelvano {

class TFolderView;
class TShellContextMenu;

/// The list of one folder's items with icons and the columns name, size, type and date, filtered by
/// a list of extensions. Each item carries its one-element identifier in the list's folder.
class TFileView : public QTreeWidget {
    Q_OBJECT

public:
    enum Column { NameColumn = 0, SizeColumn = 1, TypeColumn = 2, DateColumn = 3 };

    explicit TFileView(QWidget* parent = nullptr);
    ~TFileView() override;

    const QStringList& Mask() const { return m_mask; }
    /// Extensions to list, each with its leading dot; empty lists every item.
    void setMask(const QStringList& mask) { m_mask = mask; }
    bool FileExecute() const { return m_fileExecute; }
    void setFileExecute(bool execute) { m_fileExecute = execute; }
    TShellContextMenu* ContextMenu() const;
    void setContextMenu(TShellContextMenu* menu);
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);
    TFolderView* folderView() const;
    void linkFolderView(TFolderView* tree);

    /// Shows the folder of an absolute identifier (the desktop's items for one that cannot be bound).
    void SetFolder(const ItemIdList& absolute);
    /// The full path of the selected item; "" without a folder, a selection or an identifier.
    QString SelectedPath() const;
    /// The absolute identifier of the folder shown; no identifier before the first SetFolder.
    const ItemIdList& folderId() const { return m_folderId; }

    /// Lists the folder's items again.
    void Fill();
    /// What a click on a column header does: reverses that column's direction and sorts by it.
    void ColumnClick(int column);

    static ItemIdList idOf(const QTreeWidgetItem* item);

signals:
    void Click();
    /// The selection or an item changed.
    void Change();
    /// Raised after a double click opened a file.
    void DblClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void editLater(QTreeWidgetItem* item);
    void openSelected();
    void labelEdited(QTreeWidgetItem* item, const QString& text);
    void sortItems(int column);
    QTreeWidgetItem* selectedItem() const;

    QStringList m_mask;
    bool m_fileExecute = true;
    bool m_readOnly = false;
    bool m_goingBack = false;
    QPointer<TShellContextMenu> m_contextMenu;
    QPointer<TFolderView> m_folderView;
    ItemIdList m_folderId;
    FolderHandle m_folder;
};

} // namespace kelvano
