#pragma once

#include <QObject>

class QLineEdit;

namespace kelvano {

/// A colour field of the table settings: its colour is chosen with the button beside it, so it reads
/// only and is drawn as a read-only field; a chosen colour is cleared back to none (an empty text, the
/// stored "no colour") by the field's menu ("色をなしにする", action "<name>Clear"), Delete or Backspace.
class ColourField : public QObject {
    Q_OBJECT

public:
    /// Makes `edit` such a field (the field owns what is made).
    static void attach(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ColourField(QLineEdit* edit);

    QLineEdit* m_edit;
};

} // namespace kelvano
