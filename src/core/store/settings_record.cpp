#include "core/store/settings_record.h"

#include "core/store/record_fields.h"

namespace kelvano {

QByteArray SettingsRecord::encode() const {
    QByteArray record(Size, '\0');
    writeShortString(record, DataFolderAt, FieldCapacity, DataFolder);
    writeShortString(record, HtmlFolderAt, FieldCapacity, HtmlFolder);
    writeShortString(record, ImageFolderAt, FieldCapacity, ImageFolder);
    writeShortString(record, ServerImagePathAt, FieldCapacity, ServerImagePath);
    return record;
}

SettingsRecord SettingsRecord::decode(QByteArrayView record) {
    return {readShortString(record, DataFolderAt, FieldCapacity),
            readShortString(record, HtmlFolderAt, FieldCapacity),
            readShortString(record, ImageFolderAt, FieldCapacity),
            readShortString(record, ServerImagePathAt, FieldCapacity)};
}

} // namespace kelvano
