#include "gui/shell/shell_context_menu.h"

#include "gui/shell/namespace_provider.h"

#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QWidget>

namespace kelvano {
namespace {

/// Marks a send-to entry's action with the index of its send-to item.
constexpr const char* SendToProperty = "sendToIndex";

void addEntries(QMenu& menu, const QList<ContextMenuEntry>& entries) {
    for (const ContextMenuEntry& entry : entries) {
        if (entry.opensSubmenu) {
            QMenu* submenu = menu.addMenu(entry.text);
            addEntries(*submenu, entry.submenu);
        } else if (entry.isSeparator()) {
            menu.addSeparator();
        } else {
            QAction* action = menu.addAction(entry.text);
            action->setData(entry.command);
            action->setEnabled(entry.command > 0);
        }
    }
}

} // namespace

TShellContextMenu::TShellContextMenu(QObject* owner) : QObject(owner) {
    NamespaceProvider& provider = ShellModule::provider();
    const ItemIdList sendTo = provider.specialFolder(SpecialFolder::SendTo);
    if (sendTo.isNull()) {
        return;
    }
    m_sendToFolder = FolderHandle::bind(sendTo, false);
    if (!m_sendToFolder) {
        return;
    }
    if (const std::optional<QList<ItemIdList>> items = m_sendToFolder->enumerate(ListFilter::NonFolders)) {
        m_sendToItems = *items;
    }
}

TShellContextMenu::~TShellContextMenu() = default;

std::unique_ptr<QMenu> TShellContextMenu::buildMenu(const ContextMenuObject& commands,
                                                    QWidget* parent) const {
    const QList<ContextMenuEntry> entries = commands.entries(1);
    if (entries.isEmpty()) {
        return nullptr;
    }
    auto menu = std::make_unique<QMenu>(parent);
    addEntries(*menu, entries);
    QMenu* lastSubmenu = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            lastSubmenu = action->menu();
        }
    }
    if (lastSubmenu && m_sendToFolder) {
        for (int index = 0; index < m_sendToItems.size(); ++index) {
            QAction* action =
                lastSubmenu->addAction(m_sendToFolder->displayName(m_sendToItems[index], NameForm::Normal));
            action->setData(0);
            action->setProperty(SendToProperty, index);
        }
        const QList<QAction*> actions = lastSubmenu->actions();
        if (!actions.isEmpty()) {
            QAction* first = actions.first();
            lastSubmenu->removeAction(first);
            first->deleteLater();
        }
    }
    return menu;
}

bool TShellContextMenu::ShowContextMenu(QWidget* control, ShellFolder& folder, const ItemIdList& item,
                                        const QPoint& point, const std::function<void()>& startRename) {
    const std::unique_ptr<ContextMenuObject> commands = folder.contextMenuOf(item);
    if (!commands) {
        return false;
    }
    QWidget* ownerWindow = control ? control->window() : nullptr;
    if (auto* ownerWidget = qobject_cast<QWidget*>(parent())) {
        ownerWindow = ownerWidget->window();
    }
    const std::unique_ptr<QMenu> menu = buildMenu(*commands, control);
    if (!menu || menu->actions().isEmpty()) {
        return false;
    }
    const QPoint screenPoint = control ? control->mapToGlobal(point) : point;
    QAction* chosen = menu->exec(screenPoint);
    if (!chosen) {
        return false;
    }
    const QVariant sendToIndex = chosen->property(SendToProperty);
    if (sendToIndex.isValid()) {
        return sendTo(sendToIndex.toInt(), folder.displayName(item, NameForm::Parsing));
    }
    const int command = chosen->data().toInt();
    if (command <= 0 || command > LastCommand) {
        return false;
    }
    return commands->invoke(command - 1, ownerWindow, startRename);
}

// A send-to entry that is a program (or a link to one) is started with the chosen item's path.
bool TShellContextMenu::sendTo(int index, const QString& itemPath) const {
    if (!m_sendToFolder || index < 0 || index >= m_sendToItems.size() || itemPath.isEmpty()) {
        return false;
    }
    const QFileInfo program(m_sendToFolder->displayName(m_sendToItems[index], NameForm::Parsing));
    if (!program.isExecutable()) {
        return false;
    }
    return QProcess::startDetached(program.absoluteFilePath(), {itemPath});
}

} // namespace kelvano
