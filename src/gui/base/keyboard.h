#pragma once

#include <QObject>
#include <QTableWidget>
#include <functional>

class QComboBox;
class QPlainTextEdit;
class QPushButton;

// What the keyboard does in the program's windows beyond Qt's own keys: lists whose rows are chosen by
// key as by click, text boxes that Tab leaves, choice boxes that Space opens, dialog keys for windows that
// are no QDialog, and a tab order that follows the reading order.

namespace kelvano {

/// A report list whose row is chosen by a click, by moving to it with the arrow keys (Home, End, Page
/// Up and Page Down too), or by Space or Enter on it; Tab leaves it.
class ReportList : public QTableWidget {
    Q_OBJECT

public:
    ReportList(int columns, QWidget* parent);

signals:
    /// A row was chosen; it is the list's selected row.
    void rowChosen();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

namespace Keyboard {

/// Tab and Shift+Tab leave `box`, Ctrl+Tab reaches the page control around it; Ctrl+I types a tab
/// character in it.
void tabLeavesTextBox(QPlainTextEdit* box);
/// The choice list of `box` opens with F4, with Alt+Down, and with Space while the box's text is empty
/// or wholly selected (as after Tab into it); a Space typed after other text stays a space.
void openChoicesByKey(QComboBox* box);
/// Gives `window`, a window that is no QDialog, a dialog's keys: Enter presses the button that has the
/// focus, else `defaultButton` (drawn as the default; none for a window without one), and Escape does
/// `cancel`. Keys that a control uses itself (Enter in a list, Escape in an open choice list) stay
/// with it.
void giveDialogKeys(QWidget* window, QPushButton* defaultButton, std::function<void()> cancel);
/// Sets the tab order of `window`, whose controls stand at fixed places, to the reading order: row by
/// row from the top, each row from the left, a group box's controls in its place as a block; a page
/// control's tabs come before their pages.
void setReadingOrder(QWidget* window);

} // namespace Keyboard
} // namespace kelvano
