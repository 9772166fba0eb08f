#pragma once

#include <QStyledItemDelegate>

namespace kelvano {

class TableDataModel;

/// Draws the editor's cells with their decoration markers, and edits a cell in place so that every
/// typed character goes straight into the cell's text.
class TableGridDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    TableGridDelegate(const TableDataModel* model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

    /// Where the markers stand within a cell: link, picture, background.
    static constexpr int MarkerLeft[3] = {3, 26, 49};
    static constexpr int MarkerTop = 19;

signals:
    /// A character changed the text being edited (it is already in the cell).
    void textTyped();
    /// A key the grid acts on (Enter, Ctrl+Up, Ctrl+Down) was pressed while editing; the edit is
    /// already committed, and closed for Ctrl+Up and Ctrl+Down (Enter leaves it open).
    void gridKeyPressed(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    const TableDataModel* m_model;
};

} // namespace kelvano
