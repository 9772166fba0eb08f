#include "publish_command.h"
#include "kelvano_version.h"

#include "core/html/page_check.h"
#include "core/html/page_generator.h"
#include "core/store/folder_mapping.h"
#include "core/store/io_error.h"
#include "core/store/program_settings.h"
#include "core/store/settings_file.h"
#include "core/store/shift_jis.h"
#include "csv_command.h"
#include "publish_texts.h"
#include "stored_tables.h"
#include "terminal_text.h"
#include "upload_command.h"
#include "words/check_words.h"
#include "words/page_words.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <algorithm>
#include <optional>

namespace kelvano {
namespace {

const QString ProgramName = QStringLiteral("kelvano-publish");

struct Arguments {
    std::optional<QString> programFolder;
    bool all = false;
    bool list = false;
    bool check = false;
    bool help = false;
    bool version = false;
    /// --map-folders: folders from elsewhere are mapped into the program folder and kept in TAVELO.DAT.
    bool mapFolders = false;
    /// --encoding: the page encoding for this run instead of KELVANO.INI's.
    std::optional<PageEncoding> encoding;
    /// --markup: the page markup for this run instead of KELVANO.INI's.
    std::optional<PageMarkup> markup;
    QList<int> numbers;
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

/// Whether the argument as typed names the option: "--name", "-name", either with "=value", or short
/// options run together ("-hx" names x).
bool namesOption(const QString& argument, const QString& name) {
    const QString option = argument.section(QLatin1Char('='), 0, 0);
    const bool shortOptions = option.startsWith(QLatin1Char('-')) && !option.startsWith(QStringLiteral("--"));
    return option == QStringLiteral("--") + name || (shortOptions && option.mid(1).contains(name));
}

/// The argument as typed that the parser refused: the first naming an unknown option, else the first
/// flag given a value ("--all=x"), the only other error besides a missing folder.
QString refusedArgument(const QStringList& list, const QStringList& unknownNames) {
    const auto refused = [&unknownNames](const QString& argument) {
        if (!unknownNames.isEmpty()) {
            return namesOption(argument, unknownNames.first());
        }
        return argument.startsWith(QLatin1Char('-')) && argument.contains(QLatin1Char('=')) &&
               !argument.startsWith(QStringLiteral("--program-folder=")) &&
               !argument.startsWith(QStringLiteral("--encoding=")) &&
               !argument.startsWith(QStringLiteral("--markup="));
    };
    const auto found = std::find_if(list.begin(), list.end(), refused);
    return found != list.end() ? *found : QLatin1Char('-') + unknownNames.value(0);
}

Arguments parseArguments(const QStringList& list) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption all(QStringLiteral("all"));
    const QCommandLineOption listing(QStringLiteral("list"));
    const QCommandLineOption checking(QStringLiteral("check"));
    const QCommandLineOption folder(QStringLiteral("program-folder"), {}, QStringLiteral("folder"));
    const QCommandLineOption encoding(QStringLiteral("encoding"), {}, QStringLiteral("name"));
    const QCommandLineOption markup(QStringLiteral("markup"), {}, QStringLiteral("name"));
    const QCommandLineOption mapFolders(QStringLiteral("map-folders"));
    parser.addOptions({help, version, all, listing, checking, folder, encoding, markup, mapFolders});
    // Options come before, between and after the numbers alike; "--" is no end of the options here.
    if (list.contains(QStringLiteral("--"))) {
        throw UsageError{Messages::PublishUnknownOption.arg(QStringLiteral("--"))};
    }
    if (!parser.parse(QStringList{ProgramName} + list)) {
        // The options that take a value: a missing value means the option ended the line.
        if (parser.unknownOptionNames().isEmpty() && list.endsWith(QStringLiteral("--program-folder"))) {
            throw UsageError{Messages::PublishMissingFolder};
        }
        if (parser.unknownOptionNames().isEmpty() && list.endsWith(QStringLiteral("--encoding"))) {
            throw UsageError{Messages::PublishBadEncoding.arg(QString())};
        }
        if (parser.unknownOptionNames().isEmpty() && list.endsWith(QStringLiteral("--markup"))) {
            throw UsageError{Messages::PublishBadMarkup.arg(QString())};
        }
        throw UsageError{
            Messages::PublishUnknownOption.arg(refusedArgument(list, parser.unknownOptionNames()))};
    }
    Arguments arguments;
    arguments.help = parser.isSet(help);
    arguments.version = parser.isSet(version);
    arguments.all = parser.isSet(all);
    arguments.list = parser.isSet(listing);
    arguments.check = parser.isSet(checking);
    arguments.mapFolders = parser.isSet(mapFolders);
    if (parser.isSet(folder)) {
        arguments.programFolder = parser.value(folder);
        if (arguments.programFolder->isEmpty()) {
            throw UsageError{Messages::PublishMissingFolder};
        }
    }
    if (parser.isSet(encoding)) {
        arguments.encoding = ProgramSettings::pageEncodingFromName(parser.value(encoding));
        if (!arguments.encoding) {
            throw UsageError{Messages::PublishBadEncoding.arg(parser.value(encoding))};
        }
    }
    if (parser.isSet(markup)) {
        arguments.markup = ProgramSettings::pageMarkupFromName(parser.value(markup));
        if (!arguments.markup) {
            throw UsageError{Messages::PublishBadMarkup.arg(parser.value(markup))};
        }
    }
    for (const QString& argument : parser.positionalArguments()) {
        const std::optional<int> number = parseNumber(argument);
        if (!number) {
            throw UsageError{Messages::PublishBadNumber.arg(argument)};
        }
        arguments.numbers.append(*number);
    }
    if (arguments.help || arguments.version) {
        return arguments;
    }
    const int modes = int(arguments.all) + int(arguments.list) + int(!arguments.numbers.isEmpty());
    if (modes == 0) {
        throw UsageError{Messages::PublishNoMode};
    }
    if (modes > 1 || (arguments.check && arguments.list)) {
        throw UsageError{Messages::PublishConflictingModes};
    }
    return arguments;
}

/// One line per message: errors on standard error, the completion message on standard output.
class ConsoleReport : public PageReport {
public:
    explicit ConsoleReport(const Console& console) : m_console(console) {}

