#pragma once

#include <QString>

namespace kelvano {

struct StoredTables;

/// Why a CSV file may not be written at `target`, or empty when it may: a target that is there must be
/// a plain file the user can write, and no target may be one of the program's own files (its settings,
/// definitions and lock in the program folder; a table's data files, lock or scratch file and the
/// header and footer files in the data folder), whether named as stored, in another case or through
/// another name of the same file.
QString exportTargetRefusal(const QString& target, const StoredTables& stored);

} // namespace kelvano
