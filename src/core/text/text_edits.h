#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// Clean-up, padding and prefix operations of the string utility component on code page 932 texts.
// They look at one byte at a time; sizes and positions count bytes.

namespace kelvano::StringUtil {

/// The text with every blank and tab removed.
QByteArray strclear(QByteArrayView text);
/// The text with every "," and every yen sign ("\", 0x5C) removed, so that an amount such as
/// "\1,980" becomes bare digits. The second byte of a double-byte character is never taken for a yen
/// sign, so "表" (95 5C) stays whole.
QByteArray yencut(QByteArrayView text);

/// True when the text begins with the prefix, byte for byte; always true for an empty prefix.
bool strcheck(QByteArrayView text, QByteArrayView prefix);
/// The text after as many bytes as the prefix has; the prefix's content is not compared.
QByteArray strget(QByteArrayView text, QByteArrayView prefix);

/// The text followed by blanks up to the width, at most 80 of them; a longer text is never cut.
QByteArray spastr(QByteArrayView text, quint8 width);
/// As spastr, with the blanks in front (right alignment).
QByteArray spastr2(QByteArrayView text, quint8 width);

/// A folder text ending in the folder separator: the text itself when it ends in one, otherwise the
/// text followed by one. An empty text stays empty (the current folder).
QByteArray AddEndPath(QByteArrayView folder);
inline QByteArray AddEndPath(const QByteArray& folder) {
    return AddEndPath(QByteArrayView(folder));
}
/// The same for a path as the file system takes it.
QString AddEndPath(const QString& folder);

} // namespace kelvano::StringUtil
