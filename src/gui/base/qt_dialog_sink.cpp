#include "gui/base/qt_dialog_sink.h"

#include <QApplication>
#include <QColorDialog>
#include <QMessageBox>

namespace kelvano {
namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

int exec(QWidget* owner, const Message& message, QMessageBox::StandardButtons buttons) {
    QMessageBox box(boxIcon(message.icon), message.caption, message.text, buttons, dialogParent(owner));
    return box.exec();
}

} // namespace

QWidget* dialogParent(QWidget* owner) {
    if (owner != nullptr && owner->window()->isVisible()) {
        return owner->window();
    }
    return QApplication::activeWindow();
}

void QtDialogSink::show(QWidget* owner, const Message& message) {
    exec(owner, message, QMessageBox::Ok);
}

bool QtDialogSink::askYesNo(QWidget* owner, const Message& message) {
    return exec(owner, message, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

Answer QtDialogSink::askYesNoCancel(QWidget* owner, const Message& message) {
    switch (exec(owner, message, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<QColor> QtDialogSink::chooseColour(QWidget* owner, const QColor& initial) {
    const QColor colour = QColorDialog::getColor(initial, dialogParent(owner));
    if (!colour.isValid()) {
        return std::nullopt;
    }
    return colour;
}

} // namespace kelvano
