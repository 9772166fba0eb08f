#include "core/text/date_serial.h"

#include <QByteArray>
#include <array>

namespace kelvano::StringUtil {
namespace {

constexpr std::array<int, 12> MonthLengths = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr qsizetype MaxPartDigits = 5;

/// The digits of a date text's year, month and day: each "/" moves on to the next part, each part keeps
/// its first five digits, and everything else, including whatever follows a third "/", is skipped.
struct DateParts {
    std::array<QByteArray, 3> parts;

    explicit DateParts(QByteArrayView date) {
        std::size_t current = 0;
        for (const char c : date) {
            if (c == '/') {
                ++current;
            } else if (c >= '0' && c <= '9' && current < parts.size() &&
                       parts[current].size() < MaxPartDigits) {
                parts[current].append(c);
            }
        }
    }

    /// Two-digit years are 2000 to 2079 below 80 and 1980 to 1999 from 80.
    int year() const {
        const int value = parts[0].toInt();
        if (parts[0].size() == 2) {
            return value < 80 ? 2000 + value : 1900 + value;
        }
        return value;
    }
    bool hasMonth() const { return !parts[1].isEmpty(); }
    bool hasDay() const { return !parts[2].isEmpty(); }
    int month() const { return parts[1].toInt(); }
    int day() const { return parts[2].toInt(); }
};

} // namespace

qint32 nextdate(QByteArrayView date) {
    const DateParts parts(date);
    const int month = parts.month();
    if (!parts.hasMonth() || !parts.hasDay() || month < 1 || month > 12) {
        return 0;
    }
    qint32 serial = (parts.year() - 1980) * 365;
    for (int m = 1; m < month; ++m) {
        serial += MonthLengths[m - 1];
    }
    return serial + parts.day();
}

qint32 nextdated(QByteArrayView date) {
    const DateParts parts(date);
    return (parts.year() - 1980) * 12 + parts.month();
}

} // namespace kelvano::StringUtil
