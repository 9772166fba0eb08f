#include "gui/base/qt_dialog_sink.h"

#include <QApplication>
#include <QColorDialog>
#include <QGridLayout>
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

/// The least width of a message box: a window manager that puts every title button on a dialog
/// leaves a box sized to a short message no room to show its caption.
constexpr int MessageBoxMinimumWidth = 260;

QMessageBox::StandardButton buttonOf(Answer answer) {
    switch (answer) {
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    case Answer::Cancel:
        break;
    }
    return QMessageBox::Cancel;
}

int exec(QWidget* owner, const Message& message, QMessageBox::StandardButtons buttons,
         QMessageBox::StandardButton enterPresses = QMessageBox::NoButton) {
    QMessageBox box(boxIcon(message.icon), message.caption, message.text, buttons, dialogParent(owner));
    if (enterPresses != QMessageBox::NoButton) {
        box.setDefaultButton(enterPresses);
    }
    // QMessageBox sets its own size, so the width is asked for through its layout.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(MessageBoxMinimumWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
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

bool QtDialogSink::askYesNo(QWidget* owner, const Message& message, Answer enterAnswers) {
    return exec(owner, message, QMessageBox::Yes | QMessageBox::No, buttonOf(enterAnswers)) ==
           QMessageBox::Yes;
}

Answer QtDialogSink::askYesNoCancel(QWidget* owner, const Message& message, Answer enterAnswers) {
    switch (exec(owner, message, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                 buttonOf(enterAnswers))) {
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
