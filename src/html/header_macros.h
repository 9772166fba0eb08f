#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QLocale>

// The date, time and weekday tags of header lines.

namespace kelvano {

/// One header line with its macro tags replaced: every <GETNOWDATE>, <GETNOWTIME> and <GETNOWDAY>,
/// written in any mix of upper and lower case, is replaced by the current date, time or weekday name;
/// every other byte stays as it was typed. The clock is read at each replacement; the formats are
/// those of the locale.
QByteArray ExpandMacros(QByteArrayView line, const QLocale& locale = QLocale());

/// The date in the locale's short date format (ja_JP: 1997/06/01), as Shift-JIS bytes.
QByteArray macroDateText(const QDateTime& moment, const QLocale& locale);
/// The time in the locale's medium time format as ICU gives it (ja_JP: 9:05:07), as Shift-JIS bytes.
QByteArray macroTimeText(const QDateTime& moment, const QLocale& locale);
/// The Japanese name of the weekday (日曜日 ... 土曜日), as Shift-JIS bytes.
QByteArray macroWeekdayText(const QDateTime& moment);

} // namespace kelvano
