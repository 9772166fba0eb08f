#include "core/html/page_generator.h"

#include "core/html/cell_plan.h"
#include "core/html/clock.h"
#include "core/html/header_macros.h"
#include "core/html/html5_table_markup.h"
#include "core/html/page_output.h"
#include "core/html/picture_sizes.h"
#include "core/html/table_markup.h"
#include "core/store/file_names.h"
#include "core/store/save_file.h"
#include "core/store/scratch_files.h"
#include "core/store/shift_jis.h"
#include "core/store/snippet_store.h"
#include "core/store/table_data_files.h"
#include "core/store/table_definition_file.h"
#include "core/store/text_lines.h"
#include "core/store/work_ahead.h"
#include "core/table/csv_exchange.h"

#include <QBuffer>
#include <algorithm>
#include <cerrno>
#include <map>

namespace kelvano {
namespace {

enum class TableOutcome { Written, Failed, Abandoned, Cancelled };

/// What a page is made from, read before it is made.
struct PageSource {
    int number = 0;
    /// Nullopt when TABLE.DAT has no such record (or cannot be opened).
    std::optional<TableDefinition> definition;
    std::optional<IoError> definitionError;
    /// The data file, tried when the definition's file name is usable; `rowsOpen` when it opened.
    std::unique_ptr<TableRowReader> rows;
    bool rowsOpen = false;
};

/// How many tables a run of several pages reads ahead of the page being written.
constexpr int TablesReadAhead = 2;

/// Thrown from within a page when the user stops the run.
struct RunCancelled {};

/// How many rows go by between two questions whether the run goes on.
constexpr int RowsBetweenQuestions = 64;

class PageRun {
public:
    PageRun(const SettingsRecord& settings, const QString& programFolder, PageReport& report,
            const QLocale& locale, const PageRunOptions& options)
        : m_dataFolder(ShiftJis::decode(settings.DataFolder)),
          m_htmlFolder(ShiftJis::decode(settings.HtmlFolder)), m_serverImagePath(settings.ServerImagePath),
          m_definitions(TableDefinitionFile(programFolder)), m_report(report), m_macroFormats(locale),
          m_options(options), m_pictureSizes(ShiftJis::decode(settings.ImageFolder)) {}

    /// Reads what the page of one definition is made from. Touches nothing but TABLE.DAT and the data
    /// file, so that it may run ahead of the pages on another thread.
    PageSource readSource(int number) {
        PageSource source;
        source.number = number;
        try {
            source.definition = m_definitions.read(number);
        } catch (const IoError& error) {
            source.definitionError = error;
            return source;
        }
        if (source.definition && isUsableStoredFileName(source.definition->FileName)) {
            source.rows = std::make_unique<TableRowReader>();
            source.rowsOpen =
                TableDataFiles(m_dataFolder, ShiftJis::decode(source.definition->FileName))
                    .openRowsForReading(*source.rows, {.columns = source.definition->usableColumnCount()});
        }
        return source;
    }

