#include "core/text/exponent_form.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kelvano::StringUtil {
namespace {

constexpr int FormDigits = 15;

/// The parts of an exponent form: sign, the fifteen digits of the mantissa and the exponent.
struct FormParts {
    bool negative = false;
    QByteArray digits;
    bool exponentNegative = false;
    int exponent = 0;

    /// Mantissa digit k (0 is the leading digit); zeros beyond the fifteen the form holds, so that
    /// exponents above 12 still give their integer digits and decimals.
    int digit(qsizetype k) const { return k >= 0 && k < digits.size() ? digits[k] - '0' : 0; }
    char digitChar(qsizetype k) const { return char('0' + digit(k)); }
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

/// Reads a form at the positions it defines. Whatever the text holds, nothing outside it is read: a
/// missing or non-digit mantissa character (also one after the "E") counts as the digit 0, and an
/// exponent that is not a number as 0.
FormParts parseForm(QByteArrayView form) {
    FormParts parts;
    parts.negative = !form.isEmpty() && form[0] == '-';
    const qsizetype e = form.indexOf('E');
    const qsizetype mantissaEnd = e < 0 ? form.size() : e;
    parts.digits.reserve(FormDigits);
    for (qsizetype position : {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}) {
        const char c = position < mantissaEnd ? form[position] : '0';
        parts.digits.append(isDigit(c) ? c : '0');
    }
    if (e < 0) {
        return parts;
    }
    for (qsizetype i = e + 1; i < form.size(); ++i) {
        if (form[i] != '+' && form[i] != '-') {
            continue;
        }
        parts.exponentNegative = form[i] == '-';
        const QByteArrayView exponentText =
            form.sliced(i + 1).first(std::min<qsizetype>(4, form.size() - i - 1));
        bool ok = false;
        const int value = exponentText.toInt(&ok);
        parts.exponent = ok && value >= 0 ? value : 0;
    }
    if (parts.exponent == 0) {
        parts.exponentNegative = false;
    }
    return parts;
}

/// The mantissa's first e + 1 digits: the integer part of a value of 1 or more.
QByteArray integerDigits(const FormParts& parts) {
    QByteArray digits;
    for (int k = 0; k <= parts.exponent; ++k) {
        digits.append(parts.digitChar(k));
    }
    return digits;
}

/// Adds one to a text of decimal digits.
QByteArray incremented(QByteArray digits) {
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != '9') {
            ++digits[i];
            return digits;
        }
        digits[i] = '0';
    }
    return '1' + digits;
}

QByteArray withSign(const FormParts& parts, QByteArray text) {
    return parts.negative ? '-' + text : text;
}

} // namespace

QByteArray exponentForm(double value) {
    if (std::isnan(value)) {
        return " NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : " INF";
    }
    if (value == 0) {
        value = 0; // no "-" for negative zero
    }
    // printf rounds the binary value correctly to fifteen significant digits and gives at least two
    // exponent digits ("-1.50000000000000E+00"); the form wants four and a blank for a positive sign.
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, "%.14E", value);
    const QByteArray printed(buffer, length);
    const qsizetype e = printed.indexOf('E');
    const bool negative = printed.startsWith('-');
    const QByteArray mantissa = printed.mid(negative ? 1 : 0, e - (negative ? 1 : 0));
    const int exponent = std::abs(printed.mid(e + 1).toInt());
    return (negative ? "-" : " ") + mantissa + 'E' + printed[e + 1] +
           QByteArray::number(exponent).rightJustified(4, '0');
}

QByteArray Dot2(QByteArrayView form) {
    const FormParts parts = parseForm(form);
    if (parts.exponentNegative) {
        // The value is d.ddd times 10 to the -e: the leading digit is the e-th decimal.
        const auto decimal = [&parts](int n) {
            return parts.digitChar(n - parts.exponent);
        };
        return withSign(parts, QByteArray("0.") + decimal(1) + decimal(2));
    }
    return withSign(parts, integerDigits(parts) + '.' + parts.digitChar(parts.exponent + 1) +
                               parts.digitChar(parts.exponent + 2));
}

QByteArray Round2(QByteArrayView form) {
    const FormParts parts = parseForm(form);
    const int e = parts.exponent;
    if (parts.exponentNegative) {
        int first = parts.digit(0);
        int second = parts.digit(1);
        if (parts.digit(2) >= 5 && ++second == 10) {
            second = 0;
            ++first;
        }
        if (first == 10) {
            // Rounded up to the next power of ten, 10 to the 1 - e, written with as many decimals as
            // the unrounded result would have: 0.996 gives 1.00, 0.0996 gives 0.100.
            return withSign(parts, e == 1 ? QByteArray("1.00") : "0." + QByteArray(e - 2, '0') + "100");
        }
        return withSign(parts, "0." + QByteArray(e - 1, '0') + char('0' + first) + char('0' + second));
    }
    QByteArray integer = integerDigits(parts);
    int first = parts.digit(e + 1);
    int second = parts.digit(e + 2);
    if (parts.digit(e + 3) >= 5 && ++second == 10) {
        second = 0;
        if (++first == 10) {
            first = 0;
            integer = incremented(integer);
        }
    }
    return withSign(parts, integer + '.' + char('0' + first) + char('0' + second));
}

} // namespace kelvano::StringUtil
