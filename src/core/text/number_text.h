#pragma once

#include <QByteArray>
#include <QtGlobal>

// Numbers written as text by the string utility component. Every result is plain ASCII, kept as bytes
// like all text of the component.

namespace kelvano::StringUtil {

/// Decimal text; a single digit gets a leading "0" (7 gives "07").
QByteArray zero(quint16 value);
/// Decimal text; a single digit gets a leading blank (7 gives " 7").
QByteArray spc(quint16 value);
QByteArray bytestr(quint8 value);
QByteArray wordstr(quint16 value);
/// Decimal text with every digit of the value; callers pass -9999 to 99999, which take at most 5 characters.
QByteArray intstr(qint32 value);
/// Decimal text with every digit of the value; callers pass values from -999999999 up.
QByteArray longstr(qint32 value);

/// Two upper-case hexadecimal digits, high nibble first (10 gives "0A").
QByteArray dtoh(quint8 value);
/// Six upper-case hexadecimal digits of a colour value's low 24 bits, most significant first. A colour
/// value keeps red in its low byte, so the digits read blue, green, red: pure red gives "0000FF".
/// HTML order is characters 5-6, 3-4, 1-2.
QByteArray hex3(qint32 colour);

/// Decimal text with "," between groups of three digits counted from the right (1234567 gives
/// "1,234,567"); a negative value is its absolute value grouped, after "-".
QByteArray dtoc(qint32 value);

} // namespace kelvano::StringUtil