    /// Writes the page of one definition and tells why when it cannot; Abandoned when TABLE.DAT cannot
    /// be opened, which no later table can get past either. With a `target` the page goes there instead
    /// of its file; `index` and `count` place it in the run for the progress.
    TableOutcome writePage(PageSource& source, QIODevice* target = nullptr, int index = 0, int count = 1) {
        const int number = source.number;
        if (source.definitionError) {
            m_report.report({.event = PageEvent::DefinitionUnreadable,
                             .number = number,
                             .ioError = source.definitionError});
            return TableOutcome::Failed;
        }
        const std::optional<TableDefinition>& definition = source.definition;
        if (!definition) {
            return TableOutcome::Abandoned;
        }
        if (!isUsableStoredFileName(definition->FileName)) {
            m_report.report({.event = PageEvent::FileNameUnusable,
                             .number = number,
                             .title = ShiftJis::decode(definition->TableName)});
            return TableOutcome::Failed;
        }
        const QString title = ShiftJis::decode(definition->TableName);
        if (m_options.progress != nullptr && !m_options.progress->pageStarting(index, count, title)) {
            return TableOutcome::Cancelled;
        }
        const QString fileName = ShiftJis::decode(definition->FileName);
        std::optional<qsizetype> batchMark;
        try {
            TableRowReader& rows = *source.rows;
            if (!source.rowsOpen) {
                if (rows.openError() == ENOENT || rows.openError() == ENOTDIR) {
                    m_report.report({.event = PageEvent::TableDataNotEntered,
                                     .number = number,
                                     .title = title,
                                     .path = TableDataFiles(m_dataFolder, fileName).tablePath()});
                    return TableOutcome::Failed;
                }
                throw rows.openFailure();
            }
            const auto write = [&](QIODevice& device) {
                PageOutput page(device, m_options.encoding);
                if (m_options.markup == PageMarkup::Html5) {
                    Html5TableMarkup table(*definition, m_serverImagePath, m_options.encoding);
                    table.setPictureSizes(&m_pictureSizes);
                    writePage(page, *definition, rows, table);
                } else {
                    TableMarkup table(*definition, m_serverImagePath);
                    writePage(page, *definition, rows, table);
                }
                page.finish();
            };
            if (target != nullptr) {
                write(*target);
            } else {
                const QString pagePath = m_htmlFolder + fileName + QStringLiteral(".html");
                requirePathOfThisSystem(pagePath);
                // The page and the CSV beside it are replaced together or not at all.
                batchMark = m_batch.size();
                if (TablePlan(*definition).csvBeside()) {
                    writeCsvBeside(*definition, fileName, number, title);
                }
                m_batch.add(pagePath, write);
                m_pendingPages.append({pagePath, number, title});
            }
        } catch (const RunCancelled&) {
            giveUpFilesFrom(batchMark);
            return TableOutcome::Cancelled;
        } catch (const IoError& error) {
            giveUpFilesFrom(batchMark);
            tellPageNotWritten(number, title, error);
            return TableOutcome::Failed;
        }
        return TableOutcome::Written;
    }

    void tell(PageEvent event) { m_report.report({.event = event}); }
    void report(const PageMessage& message) { m_report.report(message); }

    /// Removes the scratch files that runs ended by a crash or a kill left in the HTML and data
    /// folders (a page's or a table's), and tells how much went.
    void removeLeftovers() {
        QStringList folders{m_htmlFolder};
        if (m_dataFolder != m_htmlFolder) {
            folders.append(m_dataFolder);
        }
        for (const QString& folder : folders) {
            if (const LeftScratchFiles left = removeLeftScratchFiles(folder); left.count > 0) {
                m_report.report({.event = PageEvent::ScratchFilesRemoved,
                                 .path = folder,
                                 .files = left.count,
                                 .bytes = left.bytes});
            }
        }
    }

    /// Puts the pages written so far in place of their old files, with one sync for them all; the
    /// number of pages that could not replace their files (each told as a page not written).
    int commit() {
        const QList<ReplacementBatch::Failure> failures = m_batch.commit();
        for (const ReplacementBatch::Failure& failure : failures) {
            const auto page =
                std::find_if(m_pendingPages.crbegin(), m_pendingPages.crend(),
                             [&failure](const PendingPage& entry) { return entry.path == failure.path; });
            tellPageNotWritten(page->number, page->title, failure.error);
        }
        m_pendingPages.clear();
        return static_cast<int>(failures.size());
    }

private:
    /// The table's texts as FileName + ".csv" beside its page, UTF-8 with a byte-order mark as the CSV
    /// export writes them, replaced and synced with the page. The data file is read a second time.
    void writeCsvBeside(const TableDefinition& definition, const QString& fileName, int number,
                        const QString& title) {
        TableRowReader rows;
        if (!TableDataFiles(m_dataFolder, fileName)
                 .openRowsForReading(
                     rows, {.layers = RecordSlots::Texts, .columns = definition.usableColumnCount()})) {
            throw rows.openFailure();
        }
        const QString csvPath = m_htmlFolder + fileName + QStringLiteral(".csv");
        m_batch.add(csvPath, [&](QIODevice& device) {
            exportCellTexts(device, rows, definition.usableColumnCount(), TextEncoding::Utf8);
        });
        m_pendingPages.append({csvPath, number, title});
    }

    /// Gives up the files of this table that wait in the batch, added since it held `mark` files.
    void giveUpFilesFrom(std::optional<qsizetype> mark) {
        if (mark) {
            m_batch.dropFrom(*mark);
            m_pendingPages.resize(std::min(m_pendingPages.size(), *mark));
        }
    }

    void tellPageNotWritten(int number, const QString& title, const IoError& error) {
        m_report.report(
            {.event = PageEvent::PageNotWritten, .number = number, .title = title, .ioError = error});
    }

