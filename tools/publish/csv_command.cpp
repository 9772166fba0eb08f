#include "csv_command.h"

#include "core/store/failure_reasons.h"
#include "core/store/io_error.h"
#include "core/store/scratch_files.h"
#include "core/store/shift_jis.h"
#include "core/store/table_data_files.h"
#include "core/store/table_lock.h"
#include "core/table/cell_text_import.h"
#include "core/table/csv_exchange.h"
#include "core/table/sheet_file.h"
#include "core/table/table_layers.h"
#include "core/table/table_layers_file.h"
#include "export_target.h"
#include "publish_command.h"
#include "publish_texts.h"
#include "stored_tables.h"
#include "terminal_text.h"
#include "words/page_words.h"
#include "words/table_words.h"

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
const QString ImportSheetOption = QStringLiteral("import-sheet");
const QString ListSheetsOption = QStringLiteral("list-sheets");
/// The file name that stands for the standard output.
const QString StandardOutputName = QStringLiteral("-");

struct UsageError {
    QString text;
};

/// Thrown when the command fails after its arguments were accepted (exit 1); the lines are its messages.
struct Failure {
    QStringList lines;
};

enum class CsvMode { Export, ImportCsv, ImportSheet, ListSheets };

struct CsvArguments {
    std::optional<QString> programFolder;
    CsvMode mode = CsvMode::Export;
    bool exporting = false;
    std::optional<QString> sheet;
    int number = 0;
    QString file;
    TextEncoding encoding = TextEncoding::Utf8;
    bool append = false;
};

bool namesCsvOption(const QString& argument) {
    const QString option = argument.section(QLatin1Char('='), 0, 0);
    return option == QStringLiteral("--") + ExportOption || option == QStringLiteral("--") + ImportOption ||
           option == QStringLiteral("--") + ImportSheetOption ||
           option == QStringLiteral("--") + ListSheetsOption;
}

CsvArguments parseCsvArguments(const QStringList& list) {
    QCommandLineParser parser;
    const QCommandLineOption folder(QStringLiteral("program-folder"), {}, QStringLiteral("folder"));
    const QCommandLineOption exporting(ExportOption);
    const QCommandLineOption importing(ImportOption);
    const QCommandLineOption encoding(QStringLiteral("csv-encoding"), {}, QStringLiteral("encoding"));
    const QCommandLineOption append(QStringLiteral("append"));
    const QCommandLineOption importingSheet(ImportSheetOption);
    const QCommandLineOption listingSheets(ListSheetsOption);
    const QCommandLineOption sheet(QStringLiteral("sheet"), {}, QStringLiteral("sheet"));
    parser.addOptions({folder, exporting, importing, encoding, append, importingSheet, listingSheets, sheet});
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
    const int modes = int(parser.isSet(exporting)) + int(parser.isSet(importing)) +
                      int(parser.isSet(importingSheet)) + int(parser.isSet(listingSheets));
    if (modes > 1) {
        QStringList given;
        for (const QString& option : {ExportOption, ImportOption, ImportSheetOption, ListSheetsOption}) {
            if (parser.isSet(option)) {
                given.append(QStringLiteral("--") + option);
            }
        }
        throw UsageError{Messages::PublishCsvModesTogether.arg(given.join(QStringLiteral(" と ")))};
    }
    if (modes == 0) {
        throw UsageError{Messages::PublishConflictingModes};
    }
    arguments.exporting = parser.isSet(exporting);
    arguments.mode = parser.isSet(exporting)        ? CsvMode::Export
                     : parser.isSet(importing)      ? CsvMode::ImportCsv
                     : parser.isSet(importingSheet) ? CsvMode::ImportSheet
                                                    : CsvMode::ListSheets;
    if (parser.isSet(folder)) {
        arguments.programFolder = parser.value(folder);
        if (arguments.programFolder->isEmpty()) {
            throw UsageError{Messages::PublishMissingFolder};
        }
    }
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(sheet)) {
        if (arguments.mode != CsvMode::ImportSheet) {
            throw UsageError{Messages::PublishUnknownOption.arg(QStringLiteral("--sheet"))};
        }
        arguments.sheet = parser.value(sheet);
    }
    if (arguments.mode == CsvMode::ListSheets) {
        if (positional.size() != 1 || positional[0].isEmpty() || parser.isSet(append)) {
            throw UsageError{Messages::SheetListArguments};
        }
        arguments.file = positional[0];
        return arguments;
    }
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
    int number;
    QString title;
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
            std::clamp(definition.usableColumnCount(), 1, TableRowRecord::MaxColumns), arguments.number,
            ShiftJis::decode(definition.TableName), *stored};
}

/// A line about the table's rows, the table named first.
QString aboutTable(const Table& table, const QString& line) {
    return Messages::TableLine.arg(Messages::tableLabel(table.number, table.title), line);
}

int exportCsv(const CsvArguments& arguments, const Table& table, const Console& lines) {
    TableRowReader reader;
    const QString path = table.files.tablePath();
    if (!reader.open(path, {.layers = RecordSlots::Texts, .columns = table.columns})) {
        if (reader.openError() != ENOENT && reader.openError() != ENOTDIR) {
            throw reader.openFailure(); // a folder, a pipe, a loop of links: told by its cause
        }
        throw Failure{Messages::pageMessageLines({.event = PageEvent::TableDataNotEntered,
                                                  .number = table.number,
                                                  .title = table.title,
                                                  .path = path})};
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
        lines.err(aboutTable(table, Messages::CsvExported.arg(rows).arg(arguments.file)));
        return PublishFinished;
    }
    if (const QString refusal = exportTargetRefusal(arguments.file, table.stored); !refusal.isEmpty()) {
        throw Failure{{Messages::CsvTargetRefused.arg(refusal, arguments.file)}};
    }
    const qsizetype rows = exportCellTexts(arguments.file, reader, table.columns, arguments.encoding);
    lines.out(aboutTable(table, Messages::CsvExported.arg(rows).arg(arguments.file)));
    return PublishFinished;
}

