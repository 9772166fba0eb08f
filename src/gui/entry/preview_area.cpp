#include "gui/entry/preview_area.h"

#include <QPainter>

namespace kelvano {

PreviewArea::PreviewArea(QWidget* parent) : QWidget(parent) {}

void PreviewArea::fillButtonFace() {
    m_fill = Fill::ButtonFace;
    m_picture = QImage();
    update();
}

void PreviewArea::paintBlack() {
    m_fill = Fill::Black;
    m_picture = QImage();
    update();
}

void PreviewArea::showPicture(const QImage& picture, QPoint offset) {
    m_fill = Fill::Picture;
    m_picture = picture;
    m_offset = offset;
    update();
}

void PreviewArea::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    switch (m_fill) {
    case Fill::Black:
        painter.fillRect(rect(), Qt::black);
        break;
    case Fill::ButtonFace:
        painter.fillRect(rect(), palette().color(QPalette::Button));
        break;
    case Fill::Picture:
        painter.fillRect(rect(), palette().color(QPalette::Button));
        painter.drawImage(-m_offset, m_picture);
        break;
    }
}

} // namespace kelvano
