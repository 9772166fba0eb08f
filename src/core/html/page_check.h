#pragma once

#include "core/store/program_settings.h"
#include "core/store/settings_record.h"

#include <QList>
#include <QString>
#include <optional>

namespace kelvano {

/// One problem that a page would have: the table's number and title and what is wrong.
struct PageFinding {
    int number;
    QString title;
    QString text;

    /// "番号 項目名: …", the line the check lists.
    QString line() const;
    bool operator==(const PageFinding&) const = default;
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
