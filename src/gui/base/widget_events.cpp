#include "gui/base/widget_events.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

namespace kelvano {

WidgetEvents::WidgetEvents(QWidget* widget) : QObject(widget) {
    widget->installEventFilter(this);
}

WidgetEvents* WidgetEvents::of(QWidget* widget) {
    if (auto* existing = widget->findChild<WidgetEvents*>(QString(), Qt::FindDirectChildrenOnly)) {
        return existing;
    }
    return new WidgetEvents(widget);
}

void WidgetEvents::refuse(const QString& typed) {
    if (!m_refused.contains(typed)) {
        m_refused.append(typed);
    }
}

bool WidgetEvents::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusOut:
        emit focusLeft(static_cast<QFocusEvent*>(event)->reason());
        break;
    case QEvent::KeyPress:
        if (const QString typed = static_cast<QKeyEvent*>(event)->text(); m_refused.contains(typed)) {
            emit refused(typed);
            return true;
        }
        break;
    case QEvent::MouseButtonDblClick:
        emit doubleClicked();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool focusMovedWithinProgram(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace kelvano
