#include "core/store/settings_file.h"

#include "core/store/io_error.h"
#include "core/store/record_fields.h"
#include "core/store/save_file.h"
#include "core/store/shift_jis.h"
#include "core/store/stored_names.h"

#include <QFile>
#include <optional>

namespace kelvano {

namespace SettingsFile {

SettingsRecord defaults(const QString& programFolder) {
    const QByteArray folder =
        cutToCapacity(ShiftJis::encode(programFolder).bytes, SettingsRecord::FieldCapacity);
    return {folder, folder, folder, {}};
}

namespace {

/// TAVELO.DAT as it is spelled on disk (a program folder from Windows may hold "tavelo.dat").
QString settingsPath(const QString& programFolder) {
    return resolveStoredPath(programFolder + FileName);
}

/// The first record; nullopt when the file is missing or shorter than one record.
std::optional<SettingsRecord> readRecord(const QString& path) {
    QFile file(path);
    if (!file.exists() || file.size() < SettingsRecord::Size) {
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw IoError::fromFile(file);
    }
    const QByteArray record = file.read(SettingsRecord::Size);
    if (record.size() != SettingsRecord::Size) {
        throw IoError::fromFile(file);
    }
    return SettingsRecord::decode(record);
}

} // namespace

SettingsRecord read(const QString& programFolder) {
    return readRecord(settingsPath(programFolder)).value_or(defaults(programFolder));
}

LoadedSettings load(const QString& programFolder) {
    if (const std::optional<SettingsRecord> settings = readRecord(settingsPath(programFolder))) {
        return {*settings, SettingsFileState::Read};
    }
    QFile file(settingsPath(programFolder));
    const bool existed = file.exists();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw IoError::fromFile(file);
    }
    return {defaults(programFolder), existed ? SettingsFileState::Short : SettingsFileState::Missing};
}

void save(const QString& programFolder, const SettingsRecord& settings) {
    replaceWholeFile(settingsPath(programFolder), settings.encode());
}

} // namespace SettingsFile
} // namespace kelvano
