#pragma once

#include "core/shell/item_id_list.h"

#include <QDateTime>
#include <QIcon>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace kelvano {

/// Which children a folder listing gives.
enum class ListFilter {
    Folders,              ///< folders only, hidden ones included (the tree and the combo)
    FoldersAndNonFolders, ///< everything, hidden items included (the file list)
    NonFolders,           ///< non-folders only, hidden items left out (the send-to entries)
};

/// The three forms of an item's name.
enum class NameForm {
    InFolder, ///< the name shown inside its folder (node and item texts)
    Normal,   ///< the name shown on its own (after a rename, send-to entries)
    Parsing,  ///< the text that parses back to the item: a full path for a file-system item
};

/// What the views ask about an item.
struct ItemAttributes {
    bool folder = false;
    bool link = false;
    bool hasSubfolders = false;
    bool fileSystemAncestor = false;
    bool canRename = false;
    bool canDelete = false;
};

/// The file data of a file-system item.
struct FileData {
    qint64 size = 0;
    QDateTime lastWrite;
};

/// The special folders the views ask for.
enum class SpecialFolder { Desktop, Drives, SendTo };

/// One entry of an item's context menu: a command, a separator, or a submenu.
struct ContextMenuEntry {
    QString text;
    int command = 0; ///< 1.. for a command; 0 for a separator or a submenu
    QList<ContextMenuEntry> submenu;
    bool opensSubmenu = false;
    bool isSeparator() const { return text.isEmpty() && !opensSubmenu; }
};

/// The commands of one item, and running one of them.
class ContextMenuObject {
public:
    virtual ~ContextMenuObject() = default;
    /// The entries, commands numbered from `firstCommand` on.
    virtual QList<ContextMenuEntry> entries(int firstCommand) const = 0;
    /// Runs the command at `offset` (its number minus the first command); true when it ran.
    /// `startRename` is called for the rename command, which the view carries out by label editing.
    virtual bool invoke(int offset, QWidget* owner, const std::function<void()>& startRename) = 0;
};

/// A folder of the namespace. Item identifiers passed to it are relative to it; most operations take
/// one element, `displayName`, `attributes` and `compareIds` also take longer relative lists.
class ShellFolder {
public:
    virtual ~ShellFolder() = default;

    /// The children in the namespace's order; nothing when the folder cannot be read.
    virtual std::optional<QList<ItemIdList>> enumerate(ListFilter filter) const = 0;
    virtual QString displayName(const ItemIdList& relative, NameForm form) const = 0;
    /// The item's attributes; `hasSubfolders` is looked up only when asked for, since it can take a
    /// look into the folder.
    virtual ItemAttributes attributes(const ItemIdList& relative, bool askSubfolders = false) const = 0;
    /// Negative, zero or positive for two items of this folder in the namespace's order; zero only
    /// for the same item.
    virtual int compareIds(const ItemIdList& a, const ItemIdList& b) const = 0;
    /// Renames a child; its new one-element identifier, or no identifier when refused.
    virtual ItemIdList setNameOf(const ItemIdList& child, const QString& newName) = 0;
    /// The folder object of a child folder (or of a deeper relative list); null when it is none.
    virtual std::unique_ptr<ShellFolder> bindToFolder(const ItemIdList& relative) const = 0;
    /// The context-menu object of one child; null when it has none.
    virtual std::unique_ptr<ContextMenuObject> contextMenuOf(const ItemIdList& child) const = 0;
};

/// What the shell views need of the namespace they show; one implementation works over the file
/// system.
class NamespaceProvider {
public:
    virtual ~NamespaceProvider() = default;

    /// The desktop folder, held for the provider's life.
    virtual ShellFolder& desktop() = 0;
    /// The absolute identifier of a special folder; no identifier when it cannot be had.
    virtual ItemIdList specialFolder(SpecialFolder folder) const = 0;
    /// The absolute identifier named by a path text; no identifier when the namespace does not know
    /// the path.
    virtual ItemIdList parseDisplayName(const QString& path) const = 0;
    /// The folder object of an absolute identifier; null when it names no folder (the desktop itself
    /// included: the desktop object stands for it).
    virtual std::unique_ptr<ShellFolder> bindToObject(const ItemIdList& absolute) const = 0;
    /// The item's small icon, or the variant shown for an open folder.
    virtual QIcon icon(const ItemIdList& absolute, bool open) const = 0;
    /// The size and last-write time of a file-system item; nothing for other items.
    virtual std::optional<FileData> fileData(const ItemIdList& absolute) const = 0;
    virtual QString typeName(const ItemIdList& absolute) const = 0;
    /// Runs the item's default action; true when it started.
    virtual bool open(const ItemIdList& absolute, QWidget* owner) const = 0;
};

} // namespace kelvano
