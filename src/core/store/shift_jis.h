#pragma once

#include <QByteArray>
#include <QString>

namespace kelvano::ShiftJis {

/// The result of encoding text as code page 932; `unencodable` lists the characters it cannot hold.
struct Encoded {
    QByteArray bytes;
    QString unencodable;
    bool ok() const { return unencodable.isEmpty(); }
};

/// Encodes text as code page 932 (ICU's windows-31j). Characters the code page cannot hold are left
/// out of `bytes` and reported in `unencodable`, never replaced by "?".
Encoded encode(QStringView text);

/// Decodes code page 932 bytes; a broken or half double-byte character becomes U+FFFD.
QString decode(QByteArrayView bytes);

/// Appends to `out` the UTF-8 of `bytes` as decode() reads them, without a QString between: a table
/// made once from the converter gives each character's UTF-8 (a text the table does not cover, such as
/// one with a broken character, is decoded whole as decode() does).
void appendUtf8(QByteArray& out, QByteArrayView bytes);

/// True when the byte opens a double-byte character (0x81-0x9F, 0xE0-0xFC).
bool isLeadByte(unsigned char byte);
/// True when the byte can close a double-byte character (0x40-0x7E, 0x80-0xFC); a lead byte followed
/// by any other byte is a character of its own.
bool isTrailByte(unsigned char byte);

} // namespace kelvano::ShiftJis
