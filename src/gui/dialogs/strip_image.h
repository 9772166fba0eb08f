#pragma once

#include <QImage>
#include <QWidget>

namespace kelvano {

/// A drawing surface of fixed size: the owner paints into its canvas and is told where the pointer
/// moves and which button is pressed where.
class StripImage : public QWidget {
    Q_OBJECT

public:
    StripImage(const QString& name, const QRect& geometry, QWidget* parent);

    QImage& canvas() { return m_canvas; }
    const QImage& canvas() const { return m_canvas; }

signals:
    void pointerMoved(QPoint position);
    void pressed(QPoint position, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage m_canvas;
};

} // namespace kelvano
