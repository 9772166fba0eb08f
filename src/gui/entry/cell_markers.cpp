#include "gui/entry/cell_markers.h"

#include <QPainter>
#include <QPainterPath>
#include <array>

namespace kelvano {
namespace {

/// A small picture frame with a mountain and a sun, and an arrow telling the side of the text.
void drawPicture(QPainter& painter, bool right) {
    painter.setPen(QColor(0x20, 0x60, 0x20));
    painter.setBrush(QColor(0xD8, 0xF0, 0xD0));
    painter.drawRect(1, 1, 18, 13);
    painter.setBrush(QColor(0x30, 0x90, 0x30));
    painter.drawPolygon(
        QPolygon({QPoint(2, 13), QPoint(8, 6), QPoint(12, 10), QPoint(14, 8), QPoint(18, 13)}));
    painter.setBrush(QColor(0xF0, 0xB0, 0x20));
    painter.drawEllipse(QPoint(15, 4), 2, 2);
    painter.setPen(QPen(QColor(0x20, 0x20, 0xA0), 2));
    painter.drawLine(4, 19, 16, 19);
    painter.setBrush(QColor(0x20, 0x20, 0xA0));
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(right ? QPolygon({QPoint(20, 19), QPoint(14, 15), QPoint(14, 23)})
                              : QPolygon({QPoint(0, 19), QPoint(6, 15), QPoint(6, 23)}));
}

QPixmap draw(CellMarkers::Kind kind) {
    QPixmap pixmap(CellMarkers::Width, CellMarkers::Height);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    switch (kind) {
    case CellMarkers::Link: {
        // Two chain links.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0x10, 0x40, 0xC0), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(2, 8, 10, 7), 3, 3);
        painter.drawRoundedRect(QRectF(9, 10, 10, 7), 3, 3);
        painter.drawLine(3, 21, 18, 21);
        break;
    }
    case CellMarkers::PictureRight:
        drawPicture(painter, true);
        break;
    case CellMarkers::PictureLeft:
        drawPicture(painter, false);
        break;
    case CellMarkers::Background:
        // A checkered tile.
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                painter.fillRect(1 + x * 5, 2 + y * 5, 5, 5,
                                 (x + y) % 2 ? QColor(0xE0, 0x90, 0x30) : QColor(0xF8, 0xE0, 0xB0));
            }
        }
        painter.setPen(QColor(0x90, 0x50, 0x10));
        painter.drawRect(1, 2, 19, 19);
        break;
    case CellMarkers::Blank:
        break;
    }
    return pixmap;
}

} // namespace

const QPixmap& CellMarkers::marker(Kind kind) {
    static const std::array<QPixmap, 5> markers{draw(Link), draw(PictureRight), draw(PictureLeft),
                                                draw(Background), draw(Blank)};
    return markers[size_t(kind)];
}

} // namespace kelvano
