#pragma once

#include <QString>

class QWidget;

namespace kelvano::WindowPlace {

// Where the user left a window (its size and position), noted in KELVANO.INI of the program folder, so
// that the next opening, in this run or the next, puts it there again.

/// Puts `window` where it was left under `key`; false when nothing usable is noted.
bool restore(QWidget* window, const QString& programFolder, const QString& key);
/// Notes where `window` is now under `key`.
void keep(const QWidget* window, const QString& programFolder, const QString& key);

} // namespace kelvano::WindowPlace
