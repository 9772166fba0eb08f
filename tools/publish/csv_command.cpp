#include "csv_command.h"

#include "core/store/core_messages.h"
#include "core/store/io_error.h"
#include "core/store/scratch_files.h"
#include "core/store/shift_jis.h"
#include "core/store/table_data_files.h"
#include "core/store/table_lock.h"
#include "core/table/cell_text_import.h"
#include "core/table/csv_exchange.h"
#include "core/table/table_layers.h"
#include "core/table/table_layers_file.h"
#include "export_target.h"
#include "publish_command.h"
#include "stored_tables.h"
#include "terminal_text.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace kelvano {
namespace {

const QString ProgramName = QStringLiteral("kelvano-publish");
const QString ExportOption = QStringLiteral("export-csv");
const QString ImportOption = QStringLiteral("import-csv");
const QString BothCsvModes = QStringLiteral("--export-csv と --import-csv は同時に指定できません");
/// The file name that stands for the standard output.
const QString StandardOutputName = QStringLiteral("-");

struct UsageError {
    QString text;
};

/// Thrown when the command fails after its arguments were accepted (exit 1); the lines are its messages.
struct Failure {
    QStringList lines;
};

struct CsvArguments {
    std::optional<QString> programFolder;
    bool exporting = false;
    int number = 0;
    QString file;
    TextEncoding encoding = TextEncoding::Utf8;
    bool append = false;
};

bool namesCsvOption(const QString& argument) {
    const QString option = argument.section(QLatin1Char('='), 0, 0);
    return option == QStringLiteral("--") + ExportOption || option == QStringLiteral("--") + ImportOption;
}

CsvArguments parseCsvArguments(const QStringList& list) {
    QCommandLineParser parser;
    const QCommandLineOption folder(QStringLiteral("program-folder"), {}, QStringLiteral("folder"));
    const QCommandLineOption exporting(ExportOption);
    const QCommandLineOption importing(ImportOption);
    const QCommandLineOption encoding(QStringLiteral("csv-encoding"), {}, QStringLiteral("encoding"));
    const QCommandLineOption append(QStringLiteral("append"));
    parser.addOptions({folder, exporting, importing, encoding, append});
    if (list.contains(QStringLiteral("--"))) {
        throw UsageError{Messages::PublishUnknownOption.arg(QStringLiteral("--"))};
    }
    if (!parser.parse(QStringList{ProgramName} + list)) {
        const QStringList unknown = parser.unknownOptionNames();
        throw UsageError{unknown.isEmpty()
                             ? parser.errorText()
                             : Messages::PublishUnknownOption.arg(QStringLiteral("--") + unknown.first())};
    }
    CsvArguments arguments;
    if (parser.isSet(exporting) && parser.isSet(importing)) {
        throw UsageError{BothCsvModes};
    }
    if (!parser.isSet(exporting) && !parser.isSet(importing)) {
        throw UsageError{Messages::PublishConflictingModes};
    }
    arguments.exporting = parser.isSet(exporting);
    if (parser.isSet(folder)) {
        arguments.programFolder = parser.value(folder);
        if (arguments.programFolder->isEmpty()) {
            throw UsageError{Messages::PublishMissingFolder};
        }
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2 || positional[1].isEmpty()) {
        throw UsageError{Messages::PublishCsvArguments};
    }
    bool isNumber = positional[0].size() <= 9 && !positional[0].isEmpty();
    for (const QChar c : positional[0]) {
        isNumber = isNumber && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    }
    if (!isNumber) {
        throw UsageError{Messages::PublishBadNumber.arg(positional[0])};
    }
    arguments.number = positional[0].toInt();
    arguments.file = positional[1];
    if (parser.isSet(encoding)) {
        const QString name = parser.value(encoding);
        if (!arguments.exporting) {
            throw UsageError{Messages::PublishUnknownOption.arg(QStringLiteral("--csv-encoding"))};
        }
        if (name.compare(QStringLiteral("UTF-8"), Qt::CaseInsensitive) == 0) {
            arguments.encoding = TextEncoding::Utf8;
        } else if (name.compare(QStringLiteral("Shift_JIS"), Qt::CaseInsensitive) == 0) {
            arguments.encoding = TextEncoding::ShiftJis;
        } else {
            throw UsageError{Messages::PublishCsvBadEncoding.arg(name)};
        }
    }
    if (parser.isSet(append)) {
        if (arguments.exporting) {
            throw UsageError{Messages::PublishUnknownOption.arg(QStringLiteral("--append"))};
        }
        arguments.append = true;
    }
    return arguments;
}

/// The table's data files and column count from the stored settings and definitions.
struct Table {
    TableDataFiles files;
    int columns;
    QString label;
    StoredTables stored;
};

Table findTable(const CsvArguments& arguments, const QString& executableFolder, const Console& lines) {
    const std::optional<StoredTables> stored = readStoredTables(arguments.programFolder, executableFolder);
    if (!stored) {
        throw Failure{{Messages::NoData}};
    }
    for (const QString& notice : stored->notices) {
        lines.err(notice);
    }
    if (!stored->isLive(arguments.number)) {
        throw UsageError{Messages::PublishNoSuchDefinition.arg(arguments.number)};
    }
    const TableDefinition& definition = stored->definitions.at(arguments.number).definition;
    return {TableDataFiles::fromStored(stored->settings.DataFolder, definition.FileName),
            std::clamp(definition.usableColumnCount(), 1, TableRowRecord::MaxColumns),
            Messages::tableLabel(arguments.number, ShiftJis::decode(definition.TableName)), *stored};
}

int exportCsv(const CsvArguments& arguments, const Table& table, const Console& lines) {
    TableRowReader reader;
    const QString path = table.files.tablePath();
    if (!reader.open(path)) {
        if (reader.openError() != ENOENT && reader.openError() != ENOTDIR) {
            throw reader.openFailure(); // a folder, a pipe, a loop of links: told by its cause
        }
        throw Failure{Messages::TableDataNotEntered.arg(table.label, path).split(u'\n')};
    }
    if (arguments.file == StandardOutputName) {
        // The CSV is the standard output: what is told goes to the standard error.
        QFile output;
        if (!output.open(stdout, QIODevice::WriteOnly)) {
            throw IoError::fromFile(output);
        }
        const qsizetype rows = exportCellTexts(output, reader, table.columns, arguments.encoding);
        if (!output.flush()) {
            throw IoError::fromFile(output);
        }
        lines.err(Messages::CsvExported.arg(rows).arg(arguments.file));
        return PublishFinished;
    }
    if (const QString refusal = exportTargetRefusal(arguments.file, table.stored); !refusal.isEmpty()) {
        throw Failure{{Messages::CsvTargetRefused.arg(refusal, arguments.file)}};
    }
    const qsizetype rows = exportCellTexts(arguments.file, reader, table.columns, arguments.encoding);
    lines.out(Messages::CsvExported.arg(rows).arg(arguments.file));
    return PublishFinished;
}

int importCsv(const CsvArguments& arguments, const Table& table, const Console& lines) {
    const CsvFile file = CsvFile::read(arguments.file);
    if (!file.refusal.isEmpty()) {
        throw Failure{{file.refusal, Messages::CsvImportRefused}};
    }
    // Replacing a table's rows by none would leave it with no row: an empty file is taken for a mistake.
    if (file.records.isEmpty() && !arguments.append) {
        throw Failure{{Messages::CsvEmpty, Messages::CsvImportRefused}};
    }
    const CellTextImport imported =
        importCellTexts(file.records, file.format.encoding, table.columns, TableRowRecord::CellCapacity);
    if (const QStringList refusal = csvImportRefusal(imported); !refusal.isEmpty()) {
        throw Failure{refusal};
    }

    // A table open in the window program's editor would have its rows saved over the import, and two
    // imports at once would each write the rows it read: the lock is held until the new file is in
    // place, and another writer is waited for a while.
    TableLock lock(table.files);
    if (lock.take(TableLock::WriterWaitMilliseconds) == TableLock::Taking::HeldElsewhere) {
        throw Failure{{Messages::TableInUse.arg(table.label), Messages::CsvImportRefused}};
    }
    const QString path = table.files.tablePath();
    const QString dataFolder = QFileInfo(path).absolutePath();
    if (const LeftScratchFiles left = removeLeftScratchFiles(dataFolder); left.count > 0) {
        lines.err(Messages::LeftScratchFilesRemoved.arg(left.count).arg(left.bytes).arg(dataFolder + u'/'));
    }
    const std::optional<int> kept =
        TableLayersFile::importRows(table.files, table.columns, imported.rows, arguments.append);
    if (!kept) {
        throw Failure{{Messages::CsvTooManyRows.arg(TableLayers::MaxRows), Messages::CsvImportRefused}};
    }

    if (imported.droppedFields > 0) {
        lines.err(Messages::CsvFieldsDropped.arg(imported.droppedFields).arg(table.columns));
    }
    if (!imported.cutCells.isEmpty()) {
        lines.err(Messages::CellTextsCut.arg(TableRowRecord::CellCapacity)
                      .arg(cellNames(imported.cutCells, *kept)));
    }
    lines.out(Messages::CsvImported.arg(imported.rows.size()).arg(path));
    return PublishFinished;
}

} // namespace

bool isCsvCommand(const QStringList& arguments) {
    return std::any_of(arguments.begin(), arguments.end(), namesCsvOption);
}

int runCsvCommand(const QStringList& arguments, const QString& executableFolder, std::FILE* out,
                  std::FILE* err) {
    const Console lines(out, err, true);
    try {
        const CsvArguments parsed = parseCsvArguments(arguments);
        const Table table = findTable(parsed, executableFolder, lines);
        return parsed.exporting ? exportCsv(parsed, table, lines) : importCsv(parsed, table, lines);
    } catch (const UsageError& error) {
        lines.err(ProgramName + QStringLiteral(": ") + error.text);
        for (const QString& line :
             (Messages::PublishUsage + Messages::PublishCsvUsage).trimmed().split(u'\n')) {
            lines.err(line);
        }
        return PublishUsageError;
    } catch (const Failure& failure) {
        for (const QString& line : failure.lines) {
            lines.err(line);
        }
        return PublishEndedEarly;
    } catch (const IoError& error) {
        lines.err(error.path() + QStringLiteral(": ") + error.reason());
        return PublishEndedEarly;
    }
}

} // namespace kelvano
