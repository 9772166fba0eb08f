#pragma once

#include <QImage>
#include <QWidget>

namespace kelvano {

/// A square of the picture picker's preview: filled with the button-face colour, painted black (the
/// shadow behind a shown picture), or showing a picture unscaled from an offset.
class PreviewArea : public QWidget {
    Q_OBJECT

public:
    enum class Fill { ButtonFace, Black, Picture };

    explicit PreviewArea(QWidget* parent = nullptr);

    void fillButtonFace();
    void paintBlack();
    /// Draws the picture with its top-left corner at minus the offset.
    void showPicture(const QImage& picture, QPoint offset);

    Fill fill() const { return m_fill; }
    QPoint offset() const { return m_offset; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Fill m_fill = Fill::ButtonFace;
    QImage m_picture;
    QPoint m_offset;
};

} // namespace kelvano
