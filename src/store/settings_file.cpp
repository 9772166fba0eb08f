#include "store/settings_file.h"

#include "store/io_error.h"
#include "store/record_fields.h"
#include "store/save_file.h"
#include "store/shift_jis.h"

#include <QFile>

namespace kelvano {

namespace SettingsFile {

SettingsRecord defaults(const QString& programFolder) {
    const QByteArray folder =
        cutToCapacity(ShiftJis::encode(programFolder).bytes, SettingsRecord::FieldCapacity);
    return {folder, folder, folder, {}};
}

LoadedSettings load(const QString& programFolder) {
    QFile file(programFolder + FileName);
    const bool existed = file.exists();
    if (existed && file.size() >= SettingsRecord::Size) {
        if (!file.open(QIODevice::ReadOnly)) {
            throw IoError::fromFile(file);
        }
        const QByteArray record = file.read(SettingsRecord::Size);
        if (record.size() != SettingsRecord::Size) {
            throw IoError::fromFile(file);
        }
        return {SettingsRecord::decode(record), SettingsFileState::Read};
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw IoError::fromFile(file);
    }
    return {defaults(programFolder), existed ? SettingsFileState::Short : SettingsFileState::Missing};
}

bool save(const QString& programFolder, const SettingsRecord& settings) {
    return saveWholeFile(programFolder + FileName, settings.encode());
}

} // namespace SettingsFile
} // namespace kelvano
