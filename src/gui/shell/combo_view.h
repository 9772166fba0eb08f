#pragma once

#include "core/shell/item_id_list.h"
#include "gui/shell/folder_view.h"

#include <QComboBox>
#include <QList>
#include <QPointer>

namespace kelvano {

/// One entry of the combo: an absolute identifier and its level (0 for the desktop, 1 for its
/// children, and so on).
struct TComboData {
    ItemIdList id;
    int level = 0;
};

/// A drop-down list of the desktop, its folders, the drives and the path of the linked tree's folder,
/// each entry indented by its level; picking an entry moves the tree there.
class TComboView : public QComboBox, public FolderFollower {
    Q_OBJECT

public:
    static constexpr int IndentPerLevel = 10;
    static constexpr int IconGap = 4;

    explicit TComboView(QWidget* parent = nullptr);
    ~TComboView() override;

    /// Links the tree both ways; null unlinks both.
    void setFolderView(TFolderView* tree);
    void unlinkFolderView() override;

    /// Refills the entries: the desktop, its folders and the drives folder's children.
    void Fill();
    /// Inserts the entries of every step of an absolute identifier's path that are not there yet, in
    /// the desktop's order below their parents; the position of the last step's entry.
    int InsertPath(const ItemIdList& absolute);
    /// Follows the linked tree's selection.
    void followTree(const ItemIdList& absolute) override;

    const QList<TComboData>& entries() const { return m_entries; }
    /// What picking an entry does.
    void EntryPicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void insertEntry(int position, const TComboData& data);

    QPointer<TFolderView> m_folderView;
    QList<TComboData> m_entries;
    bool m_following = false;
};

} // namespace kelvano
