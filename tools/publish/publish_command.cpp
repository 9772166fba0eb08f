#include "publish_command.h"

#include "html/page_generator.h"
#include "store/file_names.h"
#include "store/io_error.h"
#include "store/messages.h"
#include "store/program_folder.h"
#include "store/settings_file.h"
#include "store/shift_jis.h"
#include "store/table_definition_file.h"
#include "terminal_text.h"

#include <QFile>
#include <optional>

namespace kelvano {
namespace {

const QString ProgramName = QStringLiteral("kelvano-publish");

struct Arguments {
    std::optional<QString> programFolder;
    bool all = false;
    bool list = false;
    bool help = false;
    QList<int> numbers;
};

/// Writes lines in the terminal's encoding.
class Console {
public:
    Console(std::FILE* out, std::FILE* err) : m_out(out), m_err(err) {}

    void out(const QString& line) const { put(m_out, line); }
    void err(const QString& line) const { put(m_err, line); }

private:
    void put(std::FILE* stream, const QString& line) const {
        const QByteArray bytes = m_text.encode(line + QLatin1Char('\n'));
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
        std::fflush(stream);
    }

    std::FILE* m_out;
    std::FILE* m_err;
    TerminalText m_text;
};

/// Thrown for arguments that cannot be used: the text says why.
struct UsageError {
    QString text;
};

std::optional<int> parseNumber(const QString& text) {
    if (text.isEmpty() || text.size() > 9) {
        return std::nullopt;
    }
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return std::nullopt;
        }
    }
    return text.toInt();
}

Arguments parseArguments(const QStringList& list) {
    Arguments arguments;
    const QString folderOption = QStringLiteral("--program-folder");
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString& argument = list[i];
        if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
            arguments.help = true;
        } else if (argument == QStringLiteral("--all")) {
            arguments.all = true;
        } else if (argument == QStringLiteral("--list")) {
            arguments.list = true;
        } else if (argument == folderOption) {
            if (i + 1 >= list.size() || list[i + 1].isEmpty()) {
                throw UsageError{Messages::PublishMissingFolder};
            }
            arguments.programFolder = list[++i];
        } else if (argument.startsWith(folderOption + QLatin1Char('='))) {
            arguments.programFolder = argument.mid(folderOption.size() + 1);
            if (arguments.programFolder->isEmpty()) {
                throw UsageError{Messages::PublishMissingFolder};
            }
        } else if (argument.startsWith(QLatin1Char('-'))) {
            throw UsageError{Messages::PublishUnknownOption.arg(argument)};
        } else if (const std::optional<int> number = parseNumber(argument)) {
            arguments.numbers.append(*number);
        } else {
            throw UsageError{Messages::PublishBadNumber.arg(argument)};
        }
    }
    if (arguments.help) {
        return arguments;
    }
    const int modes = int(arguments.all) + int(arguments.list) + int(!arguments.numbers.isEmpty());
    if (modes == 0) {
        throw UsageError{Messages::PublishNoMode};
    }
    if (modes > 1) {
        throw UsageError{Messages::PublishConflictingModes};
    }
    return arguments;
}

/// The folder settings as the program would start with them, read without creating or changing
/// TAVELO.DAT: a missing or short file gives the settings of a first run.
SettingsRecord readSettings(const QString& programFolder) {
    QFile file(programFolder + SettingsFile::FileName);
    if (!file.exists() || file.size() < SettingsRecord::Size) {
        return SettingsFile::defaults(programFolder);
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw IoError::fromFile(file);
    }
    const QByteArray record = file.read(SettingsRecord::Size);
    if (record.size() != SettingsRecord::Size) {
        throw IoError::fromFile(file);
    }
    return SettingsRecord::decode(record);
}