    /// The lines of a snippet body as they go into a page (a header's macros expanded, charset names
    /// as the encoding wants them); null when the choice names no snippet or its body cannot be read.
    /// Each body is read and made ready once per run: the pages of a run mostly share their header and
    /// footer, and the macros tell the time the run started.
    const QList<QByteArray>* snippetLines(SnippetKind kind, QByteArrayView choice) {
        const std::optional<QString> path = SnippetBodyPath(m_dataFolder, kind, choice);
        if (!path) {
            return nullptr;
        }
        auto known = m_snippetLines.find({kind, *path});
        if (known == m_snippetLines.end()) {
            std::optional<QList<QByteArray>> lines = readLinesFile(*path);
            if (lines) {
                for (QByteArray& line : *lines) {
                    line = snippetLine(
                        kind == SnippetKind::Header ? ExpandMacros(line, m_macroFormats, m_startedAt) : line);
                }
            }
            known = m_snippetLines.emplace(std::pair{kind, *path}, std::move(lines)).first;
        }
        return known->second ? &*known->second : nullptr;
    }

    template <typename Markup>
    void writePage(PageOutput& page, const TableDefinition& definition, TableRowReader& rows, Markup& table) {
        writeHeader(page, definition, table);
        writeTable(page, rows, table);
        writeFooter(page, definition);
    }

    /// The header's lines, its `<TABLESTYLE>` replaced by the table's style block (HTML5; the classic
    /// markup has none, and the tag is left out).
    template <typename Markup>
    void writeHeader(PageOutput& page, const TableDefinition& definition, Markup& table) {
        const auto* lines = snippetLines(SnippetKind::Header, definition.HeaderName);
        if (!lines) {
            tell(PageEvent::HeaderMissing);
            return;
        }
        for (const QByteArray& line : *lines) {
            page.writeLine(ExpandTableStyle(line, [&table] { return table.styleSheet(); }));
        }
    }

    template <typename Markup> void writeTable(PageOutput& page, TableRowReader& rows, Markup& table) {
        for (const QByteArray& line : linesBeforeRows(table)) {
            page.writeLine(line);
        }
        int rowsWritten = 0;
        while (const std::optional<TableRowView> row = rows.nextView()) {
            page.appendLine([&](QByteArray& out) { table.appendRow(out, *row); });
            if (++rowsWritten % RowsBetweenQuestions == 0 && m_options.progress != nullptr &&
                !m_options.progress->goOn()) {
                throw RunCancelled{};
            }
        }
        for (const QByteArray& line : linesAfterRows(table)) {
            page.writeLine(line);
        }
    }

    /// A header or footer line as the page's encoding wants it.
    QByteArray snippetLine(const QByteArray& line) const {
        return m_options.encoding == PageEncoding::Utf8 ? rewriteCharsetNames(line) : line;
    }

    void writeFooter(PageOutput& page, const TableDefinition& definition) {
        const auto* lines = snippetLines(SnippetKind::Footer, definition.FooterName);
        if (!lines) {
            tell(PageEvent::FooterMissing);
            return;
        }
        for (const QByteArray& line : *lines) {
            page.writeLine(line);
        }
    }

