#pragma once

#include "core/table/table_layers.h"

#include <QIdentityProxyModel>

namespace kelvano {

class TableDataModel;

/// A read-only view of one decoration layer (pictures or links) of a table's cell layers, shaped like
/// the text layer and following its row operations.
class LayerViewModel : public QIdentityProxyModel {
    Q_OBJECT

public:
    LayerViewModel(TableDataModel* table, CellLayer layer, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    TableDataModel* m_table;
    CellLayer m_layer;
};

} // namespace kelvano
