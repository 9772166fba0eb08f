#include "export_target.h"

#include "core/store/failure_reasons.h"
#include "core/store/io_error.h"
#include "core/store/program_settings.h"
#include "core/store/settings_file.h"
#include "core/store/table_data_files.h"
#include "core/store/table_definition_file.h"
#include "publish_texts.h"
#include "stored_tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvano {
namespace {

/// The program's own files, by folder: names compared without regard to case.
struct OwnFiles {
    QStringList paths;
    QList<QRegularExpression> namesInDataFolder;
    QString dataFolder;
};

OwnFiles ownFilesOf(const StoredTables& stored) {
    OwnFiles own;
    for (const QString& name : {SettingsFile::FileName, TableDefinitionFile::FileName,
                                ProgramSettings::FileName, QStringLiteral("KELVANO.LCK")}) {
        own.paths.append(stored.programFolder + name);
    }
    for (const NumberedDefinition& numbered : stored.definitions) {
        try {
            const TableDataFiles files =
                TableDataFiles::fromStored(stored.settings.DataFolder, numbered.definition.FileName);
            own.paths << files.tablePath() << files.referencePath() << files.linkPath() << files.scratchPath()
                      << files.lockPath();
            own.dataFolder = QFileInfo(files.tablePath()).absolutePath();
        } catch (const IoError&) {
            // A name that reaches outside the data folder names no file of it.
        }
    }
    if (own.dataFolder.isEmpty()) {
        own.dataFolder =
            QFileInfo(TableDataFiles::fromStored(stored.settings.DataFolder, "x").tablePath()).absolutePath();
    }
    own.namesInDataFolder.append(QRegularExpression(QStringLiteral("^(HEAD|FOOT)\\.(DAT|[0-9]+)$"),
                                                    QRegularExpression::CaseInsensitiveOption));
    return own;
}

bool sameFolder(const QString& one, const QString& other) {
    const QString canonical = QFileInfo(one).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(other).canonicalFilePath();
}

bool isOwnFile(const QString& target, const struct stat* targetStatus, const StoredTables& stored) {
    const OwnFiles own = ownFilesOf(stored);
    const QFileInfo info(target);
    for (const QString& path : own.paths) {
        const QFileInfo ownInfo(path);
        if (info.fileName().compare(ownInfo.fileName(), Qt::CaseInsensitive) == 0 &&
            sameFolder(info.absolutePath(), ownInfo.absolutePath())) {
            return true;
        }
        struct stat status {};
        if (targetStatus != nullptr && ::stat(QFile::encodeName(path).constData(), &status) == 0 &&
            status.st_dev == targetStatus->st_dev && status.st_ino == targetStatus->st_ino) {
            return true;
        }
    }
    if (sameFolder(info.absolutePath(), own.dataFolder)) {
        for (const QRegularExpression& name : own.namesInDataFolder) {
            if (name.match(info.fileName()).hasMatch()) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

QString exportTargetRefusal(const QString& target, const StoredTables& stored) {
    struct stat status {};
    const bool there = ::lstat(QFile::encodeName(target).constData(), &status) == 0;
    if (there && S_ISDIR(status.st_mode)) {
        return Messages::IsAFolder;
    }
    if (there && !S_ISREG(status.st_mode)) {
        return Messages::NotAPlainFile;
    }
    // A file without its owner's write permission is read-only, whoever runs the program.
    if (there &&
        ((status.st_mode & S_IWUSR) == 0 || ::access(QFile::encodeName(target).constData(), W_OK) != 0)) {
        return Messages::ReadOnlyFile;
    }
    if (isOwnFile(target, there ? &status : nullptr, stored)) {
        return Messages::ProgramsOwnFile;
    }
    return {};
}

} // namespace kelvano
