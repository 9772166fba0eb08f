#pragma once

#include "core/store/file_stamp.h"
#include "core/store/io_error.h"
#include "core/store/settings_record.h"
#include "core/store/table_data_files.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QUndoStack;

namespace kelvano {

class TableDataModel;
class TableLock;

/// The table open in the editor, apart from the window that shows it: where it came from (the folder
/// settings, program folder, file name and column count it was opened with, kept for as long as it is
/// open), its rows and their undo history, what its data file held when it was read or last written,
/// and the table's lock, held while it is open.
class TableDocument : public QObject {
    Q_OBJECT

public:
    struct Source {
        SettingsRecord settings;
        QString programFolder;
        QByteArray fileName;
        int columnCount = 1;
        /// The table's number in TABLE.DAT; -1 for a table opened without one.
        int number = -1;
    };

    explicit TableDocument(QObject* parent = nullptr);
    ~TableDocument() override;

    TableDataModel* model() const { return m_model; }
    /// Every change of the rows. Its clean state is the rows as last saved or opened.
    QUndoStack* undoStack() const { return m_undo; }
    const Source& source() const { return m_source; }
    /// The table's files under the folder settings it was opened with. An IoError for a file name that
    /// would name files outside the data folder.
    TableDataFiles files() const;

    enum class Opening {
        Read,        ///< the rows of the existing file
        Created,     ///< the table had no file yet: an empty one was created
        Unreadable,  ///< a file is there but cannot be read: the table starts empty, the file untouched
        Unavailable, ///< there is no file and none can be created; the document is as it was
        InUse,       ///< another program holds the table's lock; the document is as it was
    };
    /// Reads the table of `source` and takes its lock, releasing the one held before. An IoError when
    /// reading fails (the document is then as it was).
    Opening open(const Source& source);
    /// Shows `count` columns where fewer are shown (at most a table's most); the table's definition
    /// is the caller's to store.
    void raiseColumnCount(int count);
    /// The table is no longer open: its lock is released; the rows stay until the next opening.
    void close();
    /// True while the table holds its lock (false also where no lock can be made).
    bool holdsLock() const;

    bool isModified() const;
    /// The rows as they are now count as saved (or their changes as given up).
    void markUnmodified();

    enum class Overwrite { IfUnchanged, Always };
    enum class Saving {
        Saved,
        ChangedOnDisk, ///< the data file holds other bytes than were read or last written; nothing written
        Failed,        ///< the file could not be written (saveError() tells why); the old one stays
    };
    /// Writes every row to the data file the table was opened from.
    Saving save(Overwrite overwrite);
    /// Why the last save failed.
    const std::optional<IoError>& saveError() const { return m_saveError; }

private:
    Source m_source;
    TableDataModel* m_model;
    QUndoStack* m_undo;
    /// The data file as read or last written; none when its bytes could not be read.
    std::optional<FileStamp> m_stamp;
    std::unique_ptr<TableLock> m_lock;
    std::optional<IoError> m_saveError;
};

} // namespace kelvano
