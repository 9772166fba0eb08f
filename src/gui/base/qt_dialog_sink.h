#pragma once

#include "gui/base/user_dialogs.h"

namespace kelvano {

/// Shows messages in QMessageBox and colours in QColorDialog, modal to their owner.
/// The window a dialog for `owner` stands over, centred: the owner's window while it is shown, else the
/// active window. Null (the dialog is centred on the screen) when neither is shown: a hidden window's
/// place would put the dialog in a corner of the screen.
QWidget* dialogParent(QWidget* owner);

class QtDialogSink : public DialogSink {
public:
    void show(QWidget* owner, const Message& message) override;
    bool askYesNo(QWidget* owner, const Message& message, Answer enterAnswers) override;
    Answer askYesNoCancel(QWidget* owner, const Message& message, Answer enterAnswers) override;
    std::optional<QColor> chooseColour(QWidget* owner, const QColor& initial) override;
};

} // namespace kelvano
