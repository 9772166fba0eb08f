// Every window walked with Tab and Shift+Tab as a user without a mouse walks it: the focus must leave
// every control, reach every control, go round in the reading order, and no two controls shown together
// may share an Alt letter.

#include "core/table/csv_exchange.h"
#include "gui/dialogs/cell_colour_dialog.h"
#include "gui/dialogs/table_settings_dialog.h"
#include "gui/entry/csv_preview_dialog.h"
#include "gui/entry/link_list.h"
#include "gui/entry/picture_picker.h"
#include "gui/entry/table_data_editor.h"
#include "gui/entry/table_data_reference.h"
#include "gui/main/help_window.h"
#include "gui/main/main_window.h"
#include "gui/main/page_preview_window.h"
#include "gui/main/restore_definition_window.h"
#include "gui/main/server_settings_dialog.h"
#include "gui/shell/directory_picker.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <string_view>

namespace kelvano {
namespace {

/// Tab presses that may stay in one control (a help page's links are visited one by one).
constexpr int MostPressesInOneControl = 60;
constexpr int MostPresses = 400;

QString describe(const QWidget* widget) {
    if (widget == nullptr) {
        return QStringLiteral("(nothing)");
    }
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

/// The controls a user can reach with Tab: shown, enabled, taking focus by Tab themselves.
QList<QWidget*> reachableControls(const QWidget& window) {
    QList<QWidget*> controls;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->window() == &window && widget->isVisible() && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus) && widget->focusProxy() == nullptr) {
            controls.append(widget);
        }
    }
    return controls;
}

/// Presses `key` until the focus is back at the control it started on; the controls visited in order.
/// Fails the test on a control Tab cannot leave or a round that never closes.
QList<QWidget*> walk(QWidget& window, int key) {
    QList<QWidget*> visited;
    QWidget* const start = QApplication::focusWidget();
    EXPECT_NE(start, nullptr) << "no focus in " << describe(&window).toStdString();
    if (start == nullptr) {
        return visited;
    }
    visited.append(start);
    int sameControl = 0;
    for (int press = 0; press < MostPresses; ++press) {
        QWidget* const before = QApplication::focusWidget();
        QTest::keyClick(before, Qt::Key(key), key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        QWidget* const now = QApplication::focusWidget();
        if (now == start) {
            return visited;
        }
        if (now == before) {
            if (++sameControl > MostPressesInOneControl) {
                ADD_FAILURE() << "Tab cannot leave " << describe(now).toStdString() << " in "
                              << describe(&window).toStdString();
                return visited;
            }
            continue;
        }
        sameControl = 0;
        if (now == nullptr || now->window() != &window) {
            ADD_FAILURE() << "Tab left " << describe(&window).toStdString() << " for "
                          << describe(now).toStdString();
            return visited;
        }
        if (visited.contains(now)) {
            ADD_FAILURE() << "Tab goes round " << describe(now).toStdString() << " without coming back to "
                          << describe(start).toStdString() << " in " << describe(&window).toStdString();
            return visited;
        }
        visited.append(now);
    }
    ADD_FAILURE() << "Tab never comes back in " << describe(&window).toStdString();
    return visited;
}

/// The Alt letters of the texts shown together in `window`, each with the texts that carry it.
QMap<QChar, QStringList> mnemonics(const QWidget& window) {
    QStringList texts;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisible()) {
            continue;
        }
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            texts.append(button->text());
        } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            texts.append(label->text());
        } else if (const auto* box = qobject_cast<const QGroupBox*>(widget)) {
            texts.append(box->title());
        } else if (const auto* tabs = qobject_cast<const QTabWidget*>(widget)) {
            for (int tab = 0; tab < tabs->count(); ++tab) {
                texts.append(tabs->tabText(tab));
            }
        }
    }
    QMap<QChar, QStringList> letters;
    for (const QString& text : std::as_const(texts)) {
        for (qsizetype at = text.indexOf(u'&'); at >= 0 && at + 1 < text.size();
             at = text.indexOf(u'&', at + 2)) {
            if (text.at(at + 1) != u'&') {
                letters[text.at(at + 1).toUpper()].append(text);
            }
        }
    }
    return letters;
}

