#include "core/table/sheet_number_format.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <charconv>
#include <cmath>

namespace kelvano {
namespace {

/// A number as decimal digits: value = 0.digits × 10^point, so that arithmetic on the shown form (percent,
/// scaling, rounding) never goes through binary fractions again.
struct Decimal {
    bool negative = false;
    QByteArray digits; ///< no leading zeros; empty for zero
    int point = 0;     ///< digits before the decimal point

    static Decimal of(double value) {
        Decimal number;
        number.negative = std::signbit(value) && value != 0;
        char buffer[64];
        const auto [end, error] =
            std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific);
        const QByteArrayView text(buffer, end - buffer); // "d.ddde+xx", the shortest that reads back
        const qsizetype e = text.indexOf('e');
        for (const char c : text.first(e)) {
            if (c != '.') {
                number.digits += c;
            }
        }
        number.point = text.sliced(e + 1).toInt() + 1;
        while (number.digits.startsWith('0')) {
            number.digits.remove(0, 1);
            --number.point;
        }
        while (number.digits.endsWith('0')) {
            number.digits.chop(1);
        }
        return number;
    }

    /// Keeps at most `decimals` digits after the point, rounding half away from zero.
    void round(int decimals) {
        const qsizetype kept = qsizetype(point) + decimals;
        if (kept >= digits.size()) {
            return;
        }
        if (kept < 0) {
            digits.clear();
            return;
        }
        const bool up = digits[kept] >= '5';
        digits.truncate(kept);
        if (up) {
            qsizetype i = digits.size() - 1;
            while (i >= 0 && digits[i] == '9') {
                digits[i] = '0';
                --i;
            }
            if (i < 0) {
                digits.prepend('1');
                ++point;
            } else {
                ++digits[i];
            }
        }
        while (digits.endsWith('0')) {
            digits.chop(1);
        }
        if (digits.isEmpty()) {
            negative = false;
        }
    }

    QByteArray integerDigits() const {
        if (point <= 0 || digits.isEmpty()) {
            return {};
        }
        QByteArray whole = digits.first(std::min<qsizetype>(point, digits.size()));
        return whole + QByteArray(point - whole.size(), '0');
    }

    QByteArray fractionDigits() const {
        if (digits.isEmpty() || point >= digits.size()) {
            return {};
        }
        return point < 0 ? QByteArray(-point, '0') + digits : digits.sliced(point);
    }
};

/// One section of a number format code, as far as the shown text needs it.
struct Pattern {
    QByteArray prefix;
    QByteArray suffix;
    int minInteger = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
    int scale = 0; ///< powers of ten: +2 per percent sign, -3 per comma after the last digit
    bool grouping = false;
    bool numeric = false;
    bool general = false;
    bool unsupported = false;
    bool date = false;
    bool time = false;
    bool elapsedHours = false;
};

QList<QString> sections(const QString& code) {
    QList<QString> parts{QString()};
    bool quoted = false;
    bool bracket = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'"' && !bracket) {
            quoted = !quoted;
        } else if (!quoted && c == u'[') {
            bracket = true;
        } else if (!quoted && c == u']') {
            bracket = false;
        } else if (!quoted && !bracket && c == u'\\' && i + 1 < code.size()) {
            parts.last() += c;
            parts.last() += code[++i];
            continue;
        } else if (!quoted && !bracket && c == u';') {
            parts.append(QString());
            continue;
        }
        parts.last() += c;
    }
    return parts;
}

