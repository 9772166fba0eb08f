#pragma once

#include "core/shell/item_id_list.h"
#include "gui/shell/shell_module.h"

#include <QObject>
#include <QPoint>
#include <functional>
#include <memory>

class QMenu;
class QWidget;

namespace kelvano {

class ContextMenuObject;
class ShellFolder;

/// Shows the namespace's context menu of one item, with the entries of the send-to folder added to
/// the menu's last submenu.
class TShellContextMenu : public QObject {
    Q_OBJECT

public:
    /// The highest command number the namespace may use.
    static constexpr int LastCommand = 32767;

    /// Reads the send-to folder's items once.
    explicit TShellContextMenu(QObject* owner = nullptr);
    ~TShellContextMenu() override;

    /// Shows the menu of `item` in `folder` at a point of `control` and runs the command chosen;
    /// true when one ran. `startRename` begins the control's label editing of the item.
    bool ShowContextMenu(QWidget* control, ShellFolder& folder, const ItemIdList& item, const QPoint& point,
                         const std::function<void()>& startRename);

    /// The pop-up menu for the item's commands: the namespace's entries, with the send-to entries
    /// appended to the last submenu and that submenu's first entry removed. Null when the item has
    /// no commands.
    std::unique_ptr<QMenu> buildMenu(const ContextMenuObject& commands, QWidget* parent) const;

    const QList<ItemIdList>& sendToItems() const { return m_sendToItems; }

private:
    bool sendTo(int index, const QString& itemPath) const;

    FolderHandle m_sendToFolder;
    QList<ItemIdList> m_sendToItems;
};

} // namespace kelvano
