#include "gui/shell/file_view.h"

#include "core/shell/list_texts.h"
#include "gui/shell/folder_view.h"
#include "gui/shell/label_edit_delegate.h"
#include "gui/shell/shell_context_menu.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace kelvano {
namespace {

constexpr int IdRole = Qt::UserRole;
/// Set for an item that is a folder or a file-system ancestor: double click moves the tree into it.
constexpr int BrowsableRole = Qt::UserRole + 1;

/// The icon with the shortcut arrow drawn over its lower left corner.
QIcon withLinkOverlay(const QIcon& icon) {
    constexpr int Side = 16;
    QPixmap pixmap = icon.pixmap(Side, Side);
    if (pixmap.isNull()) {
        pixmap = QPixmap(Side, Side);
        pixmap.fill(Qt::transparent);
    }
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect box(0, Side / 2, Side / 2, Side / 2);
    painter.fillRect(box, Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(Qt::blue, 1.5));
    painter.drawLine(QPointF(2, Side - 2), QPointF(Side / 2 - 2, Side / 2 + 2));
    painter.drawLine(QPointF(Side / 2 - 2, Side / 2 + 2), QPointF(3, Side / 2 + 2));
    painter.drawLine(QPointF(Side / 2 - 2, Side / 2 + 2), QPointF(Side / 2 - 2, Side - 3));
    return QIcon(pixmap);
}

} // namespace

TFileView::TFileView(QWidget* parent) : QTreeWidget(parent) {
    resize(200, 200);
    setRootIsDecorated(false);
    setSortingEnabled(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setExpandsOnDoubleClick(false);
    setColumnCount(4);
    setHeaderLabels({QStringLiteral("名前"), QStringLiteral("ｻｲｽﾞ"), QStringLiteral("ﾌｧｲﾙの種類"),
                     QStringLiteral("更新日時")});
    headerItem()->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
    const int widths[] = {120, 60, 120, 120};
    for (int column = 0; column < 4; ++column) {
        setColumnWidth(column, widths[column]);
    }
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(false);
    setItemDelegate(new LabelEditDelegate(
        [this](const QModelIndex& index, const QString& text) { labelEdited(itemFromIndex(index), text); },
        this));
    connect(header(), &QHeaderView::sectionClicked, this, &TFileView::ColumnClick);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &TFileView::Change);
    connect(this, &QTreeWidget::itemChanged, this, [this] { emit Change(); });
}

TFileView::~TFileView() {
    disconnect(this, nullptr, this, nullptr);
    blockSignals(true);
    if (m_folderView && m_folderView->FileView() == this) {
        m_folderView->unlinkFileView();
    }
}

TShellContextMenu* TFileView::ContextMenu() const {
    return m_contextMenu;
}

void TFileView::setContextMenu(TShellContextMenu* menu) {
    m_contextMenu = menu;
}

TFolderView* TFileView::folderView() const {
    return m_folderView;
}

void TFileView::linkFolderView(TFolderView* tree) {
    m_folderView = tree;
}

void TFileView::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                             : QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
}

ItemIdList TFileView::idOf(const QTreeWidgetItem* item) {
    if (!item) {
        return {};
    }
    return ItemIdList::fromBytes(item->data(NameColumn, IdRole).toByteArray());
}

void TFileView::SetFolder(const ItemIdList& absolute) {
    if (absolute.isNull()) {
        return;
    }
    m_folderId = absolute;
    m_folder = FolderHandle::bind(absolute, true);
    Fill();
}

void TFileView::Fill() {
    if (!m_folder) {
        return;
    }
    const std::optional<QList<ItemIdList>> children = m_folder->enumerate(ListFilter::FoldersAndNonFolders);
    if (!children) {
        // Back to the tree's previous folder, which refills the list; once only, so that two folders
        // that both cannot be read do not send the tree back and forth.
        if (m_folderView && !m_goingBack) {
            m_goingBack = true;
            m_folderView->selectPreviousNode();
            m_goingBack = false;
        }
        return;
    }
    NamespaceProvider& provider = ShellModule::provider();
    ShellModule::sortDirections().fill(1);
    WaitCursor waiting;
    const bool drawing = updatesEnabled();
    setUpdatesEnabled(false);
    const bool hadSelection = !selectedItems().isEmpty();
    const bool signalsWereBlocked = blockSignals(true);
    clear();
    QList<QTreeWidgetItem*> items;
    for (const ItemIdList& child : *children) {
        const QString parsingName = m_folder->displayName(child, NameForm::Parsing);
        const ItemAttributes attributes = m_folder->attributes(child, false);
        if (!ListTexts::passesMask(m_mask, parsingName, attributes.folder)) {
            continue;
        }
        const ItemIdList absolute = ItemIdList::concatenate(m_folderId, child);
        auto* item = new QTreeWidgetItem;
        item->setText(NameColumn, m_folder->displayName(child, NameForm::InFolder));
        item->setData(NameColumn, IdRole, child.bytes());
        item->setData(NameColumn, BrowsableRole, attributes.folder || attributes.fileSystemAncestor);
        const QIcon icon = provider.icon(absolute, false);
        item->setIcon(NameColumn, attributes.link ? withLinkOverlay(icon) : icon);
        if (const std::optional<FileData> data = provider.fileData(absolute)) {
            item->setText(SizeColumn, ListTexts::sizeText(data->size));
            item->setText(DateColumn, ListTexts::dateText(data->lastWrite));
        }
        item->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(TypeColumn, provider.typeName(absolute));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                       (attributes.canRename ? Qt::ItemIsEditable : Qt::NoItemFlags));
        items.append(item);
    }
    addTopLevelItems(items);
    sortItems(NameColumn);
    blockSignals(signalsWereBlocked);
    setUpdatesEnabled(drawing);
    if (hadSelection) {
        emit Change();
    }
}

