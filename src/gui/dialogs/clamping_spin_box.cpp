#include "gui/dialogs/clamping_spin_box.h"

#include <QRegularExpression>

namespace kelvano {

ClampingSpinBox::ClampingSpinBox(int minimum, int maximum, int initial, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    setValue(initial);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    // The value changes when the field is left, Enter is pressed or an arrow steps it, not at each
    // typed digit: typing 12 over 3 must not pass through a count of 1 on the way.
    setKeyboardTracking(false);
}

QValidator::State ClampingSpinBox::validate(QString& text, int&) const {
    static const QRegularExpression number(QStringLiteral("^-?[0-9]*$"));
    if (!number.match(text).hasMatch()) {
        return QValidator::Invalid;
    }
    bool ok = false;
    const int typed = text.toInt(&ok);
    return ok && typed >= minimum() && typed <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void ClampingSpinBox::fixup(QString& text) const {
    text = QString::number(valueFromText(text));
}

int ClampingSpinBox::valueFromText(const QString& text) const {
    bool ok = false;
    const qlonglong typed = text.trimmed().toLongLong(&ok);
    if (!ok) {
        return minimum();
    }
    return int(std::clamp<qlonglong>(typed, minimum(), maximum()));
}

} // namespace kelvano
