#pragma once

#include <QListWidget>

namespace kelvano {

/// A list laid out in three columns, filled top to bottom. The columns share the list's width, or are
/// as wide as the widest entry when that is wider; rows are as high as the font is drawn.
class ThreeColumnList : public QListWidget {
    Q_OBJECT

public:
    explicit ThreeColumnList(QWidget* parent = nullptr);

    /// Lays the entries out again after the list was refilled.
    void fitColumns();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
};

} // namespace kelvano
