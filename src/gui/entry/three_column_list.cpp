#include "gui/entry/three_column_list.h"

#include <QEvent>
#include <QFontMetrics>
#include <QResizeEvent>

namespace kelvano {
namespace {

// Room around an entry's text: the item's frame and focus rectangle.
constexpr int TextMargin = 8;
// The smallest row height the list ever uses.
constexpr int MinimumRowHeight = 12;

} // namespace

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

void ThreeColumnList::changeEvent(QEvent* event) {
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitColumns();
    }
}

void ThreeColumnList::fitColumns() {
    const QFontMetrics metrics(font());
    const int available = std::max(1, viewport()->width());
    int widest = 0;
    for (int row = 0; row < count(); ++row) {
        widest = std::max(widest, metrics.horizontalAdvance(item(row)->text()));
    }
    // A column wider than the list scrolls sideways rather than cutting its longest entry.
    const int columnWidth = std::max(widest + TextMargin, available / 3);
    setGridSize(QSize(std::max(1, columnWidth), std::max(MinimumRowHeight, metrics.height() + 2)));
}

} // namespace kelvano
