#include "stored_tables.h"

#include "core/store/file_names.h"
#include "core/store/program_folder.h"
#include "core/store/settings_file.h"
#include "publish_texts.h"

#include <QFileInfo>

namespace kelvano {

bool StoredTables::isLive(int number) const {
    return number >= 0 && number < definitions.size() && !definitions.at(number).definition.Deleted;
}

std::optional<StoredTables> readStoredTables(const std::optional<QString>& programFolder,
                                             const QString& executableFolder) {
    StoredTables stored;
    // A folder named on the command line is the user's own, so a relative one is taken from where the
    // command runs.
    stored.programFolder = programFolder ? withTrailingSeparator(QFileInfo(*programFolder).absoluteFilePath())
                                         : resolveProgramFolder(executableFolder);
    stored.settings = SettingsFile::read(stored.programFolder);
    if (const QString why = SettingsFile::whyUnused(stored.programFolder); !why.isEmpty()) {
        stored.notices.append(Messages::SettingsDefaultsUsed.arg(why, stored.programFolder));
    }
    const TableDefinitionFile file(stored.programFolder);
    std::optional<DefinitionList> read = file.readAllIfPresent();
    if (!read) {
        return std::nullopt;
    }
    if (read->damagedTail) {
        throw file.damagedTailError();
    }
    stored.definitions = std::move(read->records);
    return stored;
}

} // namespace kelvano
