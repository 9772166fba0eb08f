#include "store/file_names.h"

#include <QDir>
#include <QFileInfo>

namespace kelvano {

QString findFileIgnoringCase(const QString& path) {
    const QFileInfo info(path);
    if (info.exists()) {
        return path;
    }
    const QDir folder = info.dir();
    const QString wanted = info.fileName();
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0) {
            return path.left(path.size() - wanted.size()) + name;
        }
    }
    return path;
}

QString withTrailingSeparator(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace kelvano
