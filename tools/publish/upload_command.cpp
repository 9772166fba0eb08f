#include "upload_command.h"

#include "core/publish/password_keyring.h"
#include "core/publish/upload_files.h"
#include "core/publish/upload_run.h"
#include "core/store/io_error.h"
#include "core/store/program_settings.h"
#include "publish_texts.h"
#include "stored_tables.h"
#include "terminal_text.h"
#include "words/page_words.h"
#include "words/upload_words.h"

#include <QCommandLineParser>
#include <QFile>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace kelvano {
namespace {

const QString ProgramName = QStringLiteral("kelvano-publish");
const char* const PasswordVariable = "KELVANO_UPLOAD_PASSWORD";

struct UploadArguments {
    std::optional<QString> programFolder;
    bool all = false;
    bool dryRun = false;
    bool deleteMissing = false;
    QList<int> numbers;
};

struct UsageError {
    QString text;
};

UploadArguments parseUploadArguments(const QStringList& list) {
    QCommandLineParser parser;
    const QCommandLineOption upload(QStringLiteral("upload"));
    const QCommandLineOption all(QStringLiteral("all"));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"));
    const QCommandLineOption deleteMissing(QStringLiteral("delete-missing"));
    const QCommandLineOption folder(QStringLiteral("program-folder"), {}, QStringLiteral("folder"));
    parser.addOptions({upload, all, dryRun, deleteMissing, folder});
    if (!parser.parse(QStringList{ProgramName} + list)) {
        throw UsageError{parser.errorText()};
    }
    UploadArguments arguments;
    arguments.all = parser.isSet(all);
    arguments.dryRun = parser.isSet(dryRun);
    arguments.deleteMissing = parser.isSet(deleteMissing);
    if (parser.isSet(folder)) {
        arguments.programFolder = parser.value(folder);
    }
    for (const QString& text : parser.positionalArguments()) {
        bool isNumber = false;
        const int number = text.toInt(&isNumber);
        if (!isNumber || number < 0 || text.startsWith(QLatin1Char('+'))) {
            throw UsageError{Messages::PublishBadNumber.arg(text)};
        }
        arguments.numbers.append(number);
    }
    if (arguments.all == !arguments.numbers.isEmpty()) {
        throw UsageError{arguments.all ? Messages::PublishConflictingModes : Messages::PublishNoMode};
    }
    return arguments;
}

bool onTerminal() {
    return ::isatty(STDIN_FILENO) == 1;
}

/// A line typed on the terminal; with `hidden`, without echo.
QString readTerminalLine(bool hidden) {
    termios saved{};
    const bool changed = hidden && ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (changed) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    std::getline(std::cin, line);
    if (changed) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputc('\n', stderr);
    }
    return QString::fromLocal8Bit(line.c_str());
}

/// Asks on the terminal; "no" when there is none to ask on.
bool askYesNo(const Console& console, const QString& question) {
    console.err(question + Messages::UploadTrustAnswer);
    if (!onTerminal()) {
        return false;
    }
    const QString answer = readTerminalLine(false).trimmed().toLower();
    return answer == QStringLiteral("y") || answer == QStringLiteral("yes");
}

class TerminalTrust : public TrustQuestions {
public:
    explicit TerminalTrust(const Console& console) : m_console(console) {}
    bool trustHostKey(const QString& server, const QString& fingerprint) override {
        return askYesNo(m_console, Messages::UploadTrustHostKey.arg(server, fingerprint));
    }
    bool trustCertificate(const QString& server, const QString& fingerprint, const QString& reason) override {
        return askYesNo(m_console, Messages::UploadTrustCertificate.arg(server, fingerprint, reason));
    }

private:
    const Console& m_console;
};

class ConsoleProgress : public UploadProgress {
public:
    explicit ConsoleProgress(const Console& console) : m_console(console) {}
    void fileStarting(int index, int count, const QString& remotePath, qint64 size) override {
        m_console.out(Messages::UploadFileStarting.arg(index + 1)
                          .arg(count)
                          .arg(escapeControlCharacters(remotePath))
                          .arg(size));
    }
    void bytesSent(qint64, qint64) override {}
    bool goOn() override { return true; }

private:
    const Console& m_console;
};

/// The password for the server: the keyring (when the user chose to keep it there), else the
/// environment, else the terminal (without echo); nullopt when none gives one. Agent authentication
/// needs none.
std::optional<QString> findPassword(const ServerSettings& server) {
    if (server.authentication == UploadAuthentication::Agent) {
        return QString();
    }
    if (server.savePassword) {
        if (std::optional<QString> kept = PasswordKeyring::read(server)) {
            return kept;
        }
    }
    if (qEnvironmentVariableIsSet(PasswordVariable)) {
        return qEnvironmentVariable(PasswordVariable);
    }
    if (!onTerminal()) {
        return std::nullopt;
    }
    std::fputs(TerminalText()
                   .encode(Messages::UploadPasswordPrompt.arg(server.user + QLatin1Char('@') + server.host))
                   .constData(),
               stderr);
    std::fflush(stderr);
    return readTerminalLine(true);
}

