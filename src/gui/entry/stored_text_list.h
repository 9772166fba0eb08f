#pragma once

#include <QByteArray>
#include <QList>

class QListWidget;
class QListWidgetItem;

namespace kelvano {

/// Fills a list box with stored Shift-JIS lines: each item shows the decoded text and keeps the
/// stored bytes, so a chosen entry goes back into a cell byte for byte.
void fillStoredTextList(QListWidget* list, const QList<QByteArray>& lines);

/// The stored bytes of an item filled by fillStoredTextList.
QByteArray storedText(const QListWidgetItem* item);

} // namespace kelvano
