#include "core/table/layer_view_model.h"

#include "core/table/table_data_model.h"
#include "core/table/text_collation.h"

namespace kelvano {

LayerViewModel::LayerViewModel(TableDataModel* table, CellLayer layer, QObject* parent)
    : QIdentityProxyModel(parent), m_table(table), m_layer(layer) {
    setSourceModel(table);
}

QVariant LayerViewModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    // The tooltip shows a long path or address whole.
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return shiftJisText(m_table->value(m_layer, index.row(), index.column()));
    }
    return role == Qt::TextAlignmentRole ? QIdentityProxyModel::data(index, role) : QVariant();
}

Qt::ItemFlags LayerViewModel::flags(const QModelIndex& index) const {
    return QIdentityProxyModel::flags(index) & ~Qt::ItemIsEditable;
}

bool LayerViewModel::setData(const QModelIndex&, const QVariant&, int) {
    return false;
}

} // namespace kelvano
