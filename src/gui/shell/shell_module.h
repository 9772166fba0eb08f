#pragma once

#include "gui/shell/namespace_provider.h"

#include <array>
#include <memory>

namespace kelvano {

/// A folder object that is either the module's desktop (not owned) or a bound folder (owned).
class FolderHandle {
public:
    FolderHandle() = default;
    explicit FolderHandle(std::unique_ptr<ShellFolder> bound)
        : m_owned(std::move(bound)), m_folder(m_owned.get()) {}

    /// The desktop folder of the module's namespace.
    static FolderHandle desktop();
    /// The folder object of an absolute identifier; for the empty identifier or one that cannot be
    /// bound, the desktop when `desktopWhenUnbound` is set and nothing otherwise.
    static FolderHandle bind(const ItemIdList& absolute, bool desktopWhenUnbound);

    ShellFolder* get() const { return m_folder; }
    ShellFolder* operator->() const { return m_folder; }
    explicit operator bool() const { return m_folder != nullptr; }

private:
    std::unique_ptr<ShellFolder> m_owned;
    ShellFolder* m_folder = nullptr;
};

/// State shared by every control of the shell views: the namespace they show and the sort directions
/// of the file lists' four columns.
namespace ShellModule {

/// The namespace of this run (the file system unless a test installs another).
NamespaceProvider& provider();
/// Replaces the namespace; gives back the previous one.
std::unique_ptr<NamespaceProvider> setProvider(std::unique_ptr<NamespaceProvider> provider);

/// One entry per file-list column: +1 ascending, -1 descending; shared by every file list.
std::array<int, 4>& sortDirections();

} // namespace ShellModule

/// Shows the hourglass cursor while it lives.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace kelvano
