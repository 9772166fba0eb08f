#include "support/controls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace kelvano::test {

QPushButton* button(const QWidget& window, const char* objectName) {
    return control<QPushButton>(window, objectName);
}

QLineEdit* edit(const QWidget& window, const char* objectName) {
    return control<QLineEdit>(window, objectName);
}

QComboBox* comboBox(const QWidget& window, const char* objectName) {
    return control<QComboBox>(window, objectName);
}

QTableWidget* listView(const QWidget& window, const char* objectName) {
    return control<QTableWidget>(window, objectName);
}

QPlainTextEdit* memo(const QWidget& window, const char* objectName) {
    return control<QPlainTextEdit>(window, objectName);
}

QGroupBox* groupBox(const QWidget& window, const char* objectName) {
    return control<QGroupBox>(window, objectName);
}

QWidget* tabSheet(const QWidget& window, const char* objectName) {
    return control<QWidget>(window, objectName);
}

QTabWidget* pageControl(const QWidget& window, const char* objectName) {
    return control<QTabWidget>(window, objectName);
}

} // namespace kelvano::test