/// The words of one kind of file import: the line that ends a refused one, and why an empty one is
/// refused when it would replace the rows.
struct ImportWords {
    QString refused;
    QString empty;
};

/// Records read from a file into the table: the same rules for a CSV file and a sheet.
int importRecords(const CsvArguments& arguments, const Table& table, const ImportedRecords& records,
                  const ImportWords& words, const Console& lines) {
    // Replacing a table's rows by none would leave it with no row: an empty file is taken for a mistake.
    if (records.count == 0 && !arguments.append) {
        throw Failure{{words.empty, words.refused}};
    }
    // The whole file is checked before anything is written, and read again while it is written: no
    // more than a record of it is held at a time.
    CellTextImporter check(records.encoding, table.columns, TableRowRecord::CellCapacity);
    {
        const auto next = records.read();
        for (QByteArrayList record; next(record);) {
            check.convert(record);
        }
    }
    const CellTextImport& imported = check.report();
    if (csvImportRefused(imported)) {
        throw Failure{Messages::importRefusalLines(imported, words.refused)};
    }

    // A table open in the window program's editor would have its rows saved over the import, and two
    // imports at once would each write the rows it read: the lock is held until the new file is in
    // place, and another writer is waited for a while.
    TableLock lock(table.files);
    if (lock.take(TableLock::WriterWaitMilliseconds) == TableLock::Taking::HeldElsewhere) {
        throw Failure{
            {Messages::TableInUse.arg(Messages::tableLabel(table.number, table.title)), words.refused}};
    }
    const QString path = table.files.tablePath();
    const QString dataFolder = QFileInfo(path).absolutePath();
    if (const LeftScratchFiles left = removeLeftScratchFiles(dataFolder); left.count > 0) {
        lines.err(Messages::pageMessageText({.event = PageEvent::ScratchFilesRemoved,
                                             .path = dataFolder + u'/',
                                             .files = left.count,
                                             .bytes = left.bytes}));
    }
    const auto next = records.read();
    CellTextImporter importer(records.encoding, table.columns, TableRowRecord::CellCapacity);
    const int rowCount = int(records.count);
    const std::optional<int> kept = TableLayersFile::importRows(
        table.files, table.columns, rowCount,
        [&] {
            QByteArrayList record;
            if (!next(record)) {
                throw IoError::fromErrorNumber(arguments.file, FileChangedError); // fewer records now
            }
            return importer.convert(record);
        },
        arguments.append);
    if (!kept) {
        throw Failure{{Messages::CsvTooManyRows.arg(TableLayers::MaxRows), words.refused}};
    }

    if (imported.droppedFields > 0) {
        lines.err(
            aboutTable(table, Messages::CsvFieldsDropped.arg(imported.droppedFields).arg(table.columns)));
    }
    if (!imported.cutCells.isEmpty()) {
        lines.err(aboutTable(table, Messages::CellTextsCut.arg(TableRowRecord::CellCapacity)
                                        .arg(Messages::cellNames(imported.cutCells, *kept))));
    }
    lines.out(aboutTable(table, Messages::CsvImported.arg(rowCount).arg(path)));
    return PublishFinished;
}

int importCsv(const CsvArguments& arguments, const Table& table, const Console& lines) {
    const CsvFile file = CsvFile::read(arguments.file);
    if (file.refusal) {
        throw Failure{{Messages::csvRefusalText(*file.refusal), Messages::CsvImportRefused}};
    }
    return importRecords(arguments, table, ImportedRecords::of(file),
                         {Messages::CsvImportRefused, Messages::CsvEmpty}, lines);
}

/// The sheet named by --sheet (a name, else a number from 1), or the first.
SheetFile readSheet(const CsvArguments& arguments, const SheetChoice& choice) {
    const SheetFile file = SheetFile::read(arguments.file, choice);
    if (file.failure != SheetFailure::None) {
        throw Failure{
            {Messages::sheetFailureText(file.failure, file.missingSheet), Messages::SheetImportRefused}};
    }
    return file;
}

int importSheet(const CsvArguments& arguments, const Table& table, const Console& lines) {
    const SheetFile file = readSheet(arguments, SheetChoice{0, arguments.sheet});
    return importRecords(arguments, table, ImportedRecords::of(file.records),
                         {Messages::SheetImportRefused, Messages::SheetEmpty}, lines);
}

/// --list-sheets: one line per sheet, its number from 1, a space and its name.
int listSheets(const CsvArguments& arguments, const Console& lines) {
    const SheetFile file = readSheet(arguments, SheetChoice::namesOnly());
    for (qsizetype i = 0; i < file.sheetNames.size(); ++i) {
        lines.out(QString::number(i + 1) + u' ' + file.sheetNames[i]);
    }
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
        if (parsed.mode == CsvMode::ListSheets) {
            return listSheets(parsed, lines);
        }
        const Table table = findTable(parsed, executableFolder, lines);
        switch (parsed.mode) {
        case CsvMode::Export:
            return exportCsv(parsed, table, lines);
        case CsvMode::ImportCsv:
            return importCsv(parsed, table, lines);
        case CsvMode::ImportSheet:
        case CsvMode::ListSheets:
            break;
        }
        return importSheet(parsed, table, lines);
    } catch (const UsageError& error) {
        lines.err(ProgramName + QStringLiteral(": ") + error.text);
        for (const QString& line : (Messages::PublishUsage + Messages::PublishCsvUsage + Messages::SheetUsage)
                                       .trimmed()
                                       .split(u'\n')) {
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
