#pragma once

#include <QSpinBox>

namespace kelvano {

/// A spin field that lets any number be typed and sets it to the nearest bound when the field is left;
/// a text that is not a number reads as the minimum. The value changes once the typing is finished.
class ClampingSpinBox : public QSpinBox {
    Q_OBJECT

public:
    ClampingSpinBox(int minimum, int maximum, int initial, QWidget* parent);

protected:
    QValidator::State validate(QString& text, int& position) const override;
    void fixup(QString& text) const override;
    int valueFromText(const QString& text) const override;
};

} // namespace kelvano
