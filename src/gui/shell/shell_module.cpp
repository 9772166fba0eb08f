#include "gui/shell/shell_module.h"

#include "gui/shell/file_system_namespace.h"

#include <QApplication>
#include <QCursor>

namespace kelvano {
namespace {

std::unique_ptr<NamespaceProvider>& currentProvider() {
    static std::unique_ptr<NamespaceProvider> provider;
    if (!provider) {
        provider = std::make_unique<FileSystemNamespace>();
    }
    return provider;
}

} // namespace

FolderHandle FolderHandle::desktop() {
    FolderHandle handle;
    handle.m_folder = &ShellModule::provider().desktop();
    return handle;
}

FolderHandle FolderHandle::bind(const ItemIdList& absolute, bool desktopWhenUnbound) {
    if (absolute.isDesktop()) {
        return desktop();
    }
    FolderHandle handle(ShellModule::provider().bindToObject(absolute));
    if (!handle && desktopWhenUnbound) {
        return desktop();
    }
    return handle;
}

namespace ShellModule {

NamespaceProvider& provider() {
    return *currentProvider();
}

std::unique_ptr<NamespaceProvider> setProvider(std::unique_ptr<NamespaceProvider> provider) {
    std::swap(currentProvider(), provider);
    return provider;
}

std::array<int, 4>& sortDirections() {
    static std::array<int, 4> directions{1, 1, 1, 1};
    return directions;
}

} // namespace ShellModule

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

} // namespace kelvano
