#include "core/html/clock.h"

namespace kelvano::Clock {
namespace {

QDateTime& fixedNow() {
    static QDateTime moment;
    return moment;
}

} // namespace

QDateTime now() {
    if (fixedNow().isValid()) {
        return fixedNow();
    }
    bool ok = false;
    const qint64 epoch = qgetenv("SOURCE_DATE_EPOCH").toLongLong(&ok);
    if (ok) {
        return QDateTime::fromSecsSinceEpoch(epoch).toLocalTime();
    }
    return QDateTime::currentDateTime();
}

void setFixedNow(const QDateTime& moment) {
    fixedNow() = moment;
}

} // namespace kelvano::Clock
