#include "html/page_generator.h"

#include "html/header_macros.h"
#include "html/page_output.h"
#include "html/table_markup.h"
#include "store/file_names.h"
#include "store/messages.h"
#include "store/save_file.h"
#include "store/shift_jis.h"
#include "store/snippet_store.h"
#include "store/table_data_files.h"
#include "store/table_definition_file.h"
#include "store/text_lines.h"

#include <QFile>
#include <algorithm>

namespace kelvano {
namespace {

/// The body file of a header or footer choice: "HEAD." or "FOOT." and the text before the first ":";
/// nullopt when that text is not a snippet number (decimal digits), so no other file can be named.
std::optional<QString> snippetBodyPath(const QString& dataFolder, SnippetKind kind, QByteArrayView choice) {
    const QByteArray number = SnippetNumberOf(choice);
    const bool digits = !number.isEmpty() && std::all_of(number.begin(), number.end(),
                                                         [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) {
        return std::nullopt;
    }
    return SnippetStore(dataFolder, kind).bodyPath(number);
}

/// The lines of a snippet body; nullopt when the choice names no snippet or its body cannot be read.
std::optional<QList<QByteArray>> snippetLines(const QString& dataFolder, SnippetKind kind,
                                              QByteArrayView choice) {
    const std::optional<QString> path = snippetBodyPath(dataFolder, kind, choice);
    return path ? readLinesFile(*path) : std::nullopt;
}

class PageRun {
public:
    PageRun(const SettingsRecord& settings, const QString& programFolder, PageReport& report,
            const QLocale& locale)
        : m_dataFolder(ShiftJis::decode(settings.DataFolder)),
          m_htmlFolder(ShiftJis::decode(settings.HtmlFolder)), m_serverImagePath(settings.ServerImagePath),
          m_programFolder(programFolder), m_report(report), m_macroFormats(locale) {}

    /// Writes the page of one definition; false when TABLE.DAT cannot be opened. An IoError ends it.
    /// A FileName that would reach outside the data or HTML folder is reported and no file touched.
    bool writePage(int number) {
        const std::optional<TableDefinition> definition = TableDefinitionFile(m_programFolder).read(number);
        if (!definition) {
            return false;
        }
        if (!isUsableStoredFileName(definition->FileName)) {
            tell(PageMessageKind::Error, unusableFileNameMessage(number, definition->TableName));
            return true;
        }
        const QString fileName = ShiftJis::decode(definition->FileName);
        const QString tablePath = TableDataFiles(m_dataFolder, fileName).tablePath();
        TableRowReader rows;
        if (!rows.open(tablePath)) {
            QFile file(tablePath);
            file.open(QIODevice::ReadOnly);
            throw IoError::fromFile(file);
        }
        replaceWholeFile(m_htmlFolder + fileName + QStringLiteral(".html"), [&](QIODevice& device) {
            PageOutput page(device);
            writeHeader(page, *definition);
            writeTable(page, *definition, rows);
            writeFooter(page, *definition);
            page.flush();
        });
        return true;
    }

    void tell(PageMessageKind kind, const QString& text) { m_report.report({kind, text, std::nullopt}); }

private:
    void writeHeader(PageOutput& page, const TableDefinition& definition) {
        const auto lines = snippetLines(m_dataFolder, SnippetKind::Header, definition.HeaderName);
        if (!lines) {
            tell(PageMessageKind::Error, Messages::HeaderMissing);
            return;
        }
        for (const QByteArray& line : *lines) {
            page.writeLine(ExpandMacros(line, m_macroFormats));
        }
    }

    void writeTable(PageOutput& page, const TableDefinition& definition, TableRowReader& rows) {
        TableMarkup table(definition, m_serverImagePath);
        page.writeLine(table.startLine());
        if (const QByteArray caption = table.captionLine(); !caption.isEmpty()) {
            page.writeLine(caption);
        }
        TableRowRecord record;
        QByteArray row;
        while (rows.next(record)) {
            row.resize(0);
            table.appendRow(row, record);
            page.writeLine(row);
        }
        page.writeLine("</TABLE>");
    }

    void writeFooter(PageOutput& page, const TableDefinition& definition) {
        const auto lines = snippetLines(m_dataFolder, SnippetKind::Footer, definition.FooterName);
        if (!lines) {
            tell(PageMessageKind::Error, Messages::FooterMissing);
            return;
        }
        for (const QByteArray& line : *lines) {
            page.writeLine(line);
        }
    }

    QString m_dataFolder;
    QString m_htmlFolder;
    QByteArray m_serverImagePath;
    QString m_programFolder;
    PageReport& m_report;
    /// One set of formats for the whole run.
    MacroFormats m_macroFormats;
};

} // namespace

QByteArray SnippetNumberOf(QByteArrayView choiceText) {
    const qsizetype colon = choiceText.indexOf(':');
    return colon < 0 ? QByteArray() : choiceText.first(colon).toByteArray();
}

PageRunOutcome GeneratePages(const SettingsRecord& settings, const QString& programFolder,
                             const QList<int>& definitionNumbers, PageReport& report, const QLocale& locale) {
    PageRun run(settings, programFolder, report, locale);
    for (const int number : definitionNumbers) {
        try {
            if (!run.writePage(number)) {
                run.tell(PageMessageKind::Error, Messages::NoData);
                return PageRunOutcome::EndedEarly;
            }
        } catch (const IoError& error) {
            report.report({PageMessageKind::IoError, error.message(), error});
            return PageRunOutcome::EndedEarly;
        }
    }
    run.tell(PageMessageKind::Information, Messages::PagesFinished);
    return PageRunOutcome::Finished;
}

} // namespace kelvano