/// The whole records of TABLE.DAT, read without creating or changing it; nullopt when it cannot be
/// opened. An IoError when it ends in an incomplete record.
std::optional<QList<NumberedDefinition>> readDefinitions(const QString& programFolder) {
    const TableDefinitionFile definitions(programFolder);
    QFile file(definitions.path());
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray contents = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw IoError::fromFile(file);
    }
    if (contents.size() % TableDefinition::Size != 0) {
        throw definitions.damagedTailError();
    }
    QList<NumberedDefinition> records;
    for (qsizetype at = 0; at < contents.size(); at += TableDefinition::Size) {
        records.append({static_cast<int>(at / TableDefinition::Size),
                        TableDefinition::decode(QByteArrayView(contents).sliced(at, TableDefinition::Size))});
    }
    return records;
}

/// One line per message: errors on standard error, the completion message on standard output.
class ConsoleReport : public PageReport {
public:
    explicit ConsoleReport(const Console& console) : m_console(console) {}

    void report(const PageMessage& message) override {
        // A message box's lines (table, file, reason) become one line; the stored texts in it (titles,
        // file names) are escaped like the listing.
        QStringList parts = message.text.split(QLatin1Char('\n'));
        for (QString& part : parts) {
            part = escapeControlCharacters(part);
        }
        const QString line = parts.join(QStringLiteral(": "));
        if (message.kind == PageMessageKind::Information) {
            m_console.out(line);
        } else {
            m_console.err(line);
        }
    }

private:
    const Console& m_console;
};

int publish(const Arguments& arguments, const QString& executableFolder, const Console& console) {
    const QString programFolder = arguments.programFolder ? withTrailingSeparator(*arguments.programFolder)
                                                          : resolveProgramFolder(executableFolder);
    const SettingsRecord settings = readSettings(programFolder);
    const std::optional<QList<NumberedDefinition>> definitions = readDefinitions(programFolder);
    if (!definitions) {
        console.err(Messages::NoData);
        return PublishEndedEarly;
    }

    QList<int> live;
    for (const NumberedDefinition& record : *definitions) {
        if (!record.definition.Deleted) {
            live.append(record.number);
        }
    }
    if (arguments.list) {
        for (const int number : live) {
            const TableDefinition& d = definitions->at(number).definition;
            // Stored texts reach the terminal with their control characters escaped, so a title
            // cannot send it control sequences (or a tab that shifts the columns).
            QStringList fields{QString::number(number)};
            for (const QByteArray* text : {&d.TableName, &d.FileName, &d.HeaderName, &d.FooterName}) {
                fields.append(escapeControlCharacters(ShiftJis::decode(*text)));
            }
            console.out(fields.join(QLatin1Char('\t')));
        }
        return PublishFinished;
    }
    for (const int number : arguments.numbers) {
        if (!live.contains(number)) {
            throw UsageError{Messages::PublishNoSuchDefinition.arg(number)};
        }
    }
    ConsoleReport report(console);
    const PageRunOutcome outcome =
        GeneratePages(settings, programFolder, arguments.all ? live : arguments.numbers, report);
    return outcome == PageRunOutcome::Finished ? PublishFinished : PublishEndedEarly;
}

} // namespace

int runPublishCommand(const QStringList& arguments, const QString& executableFolder, std::FILE* out,
                      std::FILE* err) {
    const Console console(out, err);
    try {
        const Arguments parsed = parseArguments(arguments);
        if (parsed.help) {
            console.out(Messages::PublishUsage + QLatin1Char('\n') + Messages::PublishHelp);
            return PublishFinished;
        }
        return publish(parsed, executableFolder, console);
    } catch (const UsageError& error) {
        console.err(ProgramName + QStringLiteral(": ") + error.text);
        console.err(Messages::PublishUsage.trimmed());
        return PublishUsageError;
    } catch (const IoError& error) {
        console.err(escapeControlCharacters(error.path() + QStringLiteral(": ") + error.reason()));
        return PublishEndedEarly;
    }
}

} // namespace kelvano
