#include "gui/shell/folder_view.h"

#include "gui/shell/file_view.h"
#include "gui/shell/label_edit_delegate.h"
#include "gui/shell/shell_context_menu.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>

namespace kelvano {
namespace {

/// A node's icon: the item's small icon, and its open variant while the node is selected.
QIcon nodeIcon(const NamespaceProvider& provider, const ItemIdList& absolute) {
    const QIcon normal = provider.icon(absolute, false);
    const QIcon open = provider.icon(absolute, true);
    if (normal.isNull() || open.isNull()) {
        return normal;
    }
    QIcon icon;
    for (const int side : {16, 24, 32}) {
        icon.addPixmap(normal.pixmap(side), QIcon::Normal);
        icon.addPixmap(normal.pixmap(side, QIcon::Disabled), QIcon::Disabled);
        icon.addPixmap(open.pixmap(side), QIcon::Selected);
    }
    return icon;
}

constexpr int IdRole = Qt::UserRole;

/// Suspends drawing of a widget while it lives.
class SuspendedDrawing {
public:
    explicit SuspendedDrawing(QWidget* widget) : m_widget(widget), m_was(widget->updatesEnabled()) {
        widget->setUpdatesEnabled(false);
    }
    ~SuspendedDrawing() { m_widget->setUpdatesEnabled(m_was); }
    SuspendedDrawing(const SuspendedDrawing&) = delete;
    SuspendedDrawing& operator=(const SuspendedDrawing&) = delete;

private:
    QWidget* m_widget;
    bool m_was;
};

/// Sets a flag while it lives.
class FlagSet {
public:
    explicit FlagSet(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagSet() { m_flag = false; }
    FlagSet(const FlagSet&) = delete;
    FlagSet& operator=(const FlagSet&) = delete;

private:
    bool& m_flag;
};

} // namespace

TFolderView::TFolderView(QWidget* parent) : QTreeWidget(parent) {
    resize(200, 200);
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setItemDelegate(new LabelEditDelegate(
        [this](const QModelIndex& index, const QString& text) { labelEdited(itemFromIndex(index), text); },
        this));
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { selectionMoved(current); });
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* node) { populate(node); });
    BuildTree();
}

TFolderView::~TFolderView() {
    // The nodes go before the links; no linked control hears of it.
    m_rebuilding = true;
    disconnect(this, nullptr, this, nullptr);
    blockSignals(true);
    if (m_fileView) {
        m_fileView->linkFolderView(nullptr);
    }
    if (m_follower) {
        m_follower->unlinkFolderView();
    }
}

TFileView* TFolderView::FileView() const {
    return m_fileView;
}

TShellContextMenu* TFolderView::ContextMenu() const {
    return m_contextMenu;
}

void TFolderView::unlinkFileView() {
    m_fileView = nullptr;
}

void TFolderView::setFileView(TFileView* view) {
    if (m_fileView == view) {
        return;
    }
    if (m_fileView) {
        m_fileView->linkFolderView(nullptr);
    }
    m_fileView = view;
    if (view) {
        if (TFolderView* other = view->folderView(); other && other != this) {
            other->unlinkFileView();
        }
        view->linkFolderView(this);
        notifyLinked(currentItem());
    }
}

void TFolderView::setContextMenu(TShellContextMenu* menu) {
    m_contextMenu = menu;
    if (menu) {
        m_rightClickSelect = true;
    }
}

void TFolderView::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                             : QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
}

ItemIdList TFolderView::idOf(const QTreeWidgetItem* node) {
    if (!node) {
        return {};
    }
    return ItemIdList::fromBytes(node->data(0, IdRole).toByteArray());
}

ItemIdList TFolderView::absoluteIdOf(const QTreeWidgetItem* node) {
    if (!node) {
        return {};
    }
    QList<const QTreeWidgetItem*> chain;
    for (const QTreeWidgetItem* step = node; step->parent(); step = step->parent()) {
        chain.prepend(step);
    }
    ItemIdList absolute = ItemIdList::desktop();
    for (const QTreeWidgetItem* step : chain) {
        absolute = ItemIdList::concatenate(absolute, idOf(step));
    }
    return absolute;
}

