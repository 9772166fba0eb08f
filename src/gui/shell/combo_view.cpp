#include "gui/shell/combo_view.h"

#include "gui/shell/shell_module.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace kelvano {
namespace {

constexpr int ItemHeight = 18;

QString nameOf(const ItemIdList& absolute) {
    return ShellModule::provider().desktop().displayName(absolute, NameForm::InFolder);
}

/// Draws the drop-down entries: the small icon indented by the entry's level, the name after it. The
/// icon and the name are asked of the namespace each time an entry is drawn.
class ComboEntryDelegate : public QStyledItemDelegate {
public:
    explicit ComboEntryDelegate(TComboView* combo) : QStyledItemDelegate(combo), m_combo(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QList<TComboData>& entries = m_combo->entries();
        if (index.row() < 0 || index.row() >= entries.size()) {
            return;
        }
        const TComboData& entry = entries[index.row()];
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        const int side = option.rect.height();
        const QRect iconRect(option.rect.left() + TComboView::IndentPerLevel * entry.level, option.rect.top(),
                             side, side);
        ShellModule::provider().icon(entry.id, false).paint(painter, iconRect);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect textRect(iconRect.right() + 1 + TComboView::IconGap, option.rect.top(),
                             option.rect.right() - iconRect.right(), side);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, nameOf(entry.id));
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), ItemHeight};
    }

private:
    TComboView* m_combo;
};

} // namespace

TComboView::TComboView(QWidget* parent) : QComboBox(parent) {
    resize(200, height());
    setMaxVisibleItems(8);
    setItemDelegate(new ComboEntryDelegate(this));
    connect(this, &QComboBox::activated, this, &TComboView::EntryPicked);
    Fill();
    setCurrentIndex(0);
}

TComboView::~TComboView() {
    disconnect(this, nullptr, this, nullptr);
    if (m_folderView && m_folderView->follower() == this) {
        m_folderView->linkFollower(nullptr);
    }
}

void TComboView::unlinkFolderView() {
    m_folderView = nullptr;
}

void TComboView::setFolderView(TFolderView* tree) {
    if (m_folderView == tree) {
        return;
    }
    if (m_folderView) {
        m_folderView->linkFollower(nullptr);
    }
    m_folderView = tree;
    if (tree) {
        if (FolderFollower* other = tree->follower(); other && other != this) {
            other->unlinkFolderView();
        }
        tree->linkFollower(this);
        followTree(TFolderView::absoluteIdOf(tree->currentItem()));
    }
}

void TComboView::insertEntry(int position, const TComboData& data) {
    m_entries.insert(position, data);
    insertItem(position, QString());
}

void TComboView::Fill() {
    const bool signalsWereBlocked = blockSignals(true);
    clear();
    m_entries.clear();
    NamespaceProvider& provider = ShellModule::provider();
    insertEntry(0, {provider.specialFolder(SpecialFolder::Desktop), 0});
    ShellFolder& desktop = provider.desktop();
    if (const auto children = desktop.enumerate(ListFilter::Folders)) {
        for (const ItemIdList& child : *children) {
            InsertPath(child);
        }
    }
    const ItemIdList drives = provider.specialFolder(SpecialFolder::Drives);
    if (const FolderHandle drivesFolder = FolderHandle::bind(drives, false)) {
        if (const auto children = drivesFolder->enumerate(ListFilter::Folders)) {
            for (const ItemIdList& child : *children) {
                InsertPath(ItemIdList::concatenate(drives, child));
            }
        }
    }
    blockSignals(signalsWereBlocked);
}

// Each step looks for its entry among the entries of its level below the previous step's entry only,
// so that an entry is never placed under another branch.
int TComboView::InsertPath(const ItemIdList& absolute) {
    ShellFolder& desktop = ShellModule::provider().desktop();
    int stepEntry = 0;
    const int count = absolute.count();
    for (int level = 1; level <= count; ++level) {
        const ItemIdList prefix = absolute.prefix(level);
        int insertAt = stepEntry + 1;
        int found = -1;
        for (int index = stepEntry + 1; index < m_entries.size() && m_entries[index].level >= level;
             ++index) {
            if (m_entries[index].level != level) {
                continue;
            }
            const int order = desktop.compareIds(m_entries[index].id, prefix);
            if (order == 0) {
                found = index;
                break;
            }
            if (order < 0) {
                insertAt = index + 1;
            }
        }
        if (found < 0) {
            // Past the children of the entry it follows.
            while (insertAt < m_entries.size() && m_entries[insertAt].level > level) {
                ++insertAt;
            }
            insertEntry(insertAt, {prefix, level});
            found = insertAt;
        }
        stepEntry = found;
    }
    return stepEntry;
}

void TComboView::followTree(const ItemIdList& absolute) {
    if (m_following || absolute.isNull()) {
        return;
    }
    Fill();
    const bool signalsWereBlocked = blockSignals(true);
    setCurrentIndex(absolute.isDesktop() ? 0 : InsertPath(absolute));
    blockSignals(signalsWereBlocked);
    update();
}

void TComboView::EntryPicked(int index) {
    if (!m_folderView || index < 0 || index >= m_entries.size()) {
        return;
    }
    m_following = true;
    QTreeWidgetItem* node = m_folderView->walk(m_entries[index].id);
    if (node) {
        m_folderView->setCurrentItem(node);
    } else {
        m_folderView->setCurrentItem(nullptr);
        m_folderView->clearSelection();
    }
    m_following = false;
}

void TComboView::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const int index = currentIndex();
    if (index < 0 || index >= m_entries.size()) {
        return;
    }
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const int side = std::min(field.height(), ItemHeight);
    const QRect iconRect(field.left() + 1, field.top() + (field.height() - side) / 2, side, side);
    ShellModule::provider().icon(m_entries[index].id, true).paint(&painter, iconRect);
    const QRect textRect(iconRect.right() + 1 + IconGap, field.top(), field.right() - iconRect.right(),
                         field.height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, nameOf(m_entries[index].id));
}

} // namespace kelvano
