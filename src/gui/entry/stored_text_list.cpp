#include "gui/entry/stored_text_list.h"

#include "core/table/text_collation.h"
#include "gui/entry/three_column_list.h"

#include <QListWidget>

namespace kelvano {

void fillStoredTextList(QListWidget* list, const QList<QByteArray>& lines) {
    list->clear();
    for (const QByteArray& line : lines) {
        auto* item = new QListWidgetItem(shiftJisText(line), list);
        item->setData(Qt::UserRole, line);
        // An entry wider than its column can be read whole here.
        item->setToolTip(item->text());
    }
    if (auto* columns = qobject_cast<ThreeColumnList*>(list)) {
        columns->fitColumns();
    }
}

QByteArray storedText(const QListWidgetItem* item) {
    return item->data(Qt::UserRole).toByteArray();
}

} // namespace kelvano
