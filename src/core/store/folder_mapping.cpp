#include "core/store/folder_mapping.h"

#include "core/store/file_names.h"
#include "core/store/io_error.h"
#include "core/store/shift_jis.h"
#include "core/store/stored_names.h"
#include "core/store/table_data_rename.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <dirent.h>

namespace kelvano {
namespace {

/// The folder names of a stored folder text, split at "\" and "/" (a 0x5C that is the second byte of a
/// double-byte character is none), without a drive ("D:") or empty parts.
QStringList componentsOf(QByteArrayView stored) {
    QStringList components;
    QByteArray part;
    const auto finish = [&components, &part] {
        const bool drive = part.size() == 2 && part[1] == ':';
        if (!part.isEmpty() && !drive && part != "." && part != "..") {
            components.append(ShiftJis::decode(part));
        }
        part.clear();
    };
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const char byte = stored[i];
        if (ShiftJis::isLeadByte(static_cast<unsigned char>(byte)) && i + 1 < stored.size()) {
            part += byte;
            part += stored[++i];
        } else if (byte == '\\' || byte == '/') {
            finish();
        } else {
            part += byte;
        }
    }
    finish();
    return components;
}

/// The folder reached from `base` through `names`, each matched without regard to case; nullopt when
/// one is missing.
std::optional<QString> followNames(QString base, const QStringList& names) {
    for (const QString& name : names) {
        const StoredNameMatch match = matchStoredName(base, name, StoredEntry::Folder);
        if (!match.found() || match.inShiftJis()) {
            return std::nullopt;
        }
        base = match.path + QLatin1Char('/');
    }
    return base;
}

/// Whether the folder holds a file of the kind the setting's folder holds.
bool holdsWhatItShould(const QString& folder, FolderSetting setting) {
    QStringList patterns;
    switch (setting) {
    case FolderSetting::Data:
        patterns = {QStringLiteral("HEAD.DAT"), QStringLiteral("*.TBL")};
        break;
    case FolderSetting::Html:
        patterns = {QStringLiteral("*.html"), QStringLiteral("*.htm")};
        break;
    case FolderSetting::Image:
        patterns = {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.gif"),
                    QStringLiteral("*.png")};
        break;
    }
    QDir dir(folder);
    dir.setNameFilters(patterns);
    dir.setFilter(QDir::Files | QDir::Hidden);
    return !dir.entryList().isEmpty();
}

constexpr FolderSetting Settings[] = {FolderSetting::Data, FolderSetting::Html, FolderSetting::Image};

} // namespace

FolderState folderState(QByteArrayView storedFolder) {
    const QString folder = ShiftJis::decode(storedFolder);
    if (!isPathOfThisSystem(folder)) {
        return FolderState::NotOfThisSystem;
    }
    return QFileInfo(folder).isDir() ? FolderState::Present : FolderState::Missing;
}

QByteArray SettingsRecord::*settingMember(FolderSetting setting) {
    switch (setting) {
    case FolderSetting::Data:
        return &SettingsRecord::DataFolder;
    case FolderSetting::Html:
        return &SettingsRecord::HtmlFolder;
    case FolderSetting::Image:
        break;
    }
    return &SettingsRecord::ImageFolder;
}

QList<FolderProposal> proposeFolders(const SettingsRecord& settings, const QString& programFolder) {
    QList<FolderProposal> proposals;
    for (const FolderSetting setting : Settings) {
        const QByteArray& stored = settings.*settingMember(setting);
        if (folderState(stored) == FolderState::Present) {
            continue;
        }
        const QStringList components = componentsOf(stored);
        std::optional<QString> found;
        for (qsizetype last = components.size(); last >= 1 && !found; --last) {
            found = followNames(programFolder, components.mid(components.size() - last));
        }
        if (!found && holdsWhatItShould(programFolder, setting)) {
            found = programFolder;
        }
        if (found) {
            proposals.append({setting, stored, *found});
        }
    }
    return proposals;
}

SettingsRecord withProposals(SettingsRecord settings, const QList<FolderProposal>& proposals) {
    for (const FolderProposal& proposal : proposals) {
        settings.*settingMember(proposal.setting) = ShiftJis::encode(proposal.proposed).bytes;
    }
    return settings;
}

QList<NameRepair> shiftJisNamedFiles(const QStringList& folders) {
    QList<NameRepair> repairs;
    QStringList seen;
    for (const QString& folder : folders) {
        const QString key = QDir::cleanPath(folder);
        if (!isPathOfThisSystem(folder) || seen.contains(key)) {
            continue;
        }
        seen.append(key);
        QList<QByteArray> names;
        if (DIR* directory = ::opendir(QFile::encodeName(folder).constData())) {
            while (const dirent* entry = ::readdir(directory)) {
                if (isShiftJisName(entry->d_name)) {
                    names.append(entry->d_name);
                }
            }
            ::closedir(directory);
        }
        std::sort(names.begin(), names.end());
        for (const QByteArray& name : names) {
            repairs.append({withTrailingSeparator(folder), name, ShiftJis::decode(name)});
        }
    }
    return repairs;
}

std::optional<IoError> repairNames(const QList<NameRepair>& repairs) {
    for (qsizetype i = 0; i < repairs.size(); ++i) {
        const NameRepair& repair = repairs[i];
        const QByteArray folder = QFile::encodeName(repair.folder);
        const int error =
            renameWithoutReplacing(folder + repair.from, QFile::encodeName(repair.folder + repair.to));
        if (error != 0) {
            // All or none: the names given back in the opposite order.
            for (qsizetype done = i - 1; done >= 0; --done) {
                const NameRepair& undo = repairs[done];
                renameWithoutReplacing(QFile::encodeName(undo.folder + undo.to),
                                       QFile::encodeName(undo.folder) + undo.from);
            }
            return IoError::fromErrorNumber(repair.folder + repair.to, error);
        }
    }
    return std::nullopt;
}

} // namespace kelvano
