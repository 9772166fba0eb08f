#include "core/store/settings_file.h"

#include "core/store/failure_reasons.h"
#include "core/store/io_error.h"
#include "core/store/plain_file.h"
#include "core/store/record_fields.h"
#include "core/store/save_file.h"
#include "core/store/shift_jis.h"
#include "core/store/stored_names.h"

#include <QFile>
#include <optional>
#include <sys/stat.h>

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

/// What stands at the path: nullopt when nothing does.
std::optional<struct stat> statusOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return std::nullopt;
    }
    return status;
}

/// The first record; nullopt when the file is missing, shorter than one record or no plain file.
std::optional<SettingsRecord> readRecord(const QString& path) {
    const std::optional<struct stat> status = statusOf(path);
    if (!status || !S_ISREG(status->st_mode) || status->st_size < SettingsRecord::Size) {
        return std::nullopt;
    }
    QFile file(path);
    if (int error = 0; !openPlainFile(file, QIODevice::ReadOnly, error)) {
        throw IoError::fromErrorNumber(path, error);
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

QString whyUnused(const QString& programFolder) {
    const std::optional<struct stat> status = statusOf(settingsPath(programFolder));
    if (!status) {
        return {};
    }
    if (!S_ISREG(status->st_mode)) {
        return systemErrorReason(S_ISDIR(status->st_mode) ? EISDIR : NotAPlainFileError);
    }
    return status->st_size < SettingsRecord::Size
               ? Messages::SettingsFileShort.arg(status->st_size).arg(SettingsRecord::Size)
               : QString();
}

LoadedSettings load(const QString& programFolder) {
    if (const std::optional<SettingsRecord> settings = readRecord(settingsPath(programFolder))) {
        return {*settings, SettingsFileState::Read};
    }
    // A folder or a pipe in its place is not emptied (a pipe would hold the program up): it is told.
    if (const std::optional<struct stat> status = statusOf(settingsPath(programFolder));
        status && !S_ISREG(status->st_mode)) {
        throw IoError::fromErrorNumber(settingsPath(programFolder),
                                       S_ISDIR(status->st_mode) ? EISDIR : NotAPlainFileError);
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
