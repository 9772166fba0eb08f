#pragma once

#include "core/html/page_check.h"

#include <QString>

// The words of the pre-publish check's findings, shared by the data page's list and kelvano-publish
// --check. Each text is defined once, in check_words.cpp.

namespace kelvano::Messages {

// What the check says of a table; the values each kind comes with (FindingKind) fill them in order.
extern const QString CheckHeaderNotChosen;
extern const QString CheckHeaderBodyMissing;
extern const QString CheckFooterNotChosen;
extern const QString CheckFooterBodyMissing;
extern const QString CheckNoDataFile;
extern const QString CheckDataFileUnreadable;
extern const QString CheckPictureMissing;
extern const QString CheckBackgroundMissing;
extern const QString CheckServerImagePath;
extern const QString CheckNoCharset;
extern const QString CheckCharsetOther;
extern const QString CheckHiddenText;
extern const QString CheckLocalPageMissing;
extern const QString CheckWideForPhones;
extern const QString CheckHeaderMarkup;
extern const QString CheckFooterMarkup;
extern const QString CheckBackslashInPath;
extern const QString CheckNameCaseDiffers;
extern const QString CheckNameInShiftJis;
extern const QString CheckNameAmbiguous;

/// What a finding says is wrong.
QString findingText(const PageFinding& finding);
/// "番号 項目名: …", the line the check lists.
QString findingLine(const PageFinding& finding);

} // namespace kelvano::Messages
