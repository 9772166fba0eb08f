#include "support/window_set.h"

#include "app/window_links.h"
#include "gui/dialogs/cell_colour_dialog.h"
#include "gui/dialogs/table_settings_dialog.h"
#include "gui/main/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QTableWidget>
#include <QTest>

namespace kelvano::test {

WindowSet::WindowSet(const QString& programFolder) {
    m_form1 = std::make_unique<TForm1>(programFolder);
    m_form3 = std::make_unique<TForm3>();
    m_form4 = std::make_unique<TForm4>();
    linkWindows({.Form1 = m_form1.get(), .Form3 = m_form3.get(), .Form4 = m_form4.get()});
    m_form1->show();
    QApplication::setActiveWindow(m_form1.get());
    static_cast<void>(QTest::qWaitForWindowActive(m_form1.get()));
}

WindowSet::~WindowSet() {
    m_form4.reset();
    m_form3.reset();
    m_form1.reset();
}

void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

void clickRow(QTableWidget* list, int row) {
    const QRect cell = list->visualItemRect(list->item(row, list->columnCount() > 1 ? 1 : 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

void focus(QWidget* widget) {
    QWidget* const window = widget->window();
    if (!window->isVisible()) {
        window->show();
    }
    QApplication::setActiveWindow(window);
    widget->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
}

void type(QWidget* widget, const QString& text) {
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length = text.at(at).isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
        const QString typed = text.mid(at, length);
        at += length;
        if (typed.size() == 1 && typed.at(0).unicode() < 0x7F) {
            QTest::keyClick(widget, typed.at(0).toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, typed);
        QApplication::sendEvent(widget, &release);
    }
}

QStringList columnTexts(const QTableWidget* list, int column) {
    QStringList texts;
    for (int row = 0; row < list->rowCount(); ++row) {
        texts.append(list->item(row, column)->text());
    }
    return texts;
}

QStringList texts(std::initializer_list<const char*> utf8) {
    QStringList result;
    for (const char* text : utf8) {
        result.append(QString::fromUtf8(text));
    }
    return result;
}

} // namespace kelvano::test
