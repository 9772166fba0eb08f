#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace kelvano {

/// What a name that a record stores (a data file, a snippet, a picture) finds in a folder. Records made
/// on Windows name files without regard to letter case, and files copied through an archive may keep
/// their Shift-JIS names: a stored name matches a file whose name is the same without regard to case,
/// or whose bytes, read as Shift-JIS, are.
struct StoredNameMatch {
    /// The matching names on disk as their bytes: the stored name itself first when it is there, the
    /// others in byte order.
    QList<QByteArray> names;
    /// The name on disk that is used: the first this system can spell (UTF-8), else the first.
    QByteArray used;
    /// The path to open: the folder and the first matching name that this system can spell; the
    /// folder and the stored name when there is none.
    QString path;

    bool found() const { return !names.isEmpty(); }
    /// Two or more files match: the first is used, and the check says so.
    bool ambiguous() const { return names.size() > 1; }
    /// The name on disk that is used, as this system shows it.
    QString nameOnDisk() const;
    /// The file used keeps a Shift-JIS name: it is found, but opened only once renamed.
    bool inShiftJis() const;
    /// The name used differs from the stored one (in case or encoding): a case-sensitive web server
    /// would not find it under the stored name.
    bool differs = false;
};

enum class StoredEntry { File, Folder };

/// Looks a stored name up in a folder (ending in "/"). A folder that names no place on this system
/// matches nothing.
StoredNameMatch matchStoredName(const QString& folder, const QString& name,
                                StoredEntry kind = StoredEntry::File);

/// The path to open for a stored path (folder + name): the path itself when the file is there,
/// otherwise the file that matchStoredName finds, otherwise the path itself. Used wherever a stored file
/// is opened for reading or replacing, so that the file keeps the name it has on disk.
QString resolveStoredPath(const QString& path);

/// Whether a name's bytes are Shift-JIS rather than this system's UTF-8: no valid UTF-8, but whole code
/// page 932 characters.
bool isShiftJisName(QByteArrayView name);
/// A name's bytes as this system shows them: UTF-8, or Shift-JIS when they are that.
QString decodeNameOnDisk(QByteArrayView name);

} // namespace kelvano
