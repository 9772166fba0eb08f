#include "gui/shell/file_system_items.h"

#include "core/shell/list_texts.h"
#include "core/store/file_names.h"
#include "gui/base/user_dialogs.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

// The folders of the file-system namespace: their items, names and attributes, their order, renames,
// and the commands of an item's context menu.

namespace kelvano::FileSystemItems {
namespace {

// Renames are limited to the length the views have always passed.
constexpr qsizetype MaxNameLength = 260;
// A folder is probed for subfolders through at most this many entries; a bigger folder without one
// among them is assumed to have some, and loses its mark when it is first expanded.
constexpr int SubfolderProbeLimit = 64;

bool probeSubfolders(const QString& path) {
    QDirIterator entries(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (int seen = 0; entries.hasNext(); ++seen) {
        if (seen == SubfolderProbeLimit) {
            return true;
        }
        entries.next();
        if (entries.fileInfo().isDir()) {
            return true;
        }
    }
    return false;
}

int kindRank(char kind) {
    switch (kind) {
    case HomeKind:
        return 0;
    case DrivesKind:
        return 1;
    case RootKind:
        return 2;
    case VolumeKind:
    case FolderKind:
        return 3;
    default:
        return 4;
    }
}

// Folders before other items, then names without regard to case, then with it, so that only the same
// item compares equal.
int compareElements(const QByteArray& a, const QByteArray& b) {
    const char kindA = a.isEmpty() ? 0 : a[0];
    const char kindB = b.isEmpty() ? 0 : b[0];
    if (const int rank = kindRank(kindA) - kindRank(kindB); rank != 0) {
        return rank < 0 ? -1 : 1;
    }
    const QString nameA = QFile::decodeName(a.mid(1));
    const QString nameB = QFile::decodeName(b.mid(1));
    if (const int folded = nameA.compare(nameB, Qt::CaseInsensitive); folded != 0) {
        return folded < 0 ? -1 : 1;
    }
    const int exact = a.compare(b);
    return exact < 0 ? -1 : (exact > 0 ? 1 : 0);
}

/// The commands of one file-system item.
class FileSystemContextMenu : public ContextMenuObject {
public:
    FileSystemContextMenu(const FileSystemNamespace& provider, ItemIdList absolute, QString name,
                          ItemAttributes attributes)
        : m_provider(provider), m_absolute(std::move(absolute)), m_name(std::move(name)),
          m_attributes(attributes) {}

    enum Offset { Open = 0, Delete = 1, Rename = 2, Properties = 3 };

    QList<ContextMenuEntry> entries(int firstCommand) const override {
        QList<ContextMenuEntry> result;
        result.append({QStringLiteral("開く(&O)"), firstCommand + Open, {}, false});
        result.append(ContextMenuEntry());
        ContextMenuEntry sendTo{QStringLiteral("送る(&N)"), 0, {}, true};
        sendTo.submenu.append({QStringLiteral("(なし)"), 0, {}, false});
        result.append(sendTo);
        result.append(ContextMenuEntry());
        if (m_attributes.canDelete) {
            result.append({QStringLiteral("削除(&D)"), firstCommand + Delete, {}, false});
        }
        if (m_attributes.canRename) {
            result.append({QStringLiteral("名前の変更(&M)"), firstCommand + Rename, {}, false});
        }
        if (m_attributes.canDelete || m_attributes.canRename) {
            result.append(ContextMenuEntry());
        }
        result.append({QStringLiteral("プロパティ(&R)"), firstCommand + Properties, {}, false});
        return result;
    }

    bool invoke(int offset, QWidget* owner, const std::function<void()>& startRename) override {
        const FileSystemNamespace::Resolved item = FileSystemNamespace::resolve(m_absolute);
        switch (offset) {
        case Open:
            return m_provider.open(m_absolute, owner);
        case Delete:
            if (item.kind != FileSystemNamespace::Resolved::Kind::Path ||
                !UserDialogs::askYesNo(owner, MessageIcon::Question, Messages::shellMoveToTrash(m_name),
                                       Answer::No)) {
                return false;
            }
            if (!QFile::moveToTrash(item.path)) {
                UserDialogs::show(owner, MessageIcon::Error, Messages::ShellCannotMoveToTrash);
                return false;
            }
            return true;
        case Rename:
            if (startRename) {
                startRename();
            }
            return true;
        case Properties:
            UserDialogs::show(owner, MessageIcon::Information, propertiesText(item),
                              QStringLiteral("プロパティ"));
            return true;
        default:
            return false;
        }
    }

private:
    QString propertiesText(const FileSystemNamespace::Resolved& item) const {
        QStringList lines{m_name, m_provider.typeName(m_absolute)};
        if (item.kind == FileSystemNamespace::Resolved::Kind::Path) {
            lines.append(item.path);
        }
        if (const std::optional<FileData> data = m_provider.fileData(m_absolute)) {
            lines.append(ListTexts::sizeText(data->size).trimmed());
            lines.append(ListTexts::dateText(data->lastWrite));
        }
        return lines.join(u'\n');
    }

    const FileSystemNamespace& m_provider;
    ItemIdList m_absolute;
    QString m_name;
    ItemAttributes m_attributes;
};

/// A folder of the file-system namespace: the desktop, the drives folder or a file-system folder.
class FileSystemFolder : public ShellFolder {
public:
    FileSystemFolder(const FileSystemNamespace& provider, ItemIdList absolute)
        : m_provider(provider), m_absolute(std::move(absolute)),
          m_resolved(FileSystemNamespace::resolve(m_absolute)) {}

    std::optional<QList<ItemIdList>> enumerate(ListFilter filter) const override {
        using Kind = FileSystemNamespace::Resolved::Kind;
        QList<ItemIdList> children;
        switch (m_resolved.kind) {
        case Kind::Invalid:
            return std::nullopt;
        case Kind::Desktop:
            if (filter != ListFilter::NonFolders) {
                children = {kindElement(HomeKind), kindElement(DrivesKind), kindElement(RootKind)};
            }
            return children;
        case Kind::Drives:
            if (filter != ListFilter::NonFolders) {
                for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
                    if (volume.isValid() && volume.isReady()) {
                        children.append(kindElement(VolumeKind, QFile::encodeName(volume.rootPath())));
                    }
                }
            }
            return children;
        case Kind::Path:
            break;
        }
        const QFileInfo folder(m_resolved.path);
        if (!folder.isDir() || !folder.isReadable() || !folder.isExecutable()) {
            return std::nullopt;
        }
        QDir::Filters filters = QDir::NoDotAndDotDot;
        switch (filter) {
        case ListFilter::Folders:
            filters |= QDir::Dirs | QDir::Hidden;
            break;
        case ListFilter::FoldersAndNonFolders:
            filters |= QDir::AllEntries | QDir::Hidden | QDir::System;
            break;
        case ListFilter::NonFolders:
            filters |= QDir::Files | QDir::System;
            break;
        }
        for (const QFileInfo& entry : QDir(m_resolved.path).entryInfoList(filters, QDir::Unsorted)) {
            children.append(FileSystemNamespace::entryElement(entry.fileName(), entry.isDir()));
        }
        return children;
    }

    QString displayName(const ItemIdList& relative, NameForm form) const override {
        const ItemIdList absolute = ItemIdList::concatenate(m_absolute, relative);
        const FileSystemNamespace::Resolved item = FileSystemNamespace::resolve(absolute);
        using Kind = FileSystemNamespace::Resolved::Kind;
        if (form == NameForm::Parsing) {
            switch (item.kind) {
            case Kind::Desktop:
                return FileSystemNamespace::DesktopParsingName;
            case Kind::Drives:
                return FileSystemNamespace::DrivesParsingName;
            case Kind::Path:
                return item.path;
            case Kind::Invalid:
                return {};
            }
        }
        if (item.kind == Kind::Desktop) {
            return QStringLiteral("デスクトップ");
        }
        const QByteArray last = absolute.payload(absolute.count() - 1);
        switch (item.element) {
        case HomeKind:
            return QStringLiteral("ホーム");
        case DrivesKind:
            return QStringLiteral("ドライブ");
        case RootKind:
            return QStringLiteral("ファイル システム");
        case VolumeKind: {
            const QStorageInfo volume(item.path);
            const QString name = volume.name();
            return name.isEmpty() ? item.path : QStringLiteral("%1 (%2)").arg(name, item.path);
        }
        default:
            return QFile::decodeName(last.mid(1));
        }
    }

    ItemAttributes attributes(const ItemIdList& relative, bool askSubfolders) const override {
        const FileSystemNamespace::Resolved item =
            FileSystemNamespace::resolve(ItemIdList::concatenate(m_absolute, relative));
        ItemAttributes attributes;
        using Kind = FileSystemNamespace::Resolved::Kind;
        if (item.kind == Kind::Invalid) {
            return attributes;
        }
        if (item.kind != Kind::Path) {
            attributes.folder = attributes.fileSystemAncestor = attributes.hasSubfolders = true;
            return attributes;
        }
        const QFileInfo info(item.path);
        attributes.link = info.isSymLink();
        const bool entry = item.element == FolderKind || item.element == FileKind;
        attributes.canRename = attributes.canDelete = entry;
        if (item.element != FileKind) {
            attributes.folder = attributes.fileSystemAncestor = true;
            attributes.hasSubfolders = askSubfolders && probeSubfolders(item.path);
        }
        return attributes;
    }

    int compareIds(const ItemIdList& a, const ItemIdList& b) const override {
        if (a.isNull() || b.isNull() || a.isDesktop() || b.isDesktop()) {
            const int countA = a.isNull() ? -1 : a.count();
            const int countB = b.isNull() ? -1 : b.count();
            return countA < countB ? -1 : (countA > countB ? 1 : 0);
        }
        if (const int first = compareElements(a.payload(0), b.payload(0)); first != 0) {
            return first;
        }
        const ItemIdList restA = a.rest();
        const ItemIdList restB = b.rest();
        if (restA.isDesktop() || restB.isDesktop()) {
            return compareIds(restA, restB);
        }
        const std::unique_ptr<ShellFolder> child = bindToFolder(a.first());
        return child ? child->compareIds(restA, restB) : compareElements(restA.bytes(), restB.bytes());
    }

    ItemIdList setNameOf(const ItemIdList& child, const QString& newName) override {
        const FileSystemNamespace::Resolved item =
            FileSystemNamespace::resolve(ItemIdList::concatenate(m_absolute, child.first()));
        if (m_resolved.kind != FileSystemNamespace::Resolved::Kind::Path ||
            (item.element != FolderKind && item.element != FileKind)) {
            return {};
        }
        const QString name = newName.left(MaxNameLength);
        if (!isUsableName(name)) {
            return {};
        }
        const QString target = joinPath(m_resolved.path, name);
        if (target == item.path) {
            return child.first();
        }
        const QFileInfo existing(target);
        if (existing.exists() || existing.isSymLink() || !QDir().rename(item.path, target)) {
            return {};
        }
        return FileSystemNamespace::entryElement(name, item.element == FolderKind);
    }

    std::unique_ptr<ShellFolder> bindToFolder(const ItemIdList& relative) const override {
        return m_provider.bindToObject(ItemIdList::concatenate(m_absolute, relative));
    }

    std::unique_ptr<ContextMenuObject> contextMenuOf(const ItemIdList& child) const override {
        const ItemIdList absolute = ItemIdList::concatenate(m_absolute, child.first());
        const FileSystemNamespace::Resolved item = FileSystemNamespace::resolve(absolute);
        if (item.kind != FileSystemNamespace::Resolved::Kind::Path) {
            return nullptr;
        }
        return std::make_unique<FileSystemContextMenu>(m_provider, absolute,
                                                       displayName(child.first(), NameForm::Normal),
                                                       attributes(child.first(), false));
    }

private:
    const FileSystemNamespace& m_provider;
    ItemIdList m_absolute;
    FileSystemNamespace::Resolved m_resolved;
};

} // namespace

ItemIdList kindElement(char kind, const QByteArray& name) {
    return ItemIdList::fromPayload(QByteArray(1, kind) + name);
}

QString joinPath(const QString& folder, const QString& name) {
    return withTrailingSeparator(folder) + name;
}

bool isUsableName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(0));
}

std::unique_ptr<ShellFolder> makeFolder(const FileSystemNamespace& provider, ItemIdList absolute) {
    return std::make_unique<FileSystemFolder>(provider, std::move(absolute));
}

} // namespace kelvano::FileSystemItems