int upload(const UploadArguments& arguments, const QString& executableFolder, const Console& console) {
    const std::optional<StoredTables> stored = readStoredTables(arguments.programFolder, executableFolder);
    if (!stored) {
        console.err(Messages::NoData);
        return 1;
    }
    QList<int> numbers;
    for (const NumberedDefinition& record : stored->definitions) {
        if (arguments.all && !record.definition.Deleted) {
            numbers.append(record.number);
        }
    }
    for (const int number : arguments.numbers) {
        if (!stored->isLive(number)) {
            throw UsageError{Messages::PublishNoSuchDefinition.arg(number)};
        }
        numbers.append(number);
    }
    const QString& programFolder = stored->programFolder;
    const ServerSettings server = ProgramSettings::serverSettings(programFolder);
    if (!server.isComplete()) {
        console.err(Messages::UploadNoServer);
        return 1;
    }
    const std::optional<UploadFiles> files = gatherUploadFiles(stored->settings, programFolder, numbers);
    if (!files) {
        console.err(Messages::NoData);
        return 1;
    }
    bool complete =
        files->unwrittenPages.isEmpty() && files->missingPictures.isEmpty() && !files->imagePathUnusable;
    for (const UnwrittenPage& page : files->unwrittenPages) {
        console.err(escapeControlCharacters(Messages::UploadPageNotWritten.arg(
            Messages::tableLabel(page.number, page.title), page.pagePath)));
    }
    for (const MissingPicture& picture : files->missingPictures) {
        console.err(escapeControlCharacters(Messages::UploadPictureMissing.arg(
            Messages::tableLabel(picture.number, picture.title), picture.name)));
    }
    if (files->imagePathUnusable) {
        console.err(Messages::UploadImagePathUnusable);
    }
    UploadManifest manifest(UploadManifest::pathFor(programFolder, server),
                            UploadManifest::serverLabel(server));
    manifest.open();
    const QList<PlannedFile> plan = planUpload(files->files, manifest);
    const int toSend = countToSend(plan);
    if (arguments.dryRun) {
        for (const PlannedFile& planned : plan) {
            if (planned.reason != UploadReason::Unchanged) {
                console.out(escapeControlCharacters(Messages::UploadWouldSend.arg(
                    planned.file.remotePath, planned.reason == UploadReason::New
                                                 ? Messages::UploadReasonNew
                                                 : Messages::UploadReasonChanged)));
            }
        }
        if (arguments.deleteMissing) {
            for (const QString& path : filesGoneHere(manifest, stored->settings)) {
                console.out(escapeControlCharacters(Messages::UploadWouldRemove.arg(path)));
            }
        }
        console.out(Messages::UploadWouldSendCount.arg(toSend).arg(plan.size() - toSend));
        return complete ? 0 : 1;
    }
    const std::optional<QString> password = findPassword(server);
    if (!password) {
        console.err(Messages::UploadNoPassword);
        return 1;
    }
    TerminalTrust trust(console);
    RemoteSession session(server, *password, programFolder, trust);
    QStringList names;
    if (const std::optional<RemoteFailure> failure = session.connect(names)) {
        console.err(escapeControlCharacters(
            Messages::remoteFailureText(*failure, session.serverName(), programFolder)));
        return 1;
    }
    ConsoleProgress progress(console);
    const UploadSummary summary = runUpload(session, manifest, plan, &progress);
    for (const UploadFailure& failure : summary.failures) {
        console.err(escapeControlCharacters(Messages::UploadFileFailed.arg(
            failure.remotePath,
            Messages::remoteFailureText(failure.failure, session.serverName(), programFolder))));
    }
    if (summary.notTried > 0) {
        console.err(Messages::UploadNotTried.arg(summary.notTried));
    }
    console.out(Messages::UploadFinished.arg(summary.sent).arg(summary.unchanged));
    complete = complete && summary.succeeded();
    if (arguments.deleteMissing && !summary.ended) {
        const QStringList gone = filesGoneHere(manifest, stored->settings);
        if (gone.isEmpty()) {
            console.out(Messages::UploadNothingToRemove);
        } else {
            for (const QString& path : gone) {
                console.out(escapeControlCharacters(Messages::UploadWouldRemove.arg(path)));
            }
            if (!onTerminal()) {
                console.err(Messages::UploadRemoveNotAsked);
                return 1;
            }
            if (askYesNo(console, Messages::UploadRemoveQuestion)) {
                const RemovalSummary removal = removeFromServer(session, manifest, gone);
                console.out(Messages::UploadRemoved.arg(removal.removed.size()));
                if (removal.failure) {
                    console.err(escapeControlCharacters(Messages::UploadRemoveFailed.arg(
                        removal.failure->remotePath,
                        Messages::remoteFailureText(removal.failure->failure, session.serverName(),
                                                    programFolder))));
                    complete = false;
                }
            }
        }
    }
    return complete ? 0 : 1;
}

} // namespace

bool isUploadCommand(const QStringList& arguments) {
    return arguments.contains(QStringLiteral("--upload"));
}

int runUploadCommand(const QStringList& arguments, const QString& executableFolder, std::FILE* out,
                     std::FILE* err) {
    const Console console(out, err);
    try {
        return upload(parseUploadArguments(arguments), executableFolder, console);
    } catch (const UsageError& error) {
        console.err(ProgramName + QStringLiteral(": ") + error.text);
        console.err(Messages::PublishUploadUsage.trimmed());
        return 2;
    } catch (const IoError& error) {
        console.err(escapeControlCharacters(error.path() + QStringLiteral(": ") + error.reason()));
        return 1;
    }
}

} // namespace kelvano
