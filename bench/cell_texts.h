#pragma once

#include <QByteArray>

namespace kelvano::bench {

/// The benchmarks' cell text: 8 to 20 bytes, half of them with Japanese characters, as UTF-8 when
/// `utf8`, else in Shift-JIS.
inline QByteArray cellText(int row, int column, bool utf8) {
    QByteArray text = QByteArray::number((row * 7919 + column * 104729) % 1000003);
    if ((row + column) % 2 == 0) {
        text += utf8 ? QByteArray("\xE8\xA1\xA8\xE3\x82\xBD") : QByteArray("\x95\x5C\x83\x5C"); // 表ソ
    }
    return text + "-" + QByteArray::number(column);
}

} // namespace kelvano::bench
