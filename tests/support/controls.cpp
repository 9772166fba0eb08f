#include "support/controls.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
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

QListWidget* listBox(const QWidget& window, const char* objectName) {
    return control<QListWidget>(window, objectName);
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

QTableView* tableView(const QWidget& window, const char* objectName) {
    return control<QTableView>(window, objectName);
}

QWidget* panel(const QWidget& window, const char* objectName) {
    return control<QWidget>(window, objectName);
}

QMenu* popupMenu(const QWidget& window, const char* objectName) {
    return control<QMenu>(window, objectName);
}

QCheckBox* checkBox(const QWidget& window, const char* objectName) {
    return control<QCheckBox>(window, objectName);
}

QRadioButton* radioButton(const QWidget& window, const char* objectName) {
    return control<QRadioButton>(window, objectName);
}

QSpinBox* spinEdit(const QWidget& window, const char* objectName) {
    return control<QSpinBox>(window, objectName);
}

QScrollBar* scrollBar(const QWidget& window, const char* objectName) {
    return control<QScrollBar>(window, objectName);
}

QAction* action(const QWidget& window, const char* objectName) {
    const QList<QAction*> found = window.findChildren<QAction*>(QString::fromLatin1(objectName));
    if (found.size() != 1) {
        throw std::runtime_error(window.objectName().toStdString() + " holds " +
                                 std::to_string(found.size()) + " menu items named " + objectName);
    }
    return found.first();
}

} // namespace kelvano::test
