#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kelvano {

/// A file of fixed-size records numbered by their 0-based position; opened for one operation at a time.
/// Records are written in place and flushed; an incomplete tail is not a record.
class RecordFile {
public:
    RecordFile(const QString& path, qsizetype recordSize);

    /// Opens an existing file for reading and writing; false when it is missing or cannot be opened.
    bool open();
    /// Opens an existing file for reading only (a reader needs no write access).
    bool openForReading();
    /// Opens the file, creating it empty when it does not exist yet. An existing file that cannot be
    /// opened is never recreated, so its records are not lost; false then, and when creating fails.
    bool openOrCreate();

    /// The number of whole records in the file.
    qint64 recordCount() const;
    /// Reads record n; an IoError when the file does not hold a whole record n.
    QByteArray read(qint64 number);
    /// Writes record n (n may be the record count, to append). A write that fails part-way (a full
    /// disk, a file-size limit) puts back the bytes it overwrote and cuts the file back to its previous
    /// length before the IoError, so the file never holds a torn record.
    void write(qint64 number, QByteArrayView record);

    const QFile& file() const { return m_file; }
    /// Why the last open failed: the system's error number, EISDIR or NotAPlainFileError (a pipe, a
    /// device), which are never opened.
    int openError() const { return m_openError; }

private:
    /// Up to `size` bytes at `offset`, fewer at the end of the file.
    QByteArray bytesAt(qint64 offset, qint64 size);

    QFile m_file;
    qsizetype m_recordSize;
    int m_openError = 0;
};

} // namespace kelvano
