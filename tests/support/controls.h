#pragma once

#include <QList>
#include <QString>
#include <QWidget>
#include <stdexcept>
#include <string>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSpinBox;
class QTabWidget;
class QTableView;
class QTableWidget;

namespace kelvano::test {

/// The control of `window` with the object name `objectName`, found as a user finds it, by what it is
/// and not by where a class keeps it. The test fails, with the name, when the window holds no such
/// control or more than one.
template <typename T> T* control(const QWidget& window, const char* objectName) {
    const QList<T*> found = window.findChildren<T*>(QString::fromLatin1(objectName));
    if (found.size() != 1) {
        throw std::runtime_error(window.objectName().toStdString() + " holds " +
                                 std::to_string(found.size()) + " controls named " + objectName +
                                 " of the type asked for");
    }
    return found.first();
}

QPushButton* button(const QWidget& window, const char* objectName);
QLineEdit* edit(const QWidget& window, const char* objectName);
QComboBox* comboBox(const QWidget& window, const char* objectName);
QTableWidget* listView(const QWidget& window, const char* objectName);
QListWidget* listBox(const QWidget& window, const char* objectName);
QPlainTextEdit* memo(const QWidget& window, const char* objectName);
QGroupBox* groupBox(const QWidget& window, const char* objectName);
QWidget* tabSheet(const QWidget& window, const char* objectName);
QTabWidget* pageControl(const QWidget& window, const char* objectName);
QTableView* tableView(const QWidget& window, const char* objectName);
QWidget* panel(const QWidget& window, const char* objectName);
QMenu* popupMenu(const QWidget& window, const char* objectName);
QCheckBox* checkBox(const QWidget& window, const char* objectName);
QRadioButton* radioButton(const QWidget& window, const char* objectName);
QSpinBox* spinEdit(const QWidget& window, const char* objectName);
QScrollBar* scrollBar(const QWidget& window, const char* objectName);

/// The menu item of `window` with the object name `objectName`, in whichever of its menus it is. The
/// test fails, with the name, when the window holds no such item or more than one.
QAction* action(const QWidget& window, const char* objectName);

} // namespace kelvano::test
