#pragma once

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <memory>

class QAbstractButton;
class QTableWidget;
class QWidget;

namespace kelvano {
class TForm1;
class TForm3;
class TForm4;
} // namespace kelvano

namespace kelvano::test {

/// The main window and both formatting dialogs created and wired as the program creates them, for the
/// given program folder; the main window is shown and active.
class WindowSet {
public:
    explicit WindowSet(const QString& programFolder);
    ~WindowSet();

    TForm1& form1() { return *m_form1; }
    TForm3& form3() { return *m_form3; }
    TForm4& form4() { return *m_form4; }

private:
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm3> m_form3;
    std::unique_ptr<TForm4> m_form4;
};

/// A user's left click on a button.
void click(QAbstractButton* button);
/// A user's left click on a row of a report list (on its second column, away from any tick box).
void clickRow(QTableWidget* list, int row);
/// Moves the keyboard focus to the widget as a user would (the field that had it is left).
void focus(QWidget* widget);
/// Types the text key by key as a user does, Japanese characters and those beyond the basic plane too.
void type(QWidget* widget, const QString& text);
/// The texts of one column of a report list, top to bottom.
QStringList columnTexts(const QTableWidget* list, int column);
/// A list of UTF-8 texts.
QStringList texts(std::initializer_list<const char*> utf8);

} // namespace kelvano::test