void TFileView::sortItems(int column) {
    const int direction = ShellModule::sortDirections()[std::size_t(column)];
    QTreeWidgetItem* current = currentItem();
    const bool selected = current && current->isSelected();
    const bool signalsWereBlocked = blockSignals(true);
    QList<QTreeWidgetItem*> items = invisibleRootItem()->takeChildren();
    if (column == NameColumn) {
        const ShellFolder* folder = m_folder.get();
        std::stable_sort(items.begin(), items.end(),
                         [folder, direction](QTreeWidgetItem* a, QTreeWidgetItem* b) {
                             return folder->compareIds(idOf(a), idOf(b)) * direction < 0;
                         });
    } else {
        std::stable_sort(
            items.begin(), items.end(), [column, direction](QTreeWidgetItem* a, QTreeWidgetItem* b) {
                return QString::localeAwareCompare(a->text(column), b->text(column)) * direction < 0;
            });
    }
    addTopLevelItems(items);
    if (current) {
        setCurrentItem(current, 0,
                       selected ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate);
    }
    blockSignals(signalsWereBlocked);
}

void TFileView::ColumnClick(int column) {
    if (column < 0 || column > DateColumn || !m_folder) {
        return;
    }
    int& direction = ShellModule::sortDirections()[std::size_t(column)];
    direction = -direction;
    sortItems(column);
}

QTreeWidgetItem* TFileView::selectedItem() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QString TFileView::SelectedPath() const {
    const QTreeWidgetItem* item = selectedItem();
    if (!m_folder || !item) {
        return {};
    }
    const ItemIdList id = idOf(item);
    if (id.isNull()) {
        return {};
    }
    return m_folder->displayName(id, NameForm::Parsing);
}

void TFileView::openSelected() {
    const QTreeWidgetItem* item = selectedItem();
    const ItemIdList id = idOf(item);
    if (!item || id.isNull()) {
        return;
    }
    if (m_folderView && item->data(NameColumn, BrowsableRole).toBool()) {
        m_folderView->selectChildOfSelected(id);
        return;
    }
    if (!m_fileExecute) {
        return;
    }
    ShellModule::provider().open(ItemIdList::concatenate(m_folderId, id), this);
    emit DblClick();
}

void TFileView::labelEdited(QTreeWidgetItem* item, const QString& text) {
    if (!item || !m_folder) {
        return;
    }
    const ItemIdList oldId = idOf(item);
    const ItemIdList newId = m_folder->setNameOf(oldId, text);
    if (newId.isNull()) {
        item->setText(NameColumn, m_folder->displayName(oldId, NameForm::Normal));
        return;
    }
    const QString name = m_folder->displayName(newId, NameForm::Normal);
    if (m_folderView && item->data(NameColumn, BrowsableRole).toBool()) {
        m_folderView->renameChildOfSelected(oldId, newId, name);
    }
    item->setData(NameColumn, IdRole, newId.bytes());
    item->setText(NameColumn, name);
}

// The label editor opens once the menu has closed, or the menu's closing would end the edit at once.
void TFileView::editLater(QTreeWidgetItem* item) {
    const QPersistentModelIndex index(indexFromItem(item));
    QTimer::singleShot(0, this, [this, index] {
        if (index.isValid()) {
            setFocus();
            edit(index);
        }
    });
}

void TFileView::mousePressEvent(QMouseEvent* event) {
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && !itemAt(event->position().toPoint())) {
        // A click beside the items leaves nothing selected.
        clearSelection();
    }
}

void TFileView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && m_contextMenu && m_folder) {
        QTreeWidgetItem* item = selectedItem();
        if (item &&
            m_contextMenu->ShowContextMenu(this, *m_folder.get(), idOf(item), event->position().toPoint(),
                                           [this, item] { editLater(item); })) {
            // A command that removed the item (moved it to the trash) takes it off the list.
            const QString path = m_folder->displayName(idOf(item), NameForm::Parsing);
            if (ShellModule::provider().parseDisplayName(path).isNull()) {
                delete item;
            }
        }
    }
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit Click();
    }
}

void TFileView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        openSelected();
    }
}

} // namespace kelvano
