#pragma once

#include "gui/base/user_dialogs.h"

namespace kelvano {

/// Shows messages in QMessageBox and colours in QColorDialog, modal to their owner.
class QtDialogSink : public DialogSink {
public:
    void show(QWidget* owner, const Message& message) override;
    bool askYesNo(QWidget* owner, const Message& message) override;
    Answer askYesNoCancel(QWidget* owner, const Message& message) override;
    std::optional<QColor> chooseColour(QWidget* owner, const QColor& initial) override;
};

} // namespace kelvano