Pattern parse(const QString& section) {
    Pattern pattern;
    if (section.trimmed().isEmpty() || section.trimmed().compare(u"General", Qt::CaseInsensitive) == 0 ||
        section.trimmed() == u"@") {
        pattern.general = true;
        return pattern;
    }
    QString literal;
    bool afterPoint = false;
    bool monthOrMinute = false;
    const auto flushLiteral = [&] {
        (pattern.numeric ? pattern.suffix : pattern.prefix) += literal.toUtf8();
        literal.clear();
    };
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        const QChar lower = c.toLower();
        if (c == u'"') {
            const qsizetype end = section.indexOf(u'"', i + 1);
            literal += section.mid(i + 1, (end < 0 ? section.size() : end) - i - 1);
            i = end < 0 ? section.size() : end;
        } else if (c == u'\\' && i + 1 < section.size()) {
            literal += section[++i];
        } else if (c == u'_' || c == u'*') {
            ++i; // padding to a character's width, or fill: no character of its own
        } else if (c == u'[') {
            const qsizetype end = section.indexOf(u']', i);
            const QString inside = section.mid(i + 1, (end < 0 ? section.size() : end) - i - 1);
            if (inside.startsWith(u'$')) {
                literal += inside.mid(1).section(u'-', 0, 0); // [$¥-411]: the symbol before the locale
            } else if (inside.compare(u"h", Qt::CaseInsensitive) == 0 ||
                       inside.startsWith(u"hh", Qt::CaseInsensitive)) {
                pattern.time = pattern.elapsedHours = true;
            } else if (inside.compare(u"m", Qt::CaseInsensitive) == 0 ||
                       inside.compare(u"s", Qt::CaseInsensitive) == 0 ||
                       inside.startsWith(u"mm", Qt::CaseInsensitive) ||
                       inside.startsWith(u"ss", Qt::CaseInsensitive)) {
                pattern.time = true;
            }
            i = end < 0 ? section.size() : end; // colours, conditions, locales
        } else if ((lower == u'e' || c == u'/') && pattern.numeric) {
            pattern.unsupported = true; // exponents, fractions
        } else if (!pattern.numeric && (lower == u'y' || lower == u'd' || lower == u'e' || lower == u'g')) {
            pattern.date = true;
        } else if (!pattern.numeric && (lower == u'h' || lower == u's')) {
            pattern.time = true;
        } else if (!pattern.numeric && lower == u'm') {
            monthOrMinute = true;
        } else if (c == u'0' || c == u'#' || c == u'?') {
            if (!pattern.numeric) {
                flushLiteral();
                pattern.numeric = true;
            } else if (!literal.isEmpty()) {
                pattern.unsupported = true; // digits on both sides of a text: fractions and the like
            }
            if (afterPoint) {
                ++pattern.maxDecimals;
                pattern.minDecimals += c == u'0' ? 1 : 0;
            } else if (c == u'0') {
                ++pattern.minInteger;
            }
        } else if (c == u'.' && pattern.numeric && !afterPoint && literal.isEmpty()) {
            afterPoint = true;
        } else if (c == u',' && pattern.numeric && literal.isEmpty()) {
            // Between digits a comma groups thousands; after the last digit each divides by a thousand.
            qsizetype end = i;
            while (end < section.size() && section[end] == u',') {
                ++end;
            }
            const bool digitFollows = end < section.size() && QStringView(u"0#?").contains(section[end]);
            if (digitFollows && !afterPoint) {
                pattern.grouping = true;
            } else if (!digitFollows) {
                pattern.scale -= 3 * int(end - i);
            }
            i = end - 1;
        } else if (c == u'%') {
            pattern.scale += 2;
            literal += c;
        } else {
            literal += c;
        }
    }
    // "m" is the month beside a day or a year, or alone; the minute beside hours or seconds only.
    pattern.date = pattern.date || (monthOrMinute && !pattern.time);
    flushLiteral();
    return pattern;
}

QByteArray grouped(const QByteArray& whole) {
    QByteArray text;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) {
            text += ',';
        }
        text += whole[i];
    }
    return text;
}

QByteArray dayOfSerial(qint64 days, DateSystem dates, bool& ok) {
    QDate day;
    if (dates == DateSystem::From1904) {
        day = QDate(1904, 1, 1).addDays(days);
    } else if (days == 60) {
        ok = true;
        return QByteArrayLiteral("1900/02/29");
    } else {
        day = days < 60 ? QDate(1899, 12, 31).addDays(days) : QDate(1899, 12, 30).addDays(days);
    }
    ok = day.isValid() && day.year() >= 1 && day.year() <= 9999;
    return ok ? day.toString(u"yyyy/MM/dd").toUtf8() : QByteArray();
}