/// Walks `window` as it is shown now, from `start`: both directions, every control, the reading order
/// within each container, and the Alt letters.
void checkKeyboardRound(QWidget& window, QWidget* start) {
    SCOPED_TRACE(describe(&window).toStdString());
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    start->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), start->focusProxy() ? start->focusProxy() : start);

    const QList<QWidget*> forward = walk(window, Qt::Key_Tab);
    for (QWidget* control : reachableControls(window)) {
        EXPECT_TRUE(forward.contains(control)) << "Tab never reaches " << describe(control).toStdString();
    }
    for (qsizetype at = 1; at < forward.size(); ++at) {
        const QWidget* before = forward.at(at - 1);
        const QWidget* after = forward.at(at);
        if (before->parentWidget() != after->parentWidget()) {
            continue;
        }
        const bool sameRow = std::abs(after->y() - before->y()) <= 8;
        EXPECT_TRUE(sameRow ? after->x() > before->x() : after->y() > before->y())
            << describe(after).toStdString() << " comes after " << describe(before).toStdString()
            << " but is not after it in reading order";
    }
    QList<QWidget*> backward = walk(window, Qt::Key_Backtab);
    if (!backward.isEmpty()) {
        std::reverse(backward.begin() + 1, backward.end());
    }
    EXPECT_EQ(backward, forward) << "Shift+Tab does not go the way back";

    const QMap<QChar, QStringList> letters = mnemonics(window);
    for (auto letter = letters.cbegin(); letter != letters.cend(); ++letter) {
        EXPECT_EQ(letter.value().size(), 1)
            << "Alt+" << QString(letter.key()).toStdString() << " is taken by "
            << letter.value().join(QStringLiteral(", ")).toStdString();
    }
    window.hide();
}

class TabChain : public testing::Test {
protected:
    test::TempFolder program;
    test::DialogRecorder recorder;
};

TEST_F(TabChain, EveryPageOfTheMainWindowGoesRoundInReadingOrder) {
    TForm1 form(program.path());
    QTabWidget* const pages = test::pageControl(form, "PageControl1");
    // Lists with rows, a row chosen in each: a list that kept Tab would move from cell to cell.
    pages->setCurrentWidget(test::tabSheet(form, "TabSheet3"));
    test::click(test::button(form, "Button1"));
    for (const char* side : {"Header", "Footer"}) {
        const bool header = std::string_view(side) == "Header";
        test::type(test::edit(form, header ? "Edit9" : "Edit10"), QString::fromLatin1(side));
        test::click(test::button(form, header ? "BitBtn12" : "BitBtn15"));
        test::clickRow(test::listView(form, header ? "ListView3" : "ListView4"), 0);
    }
    test::type(test::edit(form, "Edit4"), QStringLiteral("Prices"));
    test::type(test::edit(form, "Edit5"), QStringLiteral("prices"));
    test::click(test::button(form, "BitBtn4"));
    test::clickRow(test::listView(form, "ListView1"), 0);
    test::clickRow(test::listView(form, "ListView2"), 0);
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        checkKeyboardRound(form, pages);
    }
    EXPECT_TRUE(recorder.shown().isEmpty()) << recorder.texts().join(u'|').toStdString();
}

TEST_F(TabChain, EveryOtherWindowAndDialogGoesRound) {
    QDir(program.path()).mkdir(QStringLiteral("help"));
    program.write(QStringLiteral("help/index.html"),
                  "<html><body><a href=\"a.html\">a</a> <a href=\"b.html\">b</a></body></html>");
    program.write(QStringLiteral("rows.csv"), "a,b\r\nc,d\r\n");
    TForm2 directoryPicker;
    TForm3 tableSettings;
    TForm4 cellColours;
    TForm5 editor;
    TForm6 references;
    TForm7 picturePicker;
    TForm8 links;
    QWidget owner;
    RestoreDefinitionWindow restore(&owner);
    HelpWindow help(program.path() + QStringLiteral("help"));
    help.showContents();
    PagePreviewWindow preview;
    ServerSettingsDialog server(program.path(), SettingsRecord());
    CsvPreviewDialog csv(CsvFile::read(program.path() + QStringLiteral("rows.csv")), 3);
    const std::vector<std::pair<QWidget*, QWidget*>> windows = {
        {&directoryPicker, test::control<QWidget>(directoryPicker, "FolderView1")},
        {&tableSettings, test::radioButton(tableSettings, "RadioButton1")},
        {&cellColours, test::checkBox(cellColours, "CheckBox1")},
        {&editor, test::tableView(editor, "StringGrid1")},
        {&references, test::listBox(references, "ListBox1")},
        {&picturePicker, test::control<QWidget>(picturePicker, "FolderView1")},
        {&links, test::edit(links, "Edit1")},
        {&restore, test::listView(restore, "ListView5")},
        {&help, test::control<QWidget>(help, "HelpBrowser")},
        {&preview, test::control<QWidget>(preview, "PreviewBrowser")},
        {&server, test::comboBox(server, "ComboBox1")},
        {&csv, test::tableView(csv, "PreviewGrid")},
    };
    for (const auto& [window, start] : windows) {
        checkKeyboardRound(*window, start);
    }
}

} // namespace
} // namespace kelvano
