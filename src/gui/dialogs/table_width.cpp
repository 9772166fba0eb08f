#include "gui/dialogs/table_width.h"

namespace kelvano {

TableWidth TableWidth::parse(const QByteArray& text) {
    if (text.isEmpty()) {
        return {Browser, 0};
    }
    if (text.endsWith('%')) {
        return {Percent, text.chopped(1).trimmed().toInt()};
    }
    return {Pixels, text.trimmed().toInt()};
}

QByteArray TableWidth::text() const {
    switch (kind) {
    case Percent:
        return QByteArray::number(value) + '%';
    case Pixels:
        return QByteArray::number(value);
    case Browser:
        break;
    }
    return {};
}

} // namespace kelvano
