#include "core/store/program_folder.h"

#include "core/store/file_names.h"
#include "core/store/settings_record.h"
#include "core/store/shift_jis.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kelvano {

QString resolveProgramFolder(const QString& executableFolder) {
    const QFileInfo executable(executableFolder);
    const QString folder = withTrailingSeparator(executable.absoluteFilePath());
    // The folder also becomes the first run's data, HTML and image folders, stored as code page 932 in
    // 250 bytes: a path that cannot be stored whole would name another folder.
    const ShiftJis::Encoded stored = ShiftJis::encode(folder);
    // An installed program (its files under share/kelvano beside bin/) keeps its files in the user's
    // folder even where it could write beside itself (run by root, /usr/bin is writable).
    const bool installed = QFileInfo::exists(folder + QStringLiteral("../share/kelvano"));
    if (!installed && executable.isDir() && executable.isWritable() && stored.ok() &&
        stored.bytes.size() <= SettingsRecord::FieldCapacity) {
        return folder;
    }
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataFolder);
    return withTrailingSeparator(dataFolder);
}

} // namespace kelvano
