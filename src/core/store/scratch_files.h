#pragma once

#include <QString>

namespace kelvano {

/// A writer's claim on the scratch files it keeps in one folder: a shared lock (flock) on the folder
/// itself, held while the scratch files exist. Scratch files in a folder nobody claims belong to runs
/// that ended without removing them (a crash, a kill), and can go. A folder that cannot be locked (a
/// file system without locks) is used without a claim; its scratch files are then never removed.
class ScratchClaim {
public:
    ScratchClaim() = default;
    explicit ScratchClaim(const QString& folder);
    ~ScratchClaim();
    ScratchClaim(ScratchClaim&& other) noexcept;
    ScratchClaim& operator=(ScratchClaim&& other) noexcept;
    ScratchClaim(const ScratchClaim&) = delete;
    ScratchClaim& operator=(const ScratchClaim&) = delete;

    /// The folder when no writer claims it (checked and held exclusively for a moment): `clean` runs
    /// while nobody can start a scratch file there, then the claim becomes a shared one. False, without
    /// running `clean`, when another writer is at work there.
    template <typename Clean> bool whileUnclaimedElsewhere(Clean clean) {
        const bool alone = takeAlone();
        if (alone) {
            clean();
        }
        share(); // a failed conversion may have dropped the shared lock too
        return alone;
    }

private:
    bool takeAlone();
    void share();

    int m_folder = -1;
};

/// The name of a new scratch file for `path`, beside it: path + "." + seven letters or digits + ".tmp".
/// A name too long for the folder's file system has the file's name cut (at a character) so that the
/// scratch name fits whenever the final name fits.
QString scratchNameBeside(const QString& path);

/// What was removed of the scratch files earlier runs left in a folder.
struct LeftScratchFiles {
    int count = 0;
    qint64 bytes = 0;
};

/// Removes the scratch files of earlier runs from `folder`: plain files of this user named as
/// scratchNameBeside names them, when no writer claims the folder. Nothing when one does.
LeftScratchFiles removeLeftScratchFiles(const QString& folder);

} // namespace kelvano
