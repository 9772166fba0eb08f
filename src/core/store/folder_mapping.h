#pragma once

#include "core/store/settings_record.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace kelvano {

class IoError;

/// The three folder settings that name folders of this computer (the server path names none).
enum class FolderSetting { Data, Html, Image };

/// Why a folder setting cannot be used as it stands.
enum class FolderState {
    Present,
    NotOfThisSystem, ///< a Windows drive or UNC path, a relative or an empty text
    Missing,         ///< an absolute path where there is no folder
};

FolderState folderState(QByteArrayView storedFolder);
QByteArray SettingsRecord::*settingMember(FolderSetting setting);

/// A folder setting that names no folder here, and the folder of the program folder proposed for it.
struct FolderProposal {
    FolderSetting setting;
    QByteArray stored;
    /// Ending in "/".
    QString proposed;

    bool operator==(const FolderProposal&) const = default;
};

/// For each folder setting that names no existing folder, the folder in the program folder that it
/// meant there: the subfolder whose names match the stored path's last components without regard to
/// case ("...\Tables\DATA\" gives DATA/, "...\HTML\GRPH\" gives HTML/GRPH/), the longest such match
/// first; else the program folder itself when it holds what the folder holds (HEAD.DAT or ".TBL" files
/// for data, pages for HTML, pictures for images). A setting for which neither fits has no proposal.
QList<FolderProposal> proposeFolders(const SettingsRecord& settings, const QString& programFolder);

/// The settings with the proposed folders in place of the stored ones.
SettingsRecord withProposals(SettingsRecord settings, const QList<FolderProposal>& proposals);

/// A file whose name kept its Shift-JIS bytes, and the UTF-8 name it gets.
struct NameRepair {
    QString folder;
    QByteArray from;
    QString to;

    bool operator==(const NameRepair&) const = default;
};

/// The files named in Shift-JIS in the given folders (each once, in the order given, names in byte
/// order).
QList<NameRepair> shiftJisNamedFiles(const QStringList& folders);

/// Renames each file to its UTF-8 name, never over another file. When one fails, the renames done
/// so far are undone and the failure is given back; nullopt when all were renamed.
std::optional<IoError> repairNames(const QList<NameRepair>& repairs);

} // namespace kelvano
