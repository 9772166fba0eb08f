#pragma once

#include <QColor>
#include <QString>

// Colour values as the table definitions hold them: red in the low byte, green in the second, blue in
// the third.

namespace kelvano::ColourValues {

quint32 fromColour(const QColor& colour);
QColor toColour(quint32 value);
/// The colour text (RRGGBB) from the six digits that hex3 gives (blue pair, green pair, red pair).
QString colourTextFromHex3(const QString& hex3Digits);

} // namespace kelvano::ColourValues
