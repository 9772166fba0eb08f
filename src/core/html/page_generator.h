#pragma once

#include "core/store/io_error.h"
#include "core/store/program_settings.h"
#include "core/store/settings_record.h"
#include "core/store/snippet_store.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <optional>

namespace kelvano {

/// What a message of a page run is: it decides the icon of the message box, or the standard I/O
/// error box.
enum class PageMessageKind { Error, Information, IoError };

/// What happened in a page run. The values each event comes with are named beside it.
enum class PageEvent {
    ScratchFilesRemoved,  ///< `files` scratch files of `bytes` bytes left by stopped runs went from `path`
    DefinitionUnreadable, ///< definition `number` could not be read: `ioError`
    FileNameUnusable,     ///< the stored file name of `number` `title` would reach outside its folder
    HeaderMissing,        ///< the header names no body that can be read: the page goes on without it
    FooterMissing,        ///< the same for the footer
    TableDataNotEntered,  ///< table `number` `title` has no data file yet (`path`)
    PageNotWritten,       ///< the page (or the CSV beside it) of `number` `title` failed: `ioError`
    NoTableMaster,        ///< TABLE.DAT could not be opened: the run ends
    Finished,             ///< every page was written
    PartlyWritten,        ///< `written` pages were written, `notWritten` were not
    Cancelled,            ///< the user stopped the run: `written` pages written, `notWritten` not
};

/// One message of a page run, in the order the run gives them: what happened and its values. The
/// program and kelvano-publish each put it in their own words.
struct PageMessage {
    PageEvent event;
    int number = 0;
    QString title = {};
    QString path = {};
    qint64 files = 0;
    qint64 bytes = 0;
    int written = 0;
    int notWritten = 0;
    std::optional<IoError> ioError = std::nullopt;

    PageMessageKind kind() const;
    /// Whether the message tells of a table whose page was not written (not of a page written all the
    /// same, without its header, say).
    bool pageNotWritten() const;
};

/// Where a page run sends its messages: message boxes in the program, standard error and output in
/// kelvano-publish. Each message is handled before the run goes on.
class PageReport {
public:
    virtual ~PageReport() = default;
    virtual void report(const PageMessage& message) = 0;
};

enum class PageRunOutcome {
    Finished,   ///< every page was written; the completion message was the last message
    SomeFailed, ///< some pages could not be written; the count of both was the last message
    EndedEarly, ///< TABLE.DAT could not be opened
    Cancelled,  ///< the user stopped the run; how many pages were written was the last message
};

/// Follows a page run as it goes and may stop it.
class PageProgress {
public:
    virtual ~PageProgress() = default;
    /// Page `index` (from 0) of `count`, of the table titled `title`, is about to be written; false
    /// stops the run before it.
    virtual bool pageStarting(int index, int count, const QString& title) = 0;
    /// Asked every few rows of a page; false stops the run, and the page being written keeps its old
    /// file.
    virtual bool goOn() = 0;
};

struct PageRunOptions {
    PageEncoding encoding = PageEncoding::ShiftJis;
    PageMarkup markup = PageMarkup::Classic;
    /// None: the run cannot be stopped.
    PageProgress* progress = nullptr;
};

/// The snippet number text of a header or footer choice: the text before the first ":"; empty when
/// there is no ":" (which names no snippet).
QByteArray SnippetNumberOf(QByteArrayView choiceText);

/// The body file of a header or footer choice in the data folder: "HEAD." or "FOOT." and the snippet
/// number; nullopt when the choice names no snippet (its number text is not decimal digits).
std::optional<QString> SnippetBodyPath(const QString& dataFolder, SnippetKind kind, QByteArrayView choice);

/// Writes the page HtmlFolder + FileName + ".html" of each definition number, in the order given,
/// and reports every message on the way, ending with Finished when every page was written.
/// A table whose page cannot be written (no data file yet, an I/O error) is reported by its number
/// and title and the run goes on with the next; such a run ends with how many pages were and were
/// not written. Each page replaces its old file only once it is complete: a failure while writing a
/// page leaves the previous page as it was.
///
/// A UTF-8 run recodes every byte and gives the charset declarations of the header and footer the
/// name UTF-8 (rewriteCharsetNames).
PageRunOutcome GeneratePages(const SettingsRecord& settings, const QString& programFolder,
                             const QList<int>& definitionNumbers, PageReport& report,
                             const QLocale& locale = QLocale(), const PageRunOptions& options = {});

/// The page of one definition exactly as GeneratePages would write it, in memory, with the same
/// messages on the way (but no completion message); nullopt when it cannot be made. Nothing is
/// written.
std::optional<QByteArray> GeneratePageInMemory(const SettingsRecord& settings, const QString& programFolder,
                                               int definitionNumber, PageReport& report,
                                               PageEncoding encoding, const QLocale& locale = QLocale(),
                                               PageMarkup markup = PageMarkup::Classic);

} // namespace kelvano
