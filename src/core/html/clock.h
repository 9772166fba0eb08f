#pragma once

#include <QDateTime>

namespace kelvano::Clock {

/// The current local time. When SOURCE_DATE_EPOCH is set (seconds since 1970), that moment replaces
/// it, so pages made from a script are reproducible.
QDateTime now();

/// Fixes the time that now() gives (tests); an invalid time returns to the real clock.
void setFixedNow(const QDateTime& moment);

} // namespace kelvano::Clock
