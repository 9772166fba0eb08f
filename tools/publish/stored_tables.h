#pragma once

#include "core/store/settings_record.h"
#include "core/store/table_definition_file.h"

#include <QList>
#include <QString>
#include <optional>

namespace kelvano {

/// What kelvano-publish reads of a program folder before any command: the folder settings and the table
/// definitions. It never writes them.
struct StoredTables {
    QString programFolder;
    SettingsRecord settings;
    QList<NumberedDefinition> definitions;
    /// Why the folder settings of a first run are used although a TAVELO.DAT is there (too short, a
    /// pipe, a folder), to be told before the command's own lines.
    QStringList notices;

    /// Whether `number` names a definition that is not deleted.
    bool isLive(int number) const;
};

/// Reads the program folder named on the command line, or the program's own. Nullopt when TABLE.DAT is
/// missing; an IoError when it cannot be read or ends in a damaged record.
std::optional<StoredTables> readStoredTables(const std::optional<QString>& programFolder,
                                             const QString& executableFolder);

} // namespace kelvano
