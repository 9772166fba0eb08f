#include "gui/entry/table_grid_delegate.h"

#include "core/store/table_row_record.h"
#include "core/table/table_data_model.h"
#include "gui/base/shift_jis_field.h"
#include "gui/entry/cell_markers.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace kelvano {

TableGridDelegate::TableGridDelegate(const TableDataModel* model, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model) {}

void TableGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    const int row = index.row();
    const int column = index.column();
    const bool hasPicture = !m_model->value(CellLayer::Picture, row, column).isEmpty();
    const QByteArrayView placement = m_model->value(CellLayer::Placement, row, column);
    const CellMarkers::Kind markers[3] = {
        m_model->value(CellLayer::Link, row, column).isEmpty() ? CellMarkers::Blank : CellMarkers::Link,
        !hasPicture                                     ? CellMarkers::Blank
        : (placement.isEmpty() || placement == "RIGHT") ? CellMarkers::PictureRight
                                                        : CellMarkers::PictureLeft,
        m_model->value(CellLayer::Background, row, column).isEmpty() ? CellMarkers::Blank
                                                                     : CellMarkers::Background,
    };
    painter->save();
    painter->setClipRect(option.rect);
    for (int i = 0; i < 3; ++i) {
        // The whole cell was just drawn afresh, so no earlier marker is left to cover: a blank marker
        // would only put a white box over the selection's colour.
        if (markers[i] == CellMarkers::Blank) {
            continue;
        }
        painter->drawPixmap(option.rect.topLeft() + QPoint(MarkerLeft[i], MarkerTop),
                            CellMarkers::marker(markers[i]));
    }
    painter->restore();
}

QWidget* TableGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                         const QModelIndex&) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    // Typing stops at what a cell can store; a longer paste is cut with a message.
    ShiftJisField::attach(editor, TableRowRecord::CellCapacity);
    connect(editor, &QLineEdit::textEdited, this, [this, editor] {
        emit const_cast<TableGridDelegate*>(this)->commitData(editor);
        emit const_cast<TableGridDelegate*>(this)->textTyped();
    });
    return editor;
}

void TableGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* line = static_cast<QLineEdit*>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    if (line->text() != text) {
        line->setText(text);
    }
}

void TableGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                     const QModelIndex& index) const {
    auto* line = static_cast<QLineEdit*>(editor);
    if (!model->setData(index, line->text(), Qt::EditRole)) {
        // Refused (a character Shift-JIS cannot hold): the editor goes back to what the cell holds.
        line->setText(index.data(Qt::EditRole).toString());
    }
}

bool TableGridDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QLineEdit*>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool move = (key->modifiers() & Qt::ControlModifier) &&
                          (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down);
        // Tab leaves the grid, as it leaves every list; Enter moves to the next cell.
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (enter || move || tab) {
            const int code = key->key();
            const Qt::KeyboardModifiers modifiers = key->modifiers();
            emit commitData(editor);
            // Enter neither opens nor closes the in-place editor: typing goes on in the cell that is
            // current afterwards.
            if (!enter) {
                emit closeEditor(editor, NoHint);
            }
            emit gridKeyPressed(code, modifiers);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace kelvano
