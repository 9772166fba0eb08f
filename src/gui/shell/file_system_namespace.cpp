#include "gui/shell/file_system_namespace.h"

#include "gui/shell/file_system_items.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStyle>
#include <QUrl>

namespace kelvano {

using namespace FileSystemItems;

FileSystemNamespace::FileSystemNamespace(QString sendToFolder) : m_sendToFolder(std::move(sendToFolder)) {
    if (m_sendToFolder.isEmpty()) {
        m_sendToFolder =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/SendTo");
    }
    m_desktop = makeFolder(*this, ItemIdList::desktop());
}

FileSystemNamespace::~FileSystemNamespace() = default;

ItemIdList FileSystemNamespace::entryElement(const QString& name, bool folder) {
    return kindElement(folder ? FolderKind : FileKind, QFile::encodeName(name));
}

FileSystemNamespace::Resolved FileSystemNamespace::resolve(const ItemIdList& absolute) {
    Resolved result;
    if (absolute.isNull()) {
        return result;
    }
    result.kind = Resolved::Kind::Desktop;
    const int count = absolute.count();
    for (int index = 0; index < count; ++index) {
        const QByteArray payload = absolute.payload(index);
        const char kind = payload.isEmpty() ? 0 : payload[0];
        const QByteArray name = payload.mid(1);
        switch (result.kind) {
        case Resolved::Kind::Desktop:
            if (kind == HomeKind) {
                result = {Resolved::Kind::Path, QDir::homePath(), kind};
            } else if (kind == RootKind) {
                result = {Resolved::Kind::Path, QDir::rootPath(), kind};
            } else if (kind == DrivesKind) {
                result = {Resolved::Kind::Drives, {}, kind};
            } else {
                return {};
            }
            break;
        case Resolved::Kind::Drives:
            if (kind != VolumeKind || name.isEmpty()) {
                return {};
            }
            result = {Resolved::Kind::Path, QFile::decodeName(name), kind};
            break;
        case Resolved::Kind::Path: {
            const QString entry = QFile::decodeName(name);
            if ((kind != FolderKind && kind != FileKind) || result.element == FileKind ||
                !isUsableName(entry)) {
                return {};
            }
            result = {Resolved::Kind::Path, joinPath(result.path, entry), kind};
            break;
        }
        case Resolved::Kind::Invalid:
            return {};
        }
    }
    return result;
}

ShellFolder& FileSystemNamespace::desktop() {
    return *m_desktop;
}

ItemIdList FileSystemNamespace::specialFolder(SpecialFolder folder) const {
    switch (folder) {
    case SpecialFolder::Desktop:
        return ItemIdList::desktop();
    case SpecialFolder::Drives:
        return kindElement(DrivesKind);
    case SpecialFolder::SendTo:
        return QFileInfo(m_sendToFolder).isDir() ? parseDisplayName(m_sendToFolder) : ItemIdList();
    }
    return {};
}

ItemIdList FileSystemNamespace::parseDisplayName(const QString& path) const {
    if (path == DesktopParsingName) {
        return ItemIdList::desktop();
    }
    if (path == DrivesParsingName) {
        return kindElement(DrivesKind);
    }
    if (path.isEmpty() || !QDir::isAbsolutePath(path)) {
        return {};
    }
    const QString clean = QDir::cleanPath(path);
    const QFileInfo target(clean);
    if (!target.exists() && !target.isSymLink()) {
        return {};
    }
    ItemIdList result = kindElement(RootKind);
    QString walked = QDir::rootPath();
    for (const QString& name : clean.split(u'/', Qt::SkipEmptyParts)) {
        walked = joinPath(walked, name);
        result = ItemIdList::concatenate(result, entryElement(name, QFileInfo(walked).isDir()));
    }
    return result;
}

std::unique_ptr<ShellFolder> FileSystemNamespace::bindToObject(const ItemIdList& absolute) const {
    if (absolute.isNull() || absolute.isDesktop()) {
        return nullptr;
    }
    const Resolved item = resolve(absolute);
    if (item.kind == Resolved::Kind::Invalid || item.element == FileKind) {
        return nullptr;
    }
    return makeFolder(*this, absolute);
}

QIcon FileSystemNamespace::icon(const ItemIdList& absolute, bool open) const {
    const Resolved item = resolve(absolute);
    if (open && item.kind == Resolved::Kind::Path && item.element != RootKind && item.element != VolumeKind &&
        QFileInfo(item.path).isDir()) {
        return QIcon::fromTheme(QStringLiteral("folder-open"),
                                QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon));
    }
    switch (item.kind) {
    case Resolved::Kind::Invalid:
        return m_icons.icon(QAbstractFileIconProvider::File);
    case Resolved::Kind::Desktop:
        return m_icons.icon(QAbstractFileIconProvider::Desktop);
    case Resolved::Kind::Drives:
        return m_icons.icon(QAbstractFileIconProvider::Computer);
    case Resolved::Kind::Path:
        break;
    }
    if (item.element == RootKind || item.element == VolumeKind) {
        return m_icons.icon(QAbstractFileIconProvider::Drive);
    }
    return m_icons.icon(QFileInfo(item.path));
}

std::optional<FileData> FileSystemNamespace::fileData(const ItemIdList& absolute) const {
    const Resolved item = resolve(absolute);
    if (item.kind != Resolved::Kind::Path || item.element == RootKind || item.element == VolumeKind) {
        return std::nullopt;
    }
    const QFileInfo info(item.path);
    if (!info.exists()) {
        return std::nullopt;
    }
    return FileData{info.isDir() ? 0 : info.size(), info.lastModified()};
}

QString FileSystemNamespace::typeName(const ItemIdList& absolute) const {
    const Resolved item = resolve(absolute);
    switch (item.kind) {
    case Resolved::Kind::Invalid:
        return {};
    case Resolved::Kind::Desktop:
    case Resolved::Kind::Drives:
        return QStringLiteral("システム フォルダ");
    case Resolved::Kind::Path:
        break;
    }
    if (item.element == RootKind || item.element == VolumeKind) {
        return QStringLiteral("ローカル ディスク");
    }
    if (item.element != FileKind) {
        return QStringLiteral("ファイル フォルダ");
    }
    const QMimeType type = m_mimeTypes.mimeTypeForFile(item.path, QMimeDatabase::MatchExtension);
    if (type.isValid() && !type.isDefault() && !type.comment().isEmpty()) {
        return type.comment();
    }
    const QString suffix = QFileInfo(item.path).suffix().toUpper();
    return suffix.isEmpty() ? QStringLiteral("ファイル") : suffix + QStringLiteral(" ファイル");
}

bool FileSystemNamespace::open(const ItemIdList& absolute, QWidget* owner) const {
    Q_UNUSED(owner);
    const Resolved item = resolve(absolute);
    if (item.kind != Resolved::Kind::Path) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(item.path));
}

} // namespace kelvano
