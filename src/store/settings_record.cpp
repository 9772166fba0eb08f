#include "store/settings_record.h"

#include "store/record_fields.h"

namespace kelvano {

QByteArray SettingsRecord::encode() const {
    QByteArray record(Size, '\0');
    constexpr qsizetype stride = FieldCapacity + 1;
    writeShortString(record, 0 * stride, FieldCapacity, DataFolder);
    writeShortString(record, 1 * stride, FieldCapacity, HtmlFolder);
    writeShortString(record, 2 * stride, FieldCapacity, ImageFolder);
    writeShortString(record, 3 * stride, FieldCapacity, ServerImagePath);
    return record;
}

SettingsRecord SettingsRecord::decode(QByteArrayView record) {
    constexpr qsizetype stride = FieldCapacity + 1;
    return {readShortString(record, 0 * stride, FieldCapacity),
            readShortString(record, 1 * stride, FieldCapacity),
            readShortString(record, 2 * stride, FieldCapacity),
            readShortString(record, 3 * stride, FieldCapacity)};
}

} // namespace kelvano
