#include "gui/base/keyboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>

namespace kelvano {
namespace {

/// Modifiers that leave a key what it is: the keypad's Enter is Enter.
bool plain(const QKeyEvent* key) {
    return (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

bool isEnter(const QKeyEvent* key) {
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && plain(key);
}

/// Calls `handle` with each key press that reaches the watched object; it answers whether it took it.
class KeyFilter : public QObject {
public:
    KeyFilter(QObject* watched, std::function<bool(QKeyEvent*)> handle)
        : QObject(watched), m_handle(std::move(handle)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && m_handle(static_cast<QKeyEvent*>(event))) {
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(QKeyEvent*)> m_handle;
};

/// Two controls whose tops lie this close stand on one row.
constexpr int RowTolerance = 8;

QList<QWidget*> inReadingOrder(QList<QWidget*> widgets) {
    std::stable_sort(widgets.begin(), widgets.end(),
                     [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); });
    for (qsizetype rowStart = 0; rowStart < widgets.size();) {
        qsizetype rowEnd = rowStart + 1;
        while (rowEnd < widgets.size() &&
               widgets.at(rowEnd)->y() - widgets.at(rowStart)->y() <= RowTolerance) {
            ++rowEnd;
        }
        std::stable_sort(widgets.begin() + rowStart, widgets.begin() + rowEnd,
                         [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
        rowStart = rowEnd;
    }
    return widgets;
}

void appendInReadingOrder(QWidget* container, QList<QWidget*>& chain) {
    QList<QWidget*> children;
    for (QObject* child : container->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && !widget->isWindow()) {
            children.append(widget);
        }
    }
    for (QWidget* child : inReadingOrder(children)) {
        if (auto* tabs = qobject_cast<QTabWidget*>(child)) {
            chain.append(tabs);
            for (int page = 0; page < tabs->count(); ++page) {
                appendInReadingOrder(tabs->widget(page), chain);
            }
        } else if (child->focusPolicy() & Qt::TabFocus) {
            chain.append(child);
        } else {
            appendInReadingOrder(child, chain);
        }
    }
}

} // namespace

ReportList::ReportList(int columns, QWidget* parent) : QTableWidget(0, columns, parent) {
    setTabKeyNavigation(false);
    connect(this, &QAbstractItemView::clicked, this, &ReportList::rowChosen);
}

void ReportList::keyPressEvent(QKeyEvent* event) {
    const bool space = event->key() == Qt::Key_Space && plain(event);
    if ((space || isEnter(event)) && currentRow() >= 0) {
        if (space) {
            QTableWidget::keyPressEvent(event); // a tick box on the row changes as it always has
        }
        selectRow(currentRow());
        emit rowChosen();
        // Enter goes on to the window, where a dialog's default button takes it.
        event->setAccepted(space);
        return;
    }
    const int before = currentRow();
    QTableWidget::keyPressEvent(event);
    const QList<QTableWidgetSelectionRange> selected = selectedRanges();
    // A move that left the selection where it was (Ctrl+Space, a key the list does not use) chooses
    // nothing.
    if (currentRow() != before && !selected.isEmpty() && selected.first().topRow() == currentRow()) {
        emit rowChosen();
    }
}

namespace Keyboard {

void tabLeavesTextBox(QPlainTextEdit* box) {
    box->setTabChangesFocus(true);
    new KeyFilter(box, [box](QKeyEvent* key) {
        if (key->key() != Qt::Key_I || key->modifiers() != Qt::ControlModifier) {
            return false;
        }
        box->insertPlainText(QStringLiteral("\t"));
        return true;
    });
}

void openChoicesByKey(QComboBox* box) {
    new KeyFilter(box, [box](QKeyEvent* key) {
        const QLineEdit* const line = box->lineEdit();
        const bool opens =
            (key->key() == Qt::Key_F4 && plain(key)) ||
            (key->key() == Qt::Key_Space && plain(key) &&
             (line == nullptr || line->text().isEmpty() || line->selectedText() == line->text()));
        if (opens) {
            box->showPopup();
        }
        return opens;
    });
}

void giveDialogKeys(QWidget* window, QPushButton* defaultButton, std::function<void()> cancel) {
    if (defaultButton != nullptr) {
        defaultButton->setDefault(true);
    }
    new KeyFilter(window, [window, defaultButton, cancel = std::move(cancel)](QKeyEvent* key) {
        if (key->key() == Qt::Key_Escape && plain(key)) {
            cancel();
            return true;
        }
        if (!isEnter(key)) {
            return false;
        }
        auto* focused = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
        if (focused != nullptr && focused->window() == window && focused->isEnabled()) {
            focused->click();
        } else if (defaultButton != nullptr && defaultButton->isEnabled() &&
                   defaultButton->isVisibleTo(window)) {
            defaultButton->click();
        }
        return true;
    });
}

void setReadingOrder(QWidget* window) {
    QList<QWidget*> chain;
    appendInReadingOrder(window, chain);
    for (qsizetype at = 1; at < chain.size(); ++at) {
        QWidget::setTabOrder(chain.at(at - 1), chain.at(at));
    }
}

} // namespace Keyboard
} // namespace kelvano
