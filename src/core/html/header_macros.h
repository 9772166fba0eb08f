#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <functional>
#include <memory>
#include <unicode/uversion.h>

// The date, time and weekday tags of header lines.

U_NAMESPACE_BEGIN
class DateFormat;
U_NAMESPACE_END

namespace kelvano {

/// The date and time formats of the macros for one locale, made once and kept for a page run:
/// building ICU's time formatter costs some hundred times more than formatting a time with it.
class MacroFormats {
public:
    explicit MacroFormats(const QLocale& locale = QLocale());
    ~MacroFormats();
    MacroFormats(const MacroFormats&) = delete;
    MacroFormats& operator=(const MacroFormats&) = delete;

    /// The date in the locale's short date format (ja_JP: 1997/06/01), as Shift-JIS bytes.
    QByteArray dateText(const QDateTime& moment) const;
    /// The time in the locale's medium time format as ICU gives it (ja_JP: 9:05:07), as Shift-JIS
    /// bytes.
    QByteArray timeText(const QDateTime& moment) const;

private:
    QLocale m_locale;
    // Made at the first time asked for, so that dates alone never pay for it.
    mutable std::unique_ptr<icu::DateFormat> m_timeFormat;
    mutable bool m_timeFormatMade = false;
};

/// One header line with its macro tags replaced: every <GETNOWDATE>, <GETNOWTIME> and <GETNOWDAY>,
/// written in any mix of upper and lower case, is replaced by the date, time or weekday name of
/// `moment`; every other byte stays as it was typed. A page run passes the moment it started, so that
/// all its pages tell the same time.
QByteArray ExpandMacros(QByteArrayView line, const MacroFormats& formats, const QDateTime& moment);

/// The same with the current time (the clock read once for the line) and the formats of the locale,
/// made for this line.
QByteArray ExpandMacros(QByteArrayView line, const QLocale& locale = QLocale());

/// A header line with every `<TABLESTYLE>` (in any mix of upper and lower case) replaced by the style
/// block of the page's table, made by `styleBlock` once, at the first tag; the line as it is when it
/// holds none. The tag belongs in the header's head, where a `<style>` block may stand.
QByteArray ExpandTableStyle(QByteArrayView line, const std::function<QByteArray()>& styleBlock);

/// The date in the locale's short date format (ja_JP: 1997/06/01), as Shift-JIS bytes.
QByteArray macroDateText(const QDateTime& moment, const QLocale& locale);
/// The time in the locale's medium time format as ICU gives it (ja_JP: 9:05:07), as Shift-JIS bytes.
QByteArray macroTimeText(const QDateTime& moment, const QLocale& locale);
/// The Japanese name of the weekday (日曜日 ... 土曜日), as Shift-JIS bytes.
QByteArray macroWeekdayText(const QDateTime& moment);

} // namespace kelvano
