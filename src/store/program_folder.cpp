#include "store/program_folder.h"

#include "store/file_names.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kelvano {

QString resolveProgramFolder(const QString& executableFolder) {
    const QFileInfo executable(executableFolder);
    if (executable.isDir() && executable.isWritable()) {
        return withTrailingSeparator(executable.absoluteFilePath());
    }
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataFolder);
    return withTrailingSeparator(dataFolder);
}

} // namespace kelvano
