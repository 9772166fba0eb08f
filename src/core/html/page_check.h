#pragma once

#include "core/store/io_error.h"
#include "core/store/program_settings.h"
#include "core/store/settings_record.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace kelvano {

/// What the check finds wrong in a page. The values each finding comes with are named beside it.
enum class FindingKind {
    DefinitionUnreadable, ///< the definition could not be read: `ioError`
    FileNameUnusable,     ///< the stored file name would reach outside its folder
    HeaderNotChosen,      ///< the header choice names no snippet
    HeaderBodyMissing,    ///< the header's body `subject` cannot be read
    FooterNotChosen,
    FooterBodyMissing,
    CharsetOther,       ///< a declaration names `subject`, the page is in `detail`
    NoCharset,          ///< neither header nor footer declares a charset; the page is in `detail`
    HeaderMarkup,       ///< the HTML checker's `detail` about line `figure` of the header
    FooterMarkup,       ///< the same about line `figure` of the footer
    NoDataFile,         ///< the data file `subject` is missing
    DataFileUnreadable, ///< the data file `subject` cannot be read: `detail`, the reason
    PictureMissing,     ///< the picture `subject` is not in the image folder
    BackgroundMissing,  ///< the background `subject` is not in the image folder
    ServerImagePath,    ///< the server image path `subject` does not lead there: `detail` would
    HiddenText,         ///< columns `names` past the column count `figure` hold text
    BackslashInPath,    ///< the picture path or link `subject` separates with "\"
    NameInShiftJis,     ///< the file of the stored name `subject` is named in Shift-JIS on disk
    NameCaseDiffers,    ///< the file of `subject` is `detail` on disk, in another letter case
    NameAmbiguous,      ///< several files (`names`) answer to `subject`; `detail` is used
    WideForPhones,      ///< a width of `figure` pixels on a table that does not scroll sideways
    LocalPageMissing,   ///< the link `subject` names a page missing from the HTML folder
};

/// One problem that a page would have: the table's number and title, what is wrong and its values.
struct PageFinding {
    int number;
    QString title;
    FindingKind kind;
    QString subject = {};
    QString detail = {};
    QStringList names = {};
    int figure = 0;
    std::optional<IoError> ioError = std::nullopt;
};

/// Looks for what would go wrong in the pages of the definitions given, without writing anything:
/// a header or footer that names no snippet or whose body is missing; no data file or an unusable
/// file name; pictures and backgrounds missing from the image folder; a server image path that does
/// not lead from the HTML folder to an image folder inside it; no charset declaration in the header
/// or footer, or one other than `encoding`; text hidden in columns past the column count; links to
/// local pages missing from the HTML folder (a page of the tables given is not missing); a width in
/// pixels wider than a phone's screen on a table that does not scroll sideways; with the HTML5 markup, what
/// an HTML checker (tidy, when installed) finds in the header and footer around a table. Findings come table
/// by table in the order given; nullopt when TABLE.DAT cannot be opened.
std::optional<QList<PageFinding>> CheckPages(const SettingsRecord& settings, const QString& programFolder,
                                             const QList<int>& definitionNumbers, PageEncoding encoding,
                                             PageMarkup markup = PageMarkup::Classic);

} // namespace kelvano
