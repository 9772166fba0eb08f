#include "gui/dialogs/colour_field.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>

namespace kelvano {

ColourField::ColourField(QLineEdit* edit) : QObject(edit), m_edit(edit) {}

void ColourField::attach(QLineEdit* edit) {
    edit->setReadOnly(true);
    // The field's face is the window's, as a field that cannot be typed into.
    QPalette palette = edit->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Window));
    }
    edit->setPalette(palette);
    // Clearing is offered by the field's menu, which takes no room from the colour's six digits.
    auto* clear = new QAction(QStringLiteral("色をなしにする"), edit);
    clear->setObjectName(edit->objectName() + QStringLiteral("Clear"));
    clear->setEnabled(!edit->text().isEmpty());
    QObject::connect(edit, &QLineEdit::textChanged, clear,
                     [clear](const QString& text) { clear->setEnabled(!text.isEmpty()); });
    QObject::connect(clear, &QAction::triggered, edit, &QLineEdit::clear);
    static_cast<QWidget*>(edit)->addAction(clear);
    edit->setContextMenuPolicy(Qt::ActionsContextMenu);
    edit->installEventFilter(new ColourField(edit));
}

bool ColourField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            m_edit->clear();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kelvano
