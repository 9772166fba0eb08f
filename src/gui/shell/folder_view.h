#pragma once

#include "core/shell/item_id_list.h"
#include "gui/shell/shell_module.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeWidget>

namespace kelvano {

class TFileView;
class TShellContextMenu;

/// The control that shows the tree's current folder too (the combo view), told of every move.
class FolderFollower {
public:
    virtual void followTree(const ItemIdList& absolute) = 0;
    /// The tree is going: the follower forgets it.
    virtual void unlinkFolderView() = 0;

protected:
    ~FolderFollower() = default;
};

/// The folder tree rooted at the desktop. Nodes are listed lazily, one level at the first expansion;
/// each node carries its folder's one-element identifier relative to its parent's folder.
class TFolderView : public QTreeWidget {
    Q_OBJECT

public:
    explicit TFolderView(QWidget* parent = nullptr);
    ~TFolderView() override;

    TFileView* FileView() const;
    /// Links the list both ways; null unlinks both.
    void setFileView(TFileView* view);
    TShellContextMenu* ContextMenu() const;
    /// Also selects a right-clicked node first.
    void setContextMenu(TShellContextMenu* menu);
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);
    FolderFollower* follower() const { return m_follower; }

    /// Selects the folder named by the path, expanding the tree along the way. A path the namespace
    /// does not know changes nothing; one whose walk finds no node clears the selection.
    void SelectPath(const QString& path);
    /// The parsing name of the selected node (a folder's full path); "" when none is selected.
    QString SelectedPath() const;

    /// Clears the tree and adds the desktop's node, selected and expanded one level.
    void BuildTree();

    /// The node's own identifier (the empty one for the root).
    static ItemIdList idOf(const QTreeWidgetItem* node);
    /// The node's identifier from the desktop down.
    static ItemIdList absoluteIdOf(const QTreeWidgetItem* node);

    /// Lists the node's folders under it, the first time a node marked as having children is opened.
    void populate(QTreeWidgetItem* node);
    /// Walks an absolute identifier from the root, expanding each node passed; the node reached, or
    /// null when a step finds no child.
    QTreeWidgetItem* walk(const ItemIdList& absolute);
    /// The folder object of a node: the desktop for the root.
    static FolderHandle folderOf(const QTreeWidgetItem* node);

    // What the linked controls ask of the tree.
    void selectPreviousNode();
    void selectChildOfSelected(const ItemIdList& element);
    void renameChildOfSelected(const ItemIdList& oldElement, const ItemIdList& newElement,
                               const QString& name);
    /// The follower unlinks itself (null) before it goes.
    void linkFollower(FolderFollower* follower) { m_follower = follower; }
    void unlinkFileView();
    bool rebuilding() const { return m_rebuilding; }

signals:
    /// The selection moved; raised before the linked list is refilled.
    void Change(QTreeWidgetItem* node);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void editLater(QTreeWidgetItem* node);
    void selectionMoved(QTreeWidgetItem* node);
    void labelEdited(QTreeWidgetItem* node, const QString& text);
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const ShellFolder& folder, const ItemIdList& child);
    QTreeWidgetItem* findChild(QTreeWidgetItem* node, const ItemIdList& element) const;
    void expandAndPopulate(QTreeWidgetItem* node);
    void notifyLinked(QTreeWidgetItem* node);

    QPointer<TFileView> m_fileView;
    QPointer<TShellContextMenu> m_contextMenu;
    FolderFollower* m_follower = nullptr;
    QPersistentModelIndex m_current;
    QPersistentModelIndex m_previous;
    bool m_rebuilding = false;
    bool m_rightClickSelect = false;
    bool m_readOnly = false;
};

} // namespace kelvano
