#include "gui/entry/stored_text_list.h"

#include "core/table/text_collation.h"

#include <QListWidget>

namespace kelvano {

void fillStoredTextList(QListWidget* list, const QList<QByteArray>& lines) {
    list->clear();
    for (const QByteArray& line : lines) {
        auto* item = new QListWidgetItem(shiftJisText(line), list);
        item->setData(Qt::UserRole, line);
    }
}

QByteArray storedText(const QListWidgetItem* item) {
    return item->data(Qt::UserRole).toByteArray();
}

} // namespace kelvano
