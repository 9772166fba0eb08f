#pragma once

#include <QByteArray>
#include <QString>

namespace kelvano {

/// Which calendar day a spreadsheet's date serial 0 stands for.
enum class DateSystem {
    /// Serial 1 is 1900/01/01, and serial 60 the 1900/02/29 that spreadsheets of this system count.
    From1900,
    /// Serial 0 is 1904/01/01.
    From1904,
};

/// A cell's number as the spreadsheet shows it, by the cell's number format code ("#,##0.00",
/// "0.0%", "\"¥\"#,##0", "yyyy/m/d"; sections for negative values and zero after ";"): grouping,
/// fixed and optional decimals, percent, thousands scaling and literal texts as the code says; a code
/// that shows a date or a time gives "yyyy/mm/dd", "h:mm" or both; an empty code, "General" and any
/// code this does not follow (fractions, exponents) give the shortest decimal that reads back as the
/// same number. UTF-8.
QByteArray numberText(double value, const QString& formatCode, DateSystem dates);

/// The shortest decimal that reads back as the same number, never in exponent form: 0.1, 1234567.891,
/// -2, 1E+20 as "100000000000000000000".
QByteArray shortestDecimal(double value);

/// A date and time as cells show them: "yyyy/mm/dd", with " h:mm" when it has a time of day.
QByteArray dateTimeText(int year, int month, int day, int hour, int minute, bool withTime);

/// A time of day as cells show it, "h:mm" (seconds cut off).
QByteArray timeText(int hour, int minute);

} // namespace kelvano
