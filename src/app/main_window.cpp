#include "app/main_window.h"

namespace kelvano {

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kelvano"));
    setFixedSize(538, 403);
}

} // namespace kelvano
