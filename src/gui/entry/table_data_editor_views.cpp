#include "gui/entry/table_data_editor.h"

#include "core/table/table_data_model.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <algorithm>
#include <vector>

// The table data editor's three views of its rows: the texts, the picture names and the URLs, one shown
// at a time in the same place.

namespace kelvano {

void TForm5::Button1Click() {
    StringGrid2->hide();
    StringGrid3->hide();
    StringGrid1->show();
    StringGrid1->setFocus();
    DrawCellMarkers();
}

void TForm5::Button2Click() {
    StringGrid1->hide();
    StringGrid3->hide();
    StringGrid2->show();
    sizeViewColumns(StringGrid2, CellLayer::Picture);
}

void TForm5::Button3Click() {
    StringGrid1->hide();
    StringGrid2->hide();
    StringGrid3->show();
    sizeViewColumns(StringGrid3, CellLayer::Link);
}

void TForm5::sizeViewColumns(QTableView* view, CellLayer layer) {
    const TableLayers& layers = m_model->layers();
    std::vector<int> widest(size_t(layers.columnCount()), 0);
    if (layers.layerHasValues(layer)) {
        for (int row = 0; row < layers.rowCount(); ++row) {
            for (int column = 0; column < layers.columnCount(); ++column) {
                const QByteArrayView value = layers.value(layer, row, column);
                if (!value.isEmpty()) {
                    widest[size_t(column)] = std::max(widest[size_t(column)], textWidth(value));
                }
            }
        }
    }
    // At least the widest text plus 5 pixels; wide enough for the cell's own margins, so that a path
    // stays on one line, and for the column's heading.
    const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    for (int column = 0; column < layers.columnCount(); ++column) {
        const int text = widest[size_t(column)];
        view->setColumnWidth(column, std::max({text + 5, text + margins + 1,
                                               view->horizontalHeader()->sectionSizeHint(column)}));
    }
}

} // namespace kelvano
