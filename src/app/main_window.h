#pragma once

#include <QWidget>

namespace kelvano {

/// The main window: the tab pages for table definitions, snippets, data entry and folder settings.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
};

} // namespace kelvano
