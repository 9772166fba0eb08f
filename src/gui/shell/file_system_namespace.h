#pragma once

#include "gui/shell/namespace_provider.h"

#include <QFileIconProvider>
#include <QMimeDatabase>

namespace kelvano {

/// The namespace over the file system. The desktop is a virtual folder holding the user's home
/// folder, the drives folder (the mounted volumes) and the file-system root. An element's opaque bytes
/// are a kind byte followed by the item's name as the file system stores it: 'H' home, 'D' drives,
/// 'R' root, 'V' a volume (its mount path), 'd' a folder entry, 'f' any other entry.
class FileSystemNamespace : public NamespaceProvider {
public:
    /// The parsing names of the two virtual folders.
    static inline const QString DesktopParsingName = QStringLiteral("::{Desktop}");
    static inline const QString DrivesParsingName = QStringLiteral("::{Drives}");

    /// `sendToFolder` is the folder whose files become the context menus' send-to entries; empty for
    /// "SendTo" under the user's application data folder.
    explicit FileSystemNamespace(QString sendToFolder = {});
    ~FileSystemNamespace() override;

    ShellFolder& desktop() override;
    ItemIdList specialFolder(SpecialFolder folder) const override;
    ItemIdList parseDisplayName(const QString& path) const override;
    std::unique_ptr<ShellFolder> bindToObject(const ItemIdList& absolute) const override;
    QIcon icon(const ItemIdList& absolute, bool open) const override;
    std::optional<FileData> fileData(const ItemIdList& absolute) const override;
    QString typeName(const ItemIdList& absolute) const override;
    bool open(const ItemIdList& absolute, QWidget* owner) const override;

    /// What an absolute identifier names.
    struct Resolved {
        enum class Kind { Invalid, Desktop, Drives, Path };
        Kind kind = Kind::Invalid;
        QString path;     ///< for Kind::Path
        char element = 0; ///< the kind byte of the last element
    };
    static Resolved resolve(const ItemIdList& absolute);

    /// The element for a file-system entry named `name`.
    static ItemIdList entryElement(const QString& name, bool folder);

private:
    QString m_sendToFolder;
    std::unique_ptr<ShellFolder> m_desktop;
    mutable QFileIconProvider m_icons;
    QMimeDatabase m_mimeTypes;
};

} // namespace kelvano