QByteArray dateOrTime(double value, const Pattern& pattern, DateSystem dates) {
    if (!(value >= 0) || value > 2958465.0) { // before the first day or past 9999/12/31
        return shortestDecimal(value);
    }
    qint64 seconds = std::llround(value * 86400.0);
    const qint64 days = seconds / 86400;
    seconds %= 86400;
    const qint64 hours = pattern.elapsedHours ? days * 24 + seconds / 3600 : seconds / 3600;
    const QByteArray clock =
        QByteArray::number(hours) + ':' + QByteArray::number(seconds / 60 % 60).rightJustified(2, '0');
    if (!pattern.date) {
        return clock;
    }
    bool ok = false;
    const QByteArray day = dayOfSerial(days, dates, ok);
    if (!ok) {
        return shortestDecimal(value);
    }
    return pattern.time ? day + ' ' + clock : day;
}

QByteArray render(double value, const Pattern& pattern, bool showSign) {
    Decimal number = Decimal::of(value);
    number.point += pattern.scale;
    number.round(pattern.maxDecimals);
    QByteArray whole = number.integerDigits();
    if (whole.size() < pattern.minInteger) {
        whole = QByteArray(pattern.minInteger - whole.size(), '0') + whole;
    }
    QByteArray fraction = number.fractionDigits();
    fraction = fraction.leftJustified(pattern.minDecimals, '0');
    QByteArray text = pattern.grouping ? grouped(whole) : whole;
    if (!fraction.isEmpty()) {
        text += '.' + fraction;
    } else if (text.isEmpty()) {
        text = "0";
    }
    const QByteArray sign = showSign && number.negative ? QByteArray("-") : QByteArray();
    return sign + pattern.prefix + text + pattern.suffix;
}

} // namespace

QByteArray shortestDecimal(double value) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? QByteArray("NaN")
               : value > 0       ? QByteArray("Infinity")
                                 : QByteArray("-Infinity");
    }
    Pattern plain;
    plain.minInteger = 1;
    plain.maxDecimals = 400;
    return render(value, plain, true);
}

QByteArray numberText(double value, const QString& formatCode, DateSystem dates) {
    if (!std::isfinite(value)) {
        return shortestDecimal(value);
    }
    // A sheet holds few codes and many cells: each code's sections are parsed once per thread.
    thread_local QHash<QString, QList<Pattern>> parsedCodes;
    if (parsedCodes.size() > 1024) {
        parsedCodes.clear();
    }
    auto found = parsedCodes.find(formatCode);
    if (found == parsedCodes.end()) {
        QList<Pattern> patterns;
        for (const QString& section : sections(formatCode)) {
            patterns.append(parse(section));
        }
        found = parsedCodes.insert(formatCode, patterns);
    }
    const QList<Pattern>& parts = *found;
    qsizetype chosen = 0;
    if (value < 0 && parts.size() >= 2 && !parts[1].general) {
        chosen = 1;
    } else if (value == 0 && parts.size() >= 3) {
        chosen = 2;
    }
    const Pattern& pattern = parts[chosen];
    if (pattern.date || pattern.time) {
        return dateOrTime(value, pattern, dates);
    }
    if (pattern.general || pattern.unsupported || !pattern.numeric) {
        // A section of text alone ("-" for zero) shows that text; anything else the number itself.
        if (!pattern.general && !pattern.unsupported && chosen > 0) {
            return pattern.prefix;
        }
        return chosen == 1 ? shortestDecimal(-value) : shortestDecimal(value);
    }
    // A section of its own for negative values shows the number without its sign.
    return render(chosen == 1 ? -value : value, pattern, chosen == 0);
}

QByteArray dateTimeText(int year, int month, int day, int hour, int minute, bool withTime) {
    QByteArray text = QByteArray::number(year).rightJustified(4, '0') + '/' +
                      QByteArray::number(month).rightJustified(2, '0') + '/' +
                      QByteArray::number(day).rightJustified(2, '0');
    return withTime ? text + ' ' + timeText(hour, minute) : text;
}

QByteArray timeText(int hour, int minute) {
    return QByteArray::number(hour) + ':' + QByteArray::number(minute).rightJustified(2, '0');
}

} // namespace kelvano
