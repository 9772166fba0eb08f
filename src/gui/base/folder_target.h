#pragma once

#include <QtGlobal>

namespace kelvano {

/// The folder field of the main window that the directory picker was opened for; the values are the
/// ones the picker has always been told.
enum class FolderTarget : quint8 {
    None = 0,
    DataFolder = 1,
    HtmlFolder = 2,
    ImageFolder = 3,
};

} // namespace kelvano
