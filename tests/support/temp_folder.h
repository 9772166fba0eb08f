#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace kelvano::test {

/// A temporary folder for one test, with helpers for the files a test builds and inspects.
class TempFolder {
public:
    TempFolder();
    /// Removes the folder, files whose names are no UTF-8 too.
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    /// The folder path ending in "/", as folder settings hold it.
    QString path() const;
    QString file(const QString& name) const;

    void write(const QString& name, QByteArrayView contents) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

/// An empty folder made the working folder while the object lives, to show that nothing is written
/// where no one asked; the working folder of before comes back at the end.
class WorkingFolder {
public:
    WorkingFolder();
    ~WorkingFolder();
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

    /// What the folder holds now, hidden entries too.
    QStringList entries() const;

private:
    TempFolder m_folder;
    QString m_previous;
};

/// Writes a file in `folder` whose name is the given bytes (Shift-JIS, as an archive from Windows
/// leaves it), which QFile cannot spell; gives its path as bytes.
QByteArray writeRawName(const QString& folder, const QByteArray& name, QByteArrayView contents = {});

/// Bytes from a string of hexadecimal digits (spaces allowed), for byte-exact fixtures.
QByteArray hexBytes(const char* hex);

/// Text as the files hold it: code page 932 bytes.
QByteArray sjis(const QString& text);

/// Shift-JIS fixture texts whose second byte is a trap: 0x5C ("ソ", "表") or an ASCII letter ("Ｂ").
inline const QByteArray So = QByteArray::fromHex("835c");
inline const QByteArray Hyo = QByteArray::fromHex("955c");
inline const QByteArray WideB = QByteArray::fromHex("8261");

} // namespace kelvano::test

#include <ostream>

// Readable failure output for Qt's text types.
inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"' << bytes.toStdString() << "\" (" << bytes.toHex(' ').toStdString() << ')';
}
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
