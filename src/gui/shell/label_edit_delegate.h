#pragma once

#include <QStyledItemDelegate>
#include <functional>

namespace kelvano {

/// Ends a label edit by handing the new text to the view instead of storing it: the view renames the
/// item and sets the label itself. A cancelled edit, or one that keeps the text, reaches nobody.
class LabelEditDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using Handler = std::function<void(const QModelIndex& index, const QString& text)>;

    LabelEditDelegate(Handler handler, QObject* parent);

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    Handler m_handler;
};

} // namespace kelvano
