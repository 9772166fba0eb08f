#pragma once

#include <QListWidget>

namespace kelvano {

/// A list laid out in three columns of 12-pixel items, filled top to bottom, the columns sharing the
/// list's width.
class ThreeColumnList : public QListWidget {
    Q_OBJECT

public:
    explicit ThreeColumnList(QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitColumns();
};

} // namespace kelvano
