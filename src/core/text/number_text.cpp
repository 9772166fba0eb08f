#include "core/text/number_text.h"

#include <cstdlib>

namespace kelvano::StringUtil {
namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

QByteArray padSingleDigit(quint16 value, char pad) {
    QByteArray text = QByteArray::number(value);
    if (text.size() == 1) {
        text.prepend(pad);
    }
    return text;
}

} // namespace

QByteArray zero(quint16 value) {
    return padSingleDigit(value, '0');
}

QByteArray spc(quint16 value) {
    return padSingleDigit(value, ' ');
}

QByteArray bytestr(quint8 value) {
    return QByteArray::number(value);
}

QByteArray wordstr(quint16 value) {
    return QByteArray::number(value);
}

QByteArray intstr(qint32 value) {
    return QByteArray::number(value);
}

QByteArray longstr(qint32 value) {
    return QByteArray::number(value);
}

QByteArray dtoh(quint8 value) {
    const char digits[] = {HexDigits[value >> 4], HexDigits[value & 0x0F]};
    return QByteArray(digits, 2);
}

QByteArray hex3(qint32 colour) {
    const auto bits = static_cast<quint32>(colour);
    QByteArray digits(6, '0');
    for (int i = 0; i < 6; ++i) {
        digits[5 - i] = HexDigits[(bits >> (4 * i)) & 0x0F];
    }
    return digits;
}

QByteArray dtoc(qint32 value) {
    const QByteArray digits = QByteArray::number(std::llabs(static_cast<qint64>(value)));
    QByteArray grouped = value < 0 ? QByteArray("-") : QByteArray();
    const qsizetype firstGroup = (digits.size() - 1) % 3 + 1;
    grouped += digits.left(firstGroup);
    for (qsizetype start = firstGroup; start < digits.size(); start += 3) {
        grouped += ',';
        grouped += digits.mid(start, 3);
    }
    return grouped;
}

} // namespace kelvano::StringUtil
