#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace kelvano {

/// Whether the desktop has a program set up to open web pages, asked before a page is handed to it:
/// the desktop's opener reports success once it has started, found a browser or not.
namespace DesktopBrowser {

enum class Setup {
    Found,   ///< a default program for HTML files or for http addresses
    None,    ///< the desktop names none for either
    Unknown, ///< the desktop could not be asked (no xdg-mime): the opener is tried all the same
};

/// Asks the desktop for the default program of HTML files, then of http addresses.
Setup query();

/// How the desktop is asked: the default program named for a MIME type (empty for none), nullopt when
/// it cannot be asked. Tests give their own; an empty function gives back xdg-mime.
using Asker = std::function<std::optional<QString>(const QString& mimeType)>;
void setAsker(Asker asker);

} // namespace DesktopBrowser
} // namespace kelvano
