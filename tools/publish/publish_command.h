#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>

namespace kelvano {

/// Exit statuses of kelvano-publish.
enum PublishStatus {
    PublishFinished = 0,   ///< the run finished (also --list and --help)
    PublishEndedEarly = 1, ///< some pages could not be written, or TABLE.DAT is missing or damaged
    PublishUsageError = 2, ///< the arguments cannot be used
};

/// kelvano-publish: generates pages exactly as the data page's button does, from a script. Reads
/// TAVELO.DAT and TABLE.DAT of the program folder; writes TAVELO.DAT only with --map-folders.
///
/// `arguments` are the command line without the program name; `executableFolder` gives the default
/// program folder.
int runPublishCommand(const QStringList& arguments, const QString& executableFolder, std::FILE* out,
                      std::FILE* err);

} // namespace kelvano