    void report(const PageMessage& message) override {
        // The lines of the program's message box (what happened, the file, the reason) become one line;
        // the stored texts in them (titles, file names) are escaped like the listing.
        QStringList parts = Messages::pageMessageLines(message);
        for (QString& part : parts) {
            part = escapeControlCharacters(part);
        }
        const QString line = parts.join(QStringLiteral(": "));
        if (message.kind() == PageMessageKind::Information) {
            m_console.out(line);
        } else {
            m_console.err(line);
        }
    }

private:
    const Console& m_console;
};

/// With --map-folders, the folders from elsewhere become those of the program folder that match them,
/// told on standard output and kept in TAVELO.DAT. Then every folder still missing is told, and without
/// --map-folders how to map it.
SettingsRecord foldersInForce(const Arguments& arguments, const StoredTables& stored,
                              const Console& console) {
    SettingsRecord settings = stored.settings;
    if (arguments.mapFolders) {
        const QList<FolderProposal> proposals = proposeFolders(settings, stored.programFolder);
        for (const FolderProposal& proposal : proposals) {
            console.out(escapeControlCharacters(
                Messages::PublishFolderMapped.arg(Messages::folderSettingName(proposal.setting),
                                                  ShiftJis::decode(proposal.stored), proposal.proposed)));
        }
        if (!proposals.isEmpty()) {
            settings = withProposals(settings, proposals);
            SettingsFile::save(stored.programFolder, settings);
        }
    }
    bool missing = false;
    for (const FolderSetting setting : {FolderSetting::Data, FolderSetting::Html, FolderSetting::Image}) {
        const QByteArray& folder = settings.*settingMember(setting);
        const FolderState state = folderState(folder);
        if (state != FolderState::Present) {
            missing = true;
            console.err(escapeControlCharacters(
                (state == FolderState::Missing ? Messages::PublishFolderMissing
                                               : Messages::PublishFolderNotOfThisSystem)
                    .arg(Messages::folderSettingName(setting), ShiftJis::decode(folder))));
        }
    }
    if (missing && !arguments.mapFolders) {
        console.err(Messages::PublishMapFoldersHint);
    }
    return settings;
}

int publish(const Arguments& arguments, const QString& executableFolder, const Console& console) {
    const std::optional<StoredTables> stored = readStoredTables(arguments.programFolder, executableFolder);
    if (!stored) {
        console.err(Messages::NoData);
        return PublishEndedEarly;
    }
    for (const QString& notice : stored->notices) {
        console.err(notice);
    }
    const QString& programFolder = stored->programFolder;
    const SettingsRecord settings = arguments.list && !arguments.mapFolders
                                        ? stored->settings
                                        : foldersInForce(arguments, *stored, console);
    const QList<NumberedDefinition>& definitions = stored->definitions;

    QList<int> live;
    for (const NumberedDefinition& record : definitions) {
        if (!record.definition.Deleted) {
            live.append(record.number);
        }
    }
    if (arguments.list) {
        for (const int number : live) {
            const TableDefinition& d = definitions.at(number).definition;
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
    if (!arguments.encoding || !arguments.markup) {
        for (const ProgramSettings::UnknownValue& unknown : ProgramSettings::unknownValues(programFolder)) {
            console.err(Messages::ProgramSettingUnknown.arg(unknown.key, unknown.value, unknown.used));
        }
    }
    const PageEncoding encoding = arguments.encoding.value_or(ProgramSettings::pageEncoding(programFolder));
    const PageMarkup markup = arguments.markup.value_or(ProgramSettings::pageMarkup(programFolder));
    const QList<int>& numbers = arguments.all ? live : arguments.numbers;
    if (arguments.check) {
        const std::optional<QList<PageFinding>> findings =
            CheckPages(settings, programFolder, numbers, encoding, markup);
        if (!findings) {
            console.err(Messages::NoData);
            return PublishEndedEarly;
        }
        for (const PageFinding& finding : *findings) {
            console.out(escapeControlCharacters(Messages::findingLine(finding)));
        }
        return findings->isEmpty() ? PublishFinished : PublishEndedEarly;
    }
    ConsoleReport report(console);
    PageRunOptions options;
    options.encoding = encoding;
    options.markup = markup;
    const PageRunOutcome outcome = GeneratePages(
        settings, programFolder, arguments.all ? live : arguments.numbers, report, QLocale(), options);
    return outcome == PageRunOutcome::Finished ? PublishFinished : PublishEndedEarly;
}

} // namespace

int runPublishCommand(const QStringList& arguments, const QString& executableFolder, std::FILE* out,
                      std::FILE* err) {
    const Console console(out, err);
    const QString help = Messages::PublishUsage + Messages::PublishCsvUsage + Messages::SheetUsage +
                         Messages::PublishUploadUsage + QLatin1Char('\n') + Messages::PublishHelp +
                         QLatin1Char('\n') + Messages::PublishCsvHelp + Messages::SheetHelp +
                         QLatin1Char('\n') + Messages::PublishUploadHelp;
    if (isCsvCommand(arguments)) {
        if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
            console.out(help);
            return PublishFinished;
        }
        return runCsvCommand(arguments, executableFolder, out, err);
    }
    if (isUploadCommand(arguments)) {
        if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
            console.out(help);
            return PublishFinished;
        }
        return runUploadCommand(arguments, executableFolder, out, err);
    }
    try {
        const Arguments parsed = parseArguments(arguments);
        if (parsed.version) {
            console.out(ProgramName + QStringLiteral(" ") + QStringLiteral(KELVANO_VERSION));
            return PublishFinished;
        }
        if (parsed.help) {
            console.out(help);
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
