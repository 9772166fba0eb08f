#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>

namespace kelvano {

/// Whether the arguments ask for one of kelvano-publish's CSV and spreadsheet commands (--export-csv,
/// --import-csv, --import-sheet, --list-sheets).
bool isCsvCommand(const QStringList& arguments);

/// kelvano-publish --export-csv NUMBER FILE [--csv-encoding UTF-8|Shift_JIS] and --import-csv NUMBER
/// FILE [--append]: a table's texts to a CSV file, or a CSV or TSV file into a table's ".TBL" file
/// (written whole and atomically); --import-sheet NUMBER FILE [--sheet NAME|NUMBER] [--append]: a
/// spreadsheet's sheet the same way; --list-sheets FILE: its sheets. Exit statuses as the page
/// commands: 0 done, 1 failed, 2 arguments.
int runCsvCommand(const QStringList& arguments, const QString& executableFolder, std::FILE* out,
                  std::FILE* err);

} // namespace kelvano
