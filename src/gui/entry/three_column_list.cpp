#include "gui/entry/three_column_list.h"

#include <QResizeEvent>

namespace kelvano {

ThreeColumnList::ThreeColumnList(QWidget* parent) : QListWidget(parent) {
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setTextElideMode(Qt::ElideNone);
    setSelectionMode(QAbstractItemView::SingleSelection);
    fitColumns();
}

void ThreeColumnList::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    fitColumns();
}

void ThreeColumnList::fitColumns() {
    setGridSize(QSize(std::max(1, viewport()->width() / 3), 12));
}

} // namespace kelvano