FolderHandle TFolderView::folderOf(const QTreeWidgetItem* node) {
    if (!node || !node->parent()) {
        return FolderHandle::desktop();
    }
    return FolderHandle::bind(absoluteIdOf(node), false);
}

void TFolderView::BuildTree() {
    if (m_rebuilding) {
        return;
    }
    NamespaceProvider& provider = ShellModule::provider();
    const ItemIdList desktopId = provider.specialFolder(SpecialFolder::Desktop);
    if (desktopId.isNull()) {
        return;
    }
    const QString name = provider.desktop().displayName(desktopId, NameForm::InFolder);
    if (name.isEmpty()) {
        return;
    }
    QTreeWidgetItem* root = nullptr;
    {
        SuspendedDrawing suspended(this);
        {
            FlagSet rebuilding(m_rebuilding);
            clear();
            m_current = m_previous = QPersistentModelIndex();
            root = new QTreeWidgetItem(this, QStringList{name});
            root->setData(0, IdRole, desktopId.bytes());
            root->setIcon(0, nodeIcon(provider, desktopId));
            root->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            root->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        }
        setCurrentItem(root);
        populate(root);
        root->setExpanded(true);
    }
}

QTreeWidgetItem* TFolderView::addNode(QTreeWidgetItem* parent, const ShellFolder& folder,
                                      const ItemIdList& child) {
    NamespaceProvider& provider = ShellModule::provider();
    const ItemIdList absolute = ItemIdList::concatenate(absoluteIdOf(parent), child);
    auto* node = new QTreeWidgetItem(parent, QStringList{folder.displayName(child, NameForm::InFolder)});
    node->setData(0, IdRole, child.bytes());
    node->setIcon(0, nodeIcon(provider, absolute));
    const ItemAttributes attributes = folder.attributes(child, true);
    // Only names the namespace can change are offered for editing.
    node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                   (attributes.canRename ? Qt::ItemIsEditable : Qt::NoItemFlags));
    node->setChildIndicatorPolicy(attributes.hasSubfolders ? QTreeWidgetItem::ShowIndicator
                                                           : QTreeWidgetItem::DontShowIndicatorWhenChildless);
    return node;
}

void TFolderView::populate(QTreeWidgetItem* node) {
    if (m_rebuilding || !node || idOf(node).isNull()) {
        return;
    }
    if (node->childCount() > 0 || node->childIndicatorPolicy() != QTreeWidgetItem::ShowIndicator) {
        return;
    }
    const FolderHandle folder = folderOf(node);
    const std::optional<QList<ItemIdList>> listed =
        folder ? folder->enumerate(ListFilter::Folders) : std::nullopt;
    if (!listed) {
        if (QTreeWidgetItem* current = itemFromIndex(m_current)) {
            setCurrentItem(current);
        }
        return;
    }
    WaitCursor waiting;
    SuspendedDrawing suspended(this);
    FlagSet rebuilding(m_rebuilding);
    QList<ItemIdList> children = *listed;
    std::stable_sort(children.begin(), children.end(), [&folder](const ItemIdList& a, const ItemIdList& b) {
        return folder->compareIds(a, b) < 0;
    });
    for (const ItemIdList& child : children) {
        addNode(node, *folder.get(), child);
    }
    if (children.isEmpty()) {
        node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    }
}

void TFolderView::expandAndPopulate(QTreeWidgetItem* node) {
    populate(node);
    node->setExpanded(true);
}

QTreeWidgetItem* TFolderView::findChild(QTreeWidgetItem* node, const ItemIdList& element) const {
    const FolderHandle folder = folderOf(node);
    if (!folder) {
        return nullptr;
    }
    for (int index = 0; index < node->childCount(); ++index) {
        QTreeWidgetItem* child = node->child(index);
        if (folder->compareIds(idOf(child), element) == 0) {
            return child;
        }
    }
    return nullptr;
}

QTreeWidgetItem* TFolderView::walk(const ItemIdList& absolute) {
    QTreeWidgetItem* node = topLevelItem(0);
    if (!node || absolute.isNull()) {
        return nullptr;
    }
    expandAndPopulate(node);
    const int count = absolute.count();
    for (int index = 0; index < count && node; ++index) {
        expandAndPopulate(node);
        node = findChild(node, absolute.element(index));
    }
    return node;
}

