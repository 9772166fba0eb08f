#include "gui/dialogs/colour_values.h"

namespace kelvano::ColourValues {

quint32 fromColour(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return quint32(rgb.red()) | quint32(rgb.green()) << 8 | quint32(rgb.blue()) << 16;
}

QColor toColour(quint32 value) {
    return QColor(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
}

QString colourTextFromHex3(const QString& hex3Digits) {
    return hex3Digits.mid(4, 2) + hex3Digits.mid(2, 2) + hex3Digits.mid(0, 2);
}

} // namespace kelvano::ColourValues
