#include "gui/shell/label_edit_delegate.h"

#include <QLineEdit>

namespace kelvano {

LabelEditDelegate::LabelEditDelegate(Handler handler, QObject* parent)
    : QStyledItemDelegate(parent), m_handler(std::move(handler)) {}

void LabelEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                     const QModelIndex& index) const {
    Q_UNUSED(model);
    const auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line) {
        return;
    }
    const QString text = line->text();
    if (text != index.data(Qt::DisplayRole).toString()) {
        m_handler(index, text);
    }
}

} // namespace kelvano
