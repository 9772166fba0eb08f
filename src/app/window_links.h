#pragma once

namespace kelvano {

struct Windows;

/// Connects the signals by which the windows hand each other what the user chose: the directory
/// picker's folder goes into the main window's folder field; the editor's picture items open the
/// picture picker, whose choice goes into the editor's current cell. Windows that do not exist are
/// passed over.
void linkWindows(const Windows& windows);

} // namespace kelvano
