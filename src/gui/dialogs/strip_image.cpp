#include "gui/dialogs/strip_image.h"

#include <QMouseEvent>
#include <QPainter>

namespace kelvano {

StripImage::StripImage(const QString& name, const QRect& geometry, QWidget* parent)
    : QWidget(parent), m_canvas(geometry.size(), QImage::Format_RGB32) {
    setObjectName(name);
    setGeometry(geometry);
    setMouseTracking(true);
    m_canvas.fill(Qt::white);
}

void StripImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_canvas);
}

void StripImage::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMoved(event->position().toPoint());
}

void StripImage::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->position().toPoint(), event->button());
}

} // namespace kelvano