    QString m_dataFolder;
    QString m_htmlFolder;
    QByteArray m_serverImagePath;
    /// TABLE.DAT, open for the whole run.
    TableDefinitionReader m_definitions;
    PageReport& m_report;
    /// One set of formats and one time for the whole run.
    MacroFormats m_macroFormats;
    QDateTime m_startedAt = Clock::now();
    PageRunOptions m_options;
    /// The sizes of the pictures in the image folder, read once per run.
    PictureSizes m_pictureSizes;
    /// The pages written and not yet in place, and the tables they belong to.
    ReplacementBatch m_batch;
    struct PendingPage {
        QString path;
        int number;
        QString title;
    };
    QList<PendingPage> m_pendingPages;
    /// The snippet bodies made ready so far in this run, by kind and path (nullopt: unreadable).
    std::map<std::pair<SnippetKind, QString>, std::optional<QList<QByteArray>>> m_snippetLines;
};

} // namespace

PageMessageKind PageMessage::kind() const {
    switch (event) {
    case PageEvent::ScratchFilesRemoved:
    case PageEvent::Finished:
    case PageEvent::Cancelled:
        return PageMessageKind::Information;
    case PageEvent::DefinitionUnreadable:
    case PageEvent::PageNotWritten:
        return PageMessageKind::IoError;
    case PageEvent::FileNameUnusable:
    case PageEvent::HeaderMissing:
    case PageEvent::FooterMissing:
    case PageEvent::TableDataNotEntered:
    case PageEvent::NoTableMaster:
    case PageEvent::PartlyWritten:
        break;
    }
    return PageMessageKind::Error;
}

bool PageMessage::pageNotWritten() const {
    switch (event) {
    case PageEvent::DefinitionUnreadable:
    case PageEvent::FileNameUnusable:
    case PageEvent::TableDataNotEntered:
    case PageEvent::PageNotWritten:
        return true;
    case PageEvent::ScratchFilesRemoved:
    case PageEvent::HeaderMissing:
    case PageEvent::FooterMissing:
    case PageEvent::NoTableMaster:
    case PageEvent::Finished:
    case PageEvent::PartlyWritten:
    case PageEvent::Cancelled:
        break;
    }
    return false;
}

QByteArray SnippetNumberOf(QByteArrayView choiceText) {
    const qsizetype colon = choiceText.indexOf(':');
    return colon < 0 ? QByteArray() : choiceText.first(colon).toByteArray();
}

std::optional<QString> SnippetBodyPath(const QString& dataFolder, SnippetKind kind, QByteArrayView choice) {
    // Only a snippet number can name a body file, so that no other file can be named.
    const QByteArray number = SnippetNumberOf(choice);
    const bool digits = !number.isEmpty() && std::all_of(number.begin(), number.end(),
                                                         [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) {
        return std::nullopt;
    }
    return SnippetStore(dataFolder, kind).bodyPath(number);
}

PageRunOutcome GeneratePages(const SettingsRecord& settings, const QString& programFolder,
                             const QList<int>& definitionNumbers, PageReport& report, const QLocale& locale,
                             const PageRunOptions& options) {
    PageRun run(settings, programFolder, report, locale, options);
    run.removeLeftovers();
    int written = 0;
    int failed = 0;
    const auto count = static_cast<int>(definitionNumbers.size());
    // With several pages the next tables are read on a second thread while a page is written.
    std::optional<WorkAhead<PageSource>> sources;
    if (count > 1) {
        sources.emplace(
            count, [&run, &definitionNumbers](int index) { return run.readSource(definitionNumbers[index]); },
            TablesReadAhead);
    }
    // Pages written before the run ends, early or not, are put in place.
    const auto commit = [&run, &written, &failed] {
        const int notReplaced = run.commit();
        written -= notReplaced;
        failed += notReplaced;
    };
    for (int index = 0; index < count; ++index) {
        PageSource source = sources ? sources->take() : run.readSource(definitionNumbers[index]);
        switch (run.writePage(source, nullptr, index, count)) {
        case TableOutcome::Written:
            ++written;
            break;
        case TableOutcome::Failed:
            ++failed;
            break;
        case TableOutcome::Abandoned:
            commit();
            run.tell(PageEvent::NoTableMaster);
            return PageRunOutcome::EndedEarly;
        case TableOutcome::Cancelled:
            commit();
            run.report({.event = PageEvent::Cancelled, .written = written, .notWritten = count - written});
            return PageRunOutcome::Cancelled;
        }
    }
    commit();
    if (failed > 0) {
        run.report({.event = PageEvent::PartlyWritten, .written = written, .notWritten = failed});
        return PageRunOutcome::SomeFailed;
    }
    run.tell(PageEvent::Finished);
    return PageRunOutcome::Finished;
}

std::optional<QByteArray> GeneratePageInMemory(const SettingsRecord& settings, const QString& programFolder,
                                               int definitionNumber, PageReport& report,
                                               PageEncoding encoding, const QLocale& locale,
                                               PageMarkup markup) {
    PageRunOptions options;
    options.encoding = encoding;
    options.markup = markup;
    PageRun run(settings, programFolder, report, locale, options);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PageSource source = run.readSource(definitionNumber);
    switch (run.writePage(source, &buffer)) {
    case TableOutcome::Written:
        return buffer.data();
    case TableOutcome::Abandoned:
        run.tell(PageEvent::NoTableMaster);
        return std::nullopt;
    case TableOutcome::Failed:
    case TableOutcome::Cancelled:
        break;
    }
    return std::nullopt;
}

} // namespace kelvano
