#pragma once

#include "core/store/settings_record.h"

#include <QString>

namespace kelvano {

/// What start-up found in TAVELO.DAT.
enum class SettingsFileState {
    Missing, ///< first run: an empty file was created
    Short,   ///< shorter than one record: the file was created anew, empty
    Read,    ///< the first record was read
};

struct LoadedSettings {
    SettingsRecord settings;
    SettingsFileState state;
};

/// TAVELO.DAT in the program folder: read once at start-up, written whenever a folder setting is
/// accepted and once more at the end.
namespace SettingsFile {

inline const QString FileName = QStringLiteral("TAVELO.DAT");

/// Reads the settings. When the file is missing or short it is created empty and the folders default
/// to the program folder (server path empty). An IoError when it can be neither read nor created.
LoadedSettings load(const QString& programFolder);

/// The settings the program would start with, read without creating or changing the file: a missing
/// or short file gives the settings of a first run. An IoError when the file cannot be read.
SettingsRecord read(const QString& programFolder);
/// Why read() gives the settings of a first run although a TAVELO.DAT is there (too short, a folder,
/// a pipe); empty when it reads the file or there is none.
QString whyUnused(const QString& programFolder);

/// The settings of a first run: the three folders are the program folder, the server path is empty.
SettingsRecord defaults(const QString& programFolder);

/// Replaces the file with one record. An IoError naming the file and the reason when it cannot be
/// written; the old file then stays as it was.
void save(const QString& programFolder, const SettingsRecord& settings);

} // namespace SettingsFile
} // namespace kelvano
