#include "gui/entry/table_data_editor.h"

#include "core/table/cell_text_import.h"
#include "core/table/table_data_model.h"
#include "core/table/text_collation.h"
#include "gui/base/user_dialogs.h"
#include "gui/entry/row_changes.h"
#include "gui/entry/table_grid_delegate.h"

#include <QLineEdit>
#include <QTableView>
#include <QUndoStack>

// The table data editor's cell and row changes: decorations, inserting, deleting, moving and sorting
// rows, and the undo steps they go through.

namespace kelvano {
namespace {

const QByteArray Right = QByteArrayLiteral("RIGHT");
const QByteArray Left = QByteArrayLiteral("LEFT");

} // namespace

QByteArray TForm5::currentPicturePath(PictureUse use) const {
    const QModelIndex current = StringGrid1->currentIndex();
    if (!current.isValid()) {
        return {};
    }
    const CellLayer layer = use == PictureUse::Background ? CellLayer::Background : CellLayer::Picture;
    return m_model->value(layer, current.row(), current.column()).toByteArray();
}

void TForm5::AttachPicture(PictureUse use, const QByteArray& path) {
    const QModelIndex current = StringGrid1->currentIndex();
    if (!current.isValid()) {
        return;
    }
    recordRowChange(current.row(), 1, [&] {
        if (use == PictureUse::Background) {
            m_model->setValue(CellLayer::Background, current.row(), current.column(), path);
        } else {
            m_model->setValue(CellLayer::Picture, current.row(), current.column(), path);
            m_model->setValue(CellLayer::Placement, current.row(), current.column(),
                              use == PictureUse::LeftOfText ? Left : Right);
        }
        return true;
    });
    AutoSizeColumns();
    DrawCellMarkers();
}

void TForm5::SetCurrentCellText(const QByteArray& text) {
    const QModelIndex current = StringGrid1->currentIndex();
    if (!current.isValid()) {
        return;
    }
    // The reference list keeps texts of any length; a cell stores 250 bytes.
    const QByteArray fitted = cutAtCharacter(text, TableRowRecord::CellCapacity);
    recordRowChange(current.row(), 1, [&] {
        m_model->setValue(CellLayer::Text, current.row(), current.column(), fitted);
        return true;
    });
    AutoSizeColumns();
    if (fitted.size() < text.size()) {
        UserDialogs::show(this, MessageIcon::Information,
                          Messages::TextCutToCapacity.arg(TableRowRecord::CellCapacity));
    }
}

void TForm5::SetCurrentCellLink(const QByteArray& link) {
    const QModelIndex current = StringGrid1->currentIndex();
    if (current.isValid()) {
        recordRowChange(current.row(), 1, [&] {
            m_model->setValue(CellLayer::Link, current.row(), current.column(), link);
            return true;
        });
        AutoSizeColumns();
        DrawCellMarkers();
    }
}

void TForm5::N12Click() {
    const QModelIndex current = StringGrid1->currentIndex();
    if (!current.isValid() || m_model->value(CellLayer::Picture, current.row(), current.column()).isEmpty()) {
        return;
    }
    const QByteArrayView placement = m_model->value(CellLayer::Placement, current.row(), current.column());
    const bool right = placement.isEmpty() || placement == Right;
    recordRowChange(current.row(), 1, [&] {
        m_model->setValue(CellLayer::Placement, current.row(), current.column(), right ? Left : Right);
        return true;
    });
    DrawCellMarkers();
}

void TForm5::clearDecoration(CellLayer layer) {
    const QModelIndex current = StringGrid1->currentIndex();
    if (current.isValid()) {
        recordRowChange(current.row(), 1, [&] {
            m_model->setValue(layer, current.row(), current.column(), {});
            return true;
        });
        DrawCellMarkers();
    }
}

void TForm5::N14Click() {
    emit linkListRequested(dataFiles());
}

void TForm5::N18Click() {
    const QModelIndex current = StringGrid1->currentIndex();
    if (!current.isValid()) {
        return;
    }
    if (!recordRowChange(current.row(), 0, [&] { return m_model->insertEmptyRow(current.row()); })) {
        UserDialogs::show(this, MessageIcon::Error, Messages::RowLimitReached);
        return;
    }
    setCurrent(current.row(), current.column());
}

void TForm5::Delete1Click() {
    const QModelIndex current = StringGrid1->currentIndex();
    if (!current.isValid()) {
        return;
    }
    const int row = current.row();
    const int column = current.column();
    recordRowChange(row, 1, [&] {
        m_model->removeDataRow(row);
        return true;
    });
    setCurrent(std::min(row, m_model->rowCount() - 1), column);
}

void TForm5::N19Click() {
    const QModelIndex current = StringGrid1->currentIndex();
    if (current.isValid() && current.row() > 0) {
        recordRowChange(current.row() - 1, 2, [&] {
            m_model->swapDataRows(current.row(), current.row() - 1);
            return true;
        });
    }
}

void TForm5::N20Click() {
    const QModelIndex current = StringGrid1->currentIndex();
    if (current.isValid() && current.row() < m_model->rowCount() - 1) {
        recordRowChange(current.row(), 2, [&] {
            m_model->swapDataRows(current.row(), current.row() + 1);
            return true;
        });
    }
}

void TForm5::sortRows(Qt::SortOrder order) {
    const QModelIndex current = StringGrid1->currentIndex();
    if (current.isValid()) {
        permuteRowsStep(m_model->layers().sortOrder(current.column(), order, m_collation));
    }
}

void TForm5::sortRowsNumerically(Qt::SortOrder order) {
    const QModelIndex current = StringGrid1->currentIndex();
    if (current.isValid()) {
        permuteRowsStep(m_model->layers().sortOrderEmptyLast(current.column(), order, m_numericCollation));
    }
}

void TForm5::beginTyping(int row, int column) {
    if (m_typing && m_typing->row == row && m_typing->column == column) {
        return;
    }
    finishTyping();
    m_typing = Typing{row, column, m_model->rows(row, 1)};
    Undo1->setEnabled(true);
}

void TForm5::finishTyping() {
    if (!m_typing) {
        return;
    }
    const Typing typing = std::move(*m_typing);
    m_typing.reset();
    std::vector<TableLayers::Row> after = m_model->rows(typing.row, 1);
    if (after != typing.before) {
        m_undo->push(new ReplaceRowsChange(m_model, typing.row, typing.before, std::move(after), true, {}));
    } else {
        Undo1->setEnabled(m_undo->canUndo()); // nothing was changed after all
    }
}

bool TForm5::recordRowChange(int first, int count, const std::function<bool()>& change) {
    finishTyping();
    const int rowsBefore = m_model->rowCount();
    std::vector<TableLayers::Row> before = m_model->rows(first, count);
    if (!change()) {
        return false;
    }
    std::vector<TableLayers::Row> after = m_model->rows(first, count + m_model->rowCount() - rowsBefore);
    if (after != before) {
        m_undo->push(new ReplaceRowsChange(m_model, first, std::move(before), std::move(after), true, {}));
    }
    return true;
}

bool TForm5::replaceRowsStep(int first, int count, std::vector<TableLayers::Row> after) {
    finishTyping();
    const int rows = m_model->rowCount();
    if (first == 0 && count == rows && after.empty()) {
        after.emplace_back(); // a table keeps one row
    }
    if (rows - count + qsizetype(after.size()) > TableLayers::MaxRows) {
        return false;
    }
    std::vector<TableLayers::Row> before = m_model->rows(first, count);
    if (after != before) {
        m_undo->push(new ReplaceRowsChange(m_model, first, std::move(before), std::move(after), false, {}));
        AutoSizeColumns();
    }
    return true;
}

void TForm5::permuteRowsStep(std::vector<int> order) {
    finishTyping();
    if (std::is_sorted(order.begin(), order.end())) {
        return; // every row stays where it is
    }
    m_undo->push(new PermuteRowsChange(m_model, std::move(order), {}));
}

void TForm5::closeCellEditor() {
    for (QLineEdit* editor : StringGrid1->findChildren<QLineEdit*>()) {
        if (editor->isVisible()) {
            emit m_delegate->commitData(editor);
            emit m_delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
    finishTyping();
}

void TForm5::undoOrRedo(bool redo) {
    // An open in-place editor keeps its text first, so that it is a step of its own.
    closeCellEditor();
    if (redo) {
        m_undo->redo();
    } else {
        m_undo->undo();
    }
    AutoSizeColumns();
    DrawCellMarkers();
}

} // namespace kelvano
