#pragma once

#include "core/store/settings_record.h"
#include "core/store/table_definition.h"
#include "support/temp_folder.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <csignal>
#include <sys/resource.h>

namespace kelvano::test {

/// What a kelvano-publish run ended with: its exit status (-1 for a crash), its standard output and
/// its standard error.
struct PublishResult {
    int status = 0;
    QByteArray out;
    QByteArray err;
};

/// Limits a child of the tests runs under: its address space (RLIMIT_AS) and the size of files it
/// writes (RLIMIT_FSIZE, SIGXFSZ as the system sets it); 0 leaves a limit as it is.
struct ChildLimits {
    rlim_t addressSpace = 0;
    rlim_t fileSize = 0;
};

/// Starts kelvano-publish in a Japanese UTF-8 terminal with a fixed clock, without waiting for it.
inline void startPublish(QProcess& process, const QStringList& arguments, ChildLimits limits = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANG"), QStringLiteral("ja_JP.UTF-8"));
    environment.remove(QStringLiteral("LC_ALL"));
    environment.remove(QStringLiteral("LC_CTYPE"));
    environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    environment.insert(QStringLiteral("SOURCE_DATE_EPOCH"), QStringLiteral("865155907"));
    process.setProcessEnvironment(environment);
    process.setChildProcessModifier([limits] {
        if (limits.addressSpace != 0) {
            const rlimit limit{limits.addressSpace, limits.addressSpace};
            setrlimit(RLIMIT_AS, &limit);
        }
        if (limits.fileSize != 0) {
            const rlimit limit{limits.fileSize, limits.fileSize};
            setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, SIG_DFL);
        }
    });
    process.start(QStringLiteral(KELVANO_PUBLISH_PATH), arguments);
}

/// Waits for a started run; a run still going after `milliseconds` is killed and fails the wait.
inline PublishResult finishPublish(QProcess& process, int milliseconds = 30000) {
    if (!process.waitForFinished(milliseconds)) {
        process.kill();
        process.waitForFinished();
        return {-2, process.readAllStandardOutput(), process.readAllStandardError()};
    }
    const int status = process.exitStatus() == QProcess::CrashExit ? -1 : process.exitCode();
    return {status, process.readAllStandardOutput(), process.readAllStandardError()};
}

/// Makes `folder` a program folder that is its own data, HTML and image folder, with one table:
/// definition 0 titled and filed "t", of `columns` columns.
inline void writeOneTableFolder(const TempFolder& folder, int columns) {
    const QByteArray path = sjis(folder.path());
    folder.write(QStringLiteral("TAVELO.DAT"), SettingsRecord{path, path, path, ""}.encode());
    TableDefinition definition;
    definition.TableName = "t";
    definition.FileName = "t";
    definition.ColumnCount = columns;
    folder.write(QStringLiteral("TABLE.DAT"), definition.encode());
}

} // namespace kelvano::test
