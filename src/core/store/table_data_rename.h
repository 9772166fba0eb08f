#pragma once

#include "core/store/io_error.h"
#include "core/store/table_data_files.h"
#include "core/store/table_lock.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace kelvano {

/// Gives a table's data files (".TBL", ".ALI", ".URL") a new FileName in the data folder, all of them
/// or none. The table's lock under its old name is held from run() until the object is destroyed, so
/// that no editor opens the table while its files change names.
class TableDataRename {
public:
    TableDataRename(const QString& dataFolder, const QString& oldName, const QString& newName);
    TableDataRename(const TableDataRename&) = delete;
    TableDataRename& operator=(const TableDataRename&) = delete;

    /// Whether any data file of the table exists under its old name (names matched without regard to
    /// case).
    bool hasDataFiles() const;

    enum class Outcome {
        Renamed,      ///< every data file under the old name has the new name now
        Locked,       ///< the table is open in an editor (its lock is held): nothing was renamed
        TargetExists, ///< a data file under the new name is in the way (`inTheWay`): nothing was renamed
        Failed,       ///< a rename failed (`failedFrom`, `failedTo`, `error`); those before it were put back
    };
    struct Move {
        QString from;
        QString to;
    };
    struct Result {
        Outcome outcome = Outcome::Renamed;
        /// Renamed: the files given their new names, in the order renamed.
        QList<Move> moves;
        /// TargetExists: the data file already there under the new name.
        QString inTheWay;
        /// Failed: the rename that failed and why.
        QString failedFrom;
        QString failedTo;
        std::optional<IoError> error;
        /// Failed: the files renamed before the failure and given their old names again (old paths), and
        /// those that could not be (new paths, where they are now).
        QStringList putBack;
        QStringList notPutBack;
    };
    /// Renames the files; a data file never replaces anything already there.
    Result run();
    /// Gives the files renamed by a successful run() their old names again (what names them could not
    /// be stored); the new paths of those that could not be put back.
    QStringList putBack();

    const QString& oldName() const { return m_oldName; }

private:
    QString m_dataFolder;
    QString m_oldName;
    QString m_newName;
    TableLock m_lock;
    QList<Move> m_done;
};

/// Renames a file unless something (of any kind) has `to` as its name already; 0 or the system's
/// error number (EEXIST when something is in the way).
int renameWithoutReplacing(const QString& from, const QString& to);
/// The same for names as their bytes (a name kept in Shift-JIS cannot be spelled as text).
int renameWithoutReplacing(const QByteArray& from, const QByteArray& to);

} // namespace kelvano
