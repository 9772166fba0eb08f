#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// Day and month serials of date texts such as "98/03/15" or "1998/3/15", counted from 1980. Every year
// has 365 days and every February 29: the serials order dates and are not a calendar.

namespace kelvano::StringUtil {

/// (year - 1980) * 365, plus the days of the months before the month, plus the day: 1980/01/01 gives 1.
/// 0 when the month or the day is missing, or when the month is not 1 to 12.
qint32 nextdate(QByteArrayView date);
/// (year - 1980) * 12 plus the month; a missing month counts as 0.
qint32 nextdated(QByteArrayView date);

} // namespace kelvano::StringUtil
