#pragma once

#include <QByteArrayView>
#include <QString>

// Filters that rewrite a text file line by line. Lines are compared byte for byte and case-sensitively;
// "begins with" compares as many bytes as the key has, so an empty key matches every line. Every
// written line ends with CR LF.
//
// The new contents go to the scratch file ZSTREX.TMP in the file's folder, which is then renamed over
// the file: on any failure the file stays as it was. A file that cannot be opened, or a scratch file
// that cannot be created, leaves everything unchanged without a report; a later failure throws IoError.

namespace kelvano::StringUtil {

inline const QString ScratchFileName = QStringLiteral("ZSTREX.TMP");

/// Removes every line equal to the key.
void Cutline(const QString& fileName, QByteArrayView key);
/// Removes every line that begins with the key.
void FCutline(const QString& fileName, QByteArrayView key);
/// Writes the new line in place of every line equal to the key.
void Exline(const QString& fileName, QByteArrayView key, QByteArrayView newLine);
/// Writes the new line in place of every line that begins with the key.
void FExline(const QString& fileName, QByteArrayView key, QByteArrayView newLine);

} // namespace kelvano::StringUtil
