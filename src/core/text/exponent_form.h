#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The exponent form of a real number and the fixed-point texts made from it. The form has 23
// characters: a blank or "-", the leading digit, ".", fourteen digits, "E", the exponent's sign and
// the exponent in four digits; 1.5 is " 1.50000000000000E+0000".

namespace kelvano::StringUtil {

/// The exponent form of a value, rounded to fifteen significant digits. Zero has a blank sign, also
/// when negative; an infinity or a value that is not a number gives " INF", "-INF" or " NAN".
QByteArray exponentForm(double value);

/// Fixed point with two decimals, cut off without rounding: " 1.23456000000000E+0002" gives "123.45".
/// A value below 1 gives "0." and its first two decimals; a negative value keeps its "-".
QByteArray Dot2(QByteArrayView form);

/// Fixed point, rounded half up. From 1 up: the integer digits, "." and two decimals ("1.005" gives
/// "1.01", "9.999" gives "10.00"). Below 1: "0.", the zeros after the point and two significant
/// digits (0.0123 gives "0.012", 0.456 gives "0.46").
QByteArray Round2(QByteArrayView form);

} // namespace kelvano::StringUtil