void TFolderView::SelectPath(const QString& path) {
    const ItemIdList absolute = ShellModule::provider().parseDisplayName(path);
    if (absolute.isNull()) {
        return;
    }
    QTreeWidgetItem* node = walk(absolute);
    SuspendedDrawing suspended(this);
    if (node) {
        setCurrentItem(node);
        scrollToItem(node);
    } else {
        setCurrentItem(nullptr);
        clearSelection();
    }
}

QString TFolderView::SelectedPath() const {
    const QTreeWidgetItem* node = currentItem();
    if (!node) {
        return {};
    }
    return ShellModule::provider().desktop().displayName(absoluteIdOf(node), NameForm::Parsing);
}

void TFolderView::selectionMoved(QTreeWidgetItem* node) {
    emit Change(node);
    m_previous = m_current;
    m_current = node ? QPersistentModelIndex(indexFromItem(node)) : QPersistentModelIndex();
    if (!m_rebuilding) {
        notifyLinked(node);
    }
}

void TFolderView::notifyLinked(QTreeWidgetItem* node) {
    if (!node) {
        return;
    }
    const ItemIdList absolute = absoluteIdOf(node);
    if (m_fileView) {
        m_fileView->SetFolder(absolute);
    }
    if (m_follower) {
        m_follower->followTree(absolute);
    }
}

void TFolderView::selectPreviousNode() {
    if (QTreeWidgetItem* previous = itemFromIndex(m_previous)) {
        setCurrentItem(previous);
    }
}

void TFolderView::selectChildOfSelected(const ItemIdList& element) {
    QTreeWidgetItem* node = currentItem();
    if (!node) {
        return;
    }
    expandAndPopulate(node);
    if (QTreeWidgetItem* child = findChild(node, element)) {
        setCurrentItem(child);
    }
}

void TFolderView::renameChildOfSelected(const ItemIdList& oldElement, const ItemIdList& newElement,
                                        const QString& name) {
    QTreeWidgetItem* node = currentItem();
    if (!node) {
        return;
    }
    if (QTreeWidgetItem* child = findChild(node, oldElement)) {
        child->setText(0, name);
        child->setData(0, IdRole, newElement.bytes());
        if (m_follower) {
            m_follower->followTree(absoluteIdOf(child));
        }
    }
}

void TFolderView::labelEdited(QTreeWidgetItem* node, const QString& text) {
    if (!node || !node->parent()) {
        return;
    }
    const FolderHandle folder = folderOf(node->parent());
    if (!folder) {
        return;
    }
    const ItemIdList oldId = idOf(node);
    const ItemIdList newId = folder->setNameOf(oldId, text);
    if (newId.isNull()) {
        node->setText(0, folder->displayName(oldId, NameForm::Normal));
        return;
    }
    node->setData(0, IdRole, newId.bytes());
    node->setText(0, folder->displayName(newId, NameForm::Normal));
    if (m_follower) {
        m_follower->followTree(absoluteIdOf(node));
    }
    // The list shows the renamed folder or one below it under its old path: show it under the new one.
    for (const QTreeWidgetItem* step = currentItem(); step; step = step->parent()) {
        if (step == node) {
            notifyLinked(currentItem());
            break;
        }
    }
}

// The label editor opens once the menu has closed, or the menu's closing would end the edit at once.
void TFolderView::editLater(QTreeWidgetItem* node) {
    const QPersistentModelIndex index(indexFromItem(node));
    QTimer::singleShot(0, this, [this, index] {
        if (index.isValid()) {
            setFocus();
            edit(index);
        }
    });
}

void TFolderView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && !m_rightClickSelect) {
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void TFolderView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && m_contextMenu) {
        QTreeWidgetItem* node = currentItem();
        if (node && node->parent()) {
            const FolderHandle folder = folderOf(node->parent());
            if (folder &&
                m_contextMenu->ShowContextMenu(this, *folder.get(), idOf(node), event->position().toPoint(),
                                               [this, node] { editLater(node); })) {
                // A command that removed the folder (moved it to the trash) takes its node along.
                const QString path = folder->displayName(idOf(node), NameForm::Parsing);
                if (ShellModule::provider().parseDisplayName(path).isNull()) {
                    delete node;
                }
            }
        }
    }
    QTreeWidget::mouseReleaseEvent(event);
}

} // namespace kelvano
