#include "gui/dialogs/cell_colour_dialog.h"
#include "gui/dialogs/table_settings_dialog.h"
#include "gui/entry/link_list.h"
#include "gui/entry/picture_picker.h"
#include "gui/entry/table_data_editor.h"
#include "gui/entry/table_data_reference.h"
#include "gui/main/main_window.h"
#include "gui/main/restore_definition_window.h"
#include "gui/shell/directory_picker.h"
#include "support/temp_folder.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

/// The size a text needs in a widget's font, with the mnemonic marker not drawn.
QSize textSize(const QWidget* widget, const QString& text) {
    return QFontMetrics(widget->font()).size(Qt::TextShowMnemonic, text);
}

/// Why a text does not fit its widget as drawn with the installed fonts, or an empty text.
QString misfit(const QWidget* widget) {
    QSize needed;
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        text = label->text();
        needed = textSize(label, text) + QSize(2 * label->margin(), 2 * label->margin());
    } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        // The title is drawn in the top band, indented past the frame's corner.
        text = group->title();
        needed = textSize(group, text) + QSize(16, 0);
        needed.setHeight(0);
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        // Tick boxes and radio buttons: the indicator and its gap, then the text; push buttons: the
        // text within the bevel's margins.
        text = button->text();
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = text;
        const QSize content = textSize(button, text);
        const QStyle::ContentsType type = qobject_cast<const QCheckBox*>(button)      ? QStyle::CT_CheckBox
                                          : qobject_cast<const QRadioButton*>(button) ? QStyle::CT_RadioButton
                                                                                      : QStyle::CT_PushButton;
        if (type == QStyle::CT_PushButton) {
            needed = content + QSize(8, 4);
        } else {
            // The indicator and its gap beside the text; the text's own height.
            needed = QSize(button->style()->sizeFromContents(type, &option, content, button).width(),
                           content.height());
        }
    } else {
        return {};
    }
    if (text.isEmpty() || !widget->isVisibleTo(widget->window())) {
        return {};
    }
    const QString where = QStringLiteral("\"%1\" in %2: ").arg(text, widget->window()->objectName());
    if (needed.width() > widget->width() || needed.height() > widget->height()) {
        return where + QStringLiteral("needs %1 x %2, has %3 x %4")
                           .arg(needed.width())
                           .arg(needed.height())
                           .arg(widget->width())
                           .arg(widget->height());
    }
    const QWidget* parent = widget->parentWidget();
    if (parent != nullptr && !parent->rect().contains(widget->geometry())) {
        const QRect place = widget->geometry();
        return where + QStringLiteral("%1,%2 %3 x %4 reaches outside its parent's %5 x %6")
                           .arg(place.x())
                           .arg(place.y())
                           .arg(place.width())
                           .arg(place.height())
                           .arg(parent->width())
                           .arg(parent->height());
    }
    // The drawn text (a group box's title band) keeps a gap to every other control beside it.
    QRect drawn(widget->geometry().topLeft(), needed + QSize(2, 0));
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        const QRect title(QPoint(0, 0), textSize(group, text) + QSize(16, 0));
        for (const QWidget* child : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isVisibleTo(group) && child->geometry().intersects(title)) {
                return where + QStringLiteral("its title is covered by %1").arg(child->objectName());
            }
        }
        return {};
    }
    if (parent != nullptr && qobject_cast<const QLabel*>(widget)) {
        for (const QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (sibling != widget && sibling->isVisibleTo(parent) && sibling->geometry().intersects(drawn)) {
                return where + QStringLiteral("touches %1").arg(sibling->objectName());
            }
        }
    }
    return {};
}

TEST(WindowTexts, EveryCaptionFitsItsControlInTheInstalledFont) {
    // Fontconfig picks the windows' font by the language, once per process: under another locale the
    // test runs again in a process of its own with Japanese, the language the program is used in.
    if (!QLocale::system().name().startsWith(u"ja") && qgetenv("FC_LANG") != "ja") {
        QProcess japanese;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("FC_LANG"), QStringLiteral("ja"));
        japanese.setProcessEnvironment(environment);
        japanese.setProcessChannelMode(QProcess::MergedChannels);
        japanese.start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--gtest_filter=WindowTexts.*")});
        ASSERT_TRUE(japanese.waitForFinished(60000));
        EXPECT_EQ(japanese.exitCode(), 0) << japanese.readAll().toStdString();
        return;
    }
    const test::TempFolder folder;
    TForm1 form1(folder.path());
    TForm2 form2;
    TForm3 form3;
    TForm4 form4;
    TForm5 form5;
    TForm6 form6;
    TForm7 form7;
    TForm8 form8;
    RestoreDefinitionWindow restore(&form1);
    QStringList misfits;
    for (QWidget* window : std::initializer_list<QWidget*>{&form1, &form2, &form3, &form4, &form5, &form6,
                                                           &form7, &form8, &restore}) {
        window->show();
        QCoreApplication::processEvents();
        const auto checkShown = [&] {
            for (const QWidget* widget : window->findChildren<QWidget*>()) {
                if (const QString fault = misfit(widget); !fault.isEmpty() && !misfits.contains(fault)) {
                    misfits.append(fault);
                }
            }
        };
        checkShown();
        // Every page of a tab control in turn.
        for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
            for (int page = 0; page < tabs->count(); ++page) {
                tabs->setCurrentIndex(page);
                QCoreApplication::processEvents();
                checkShown();
            }
        }
        window->hide();
    }
    EXPECT_TRUE(misfits.isEmpty()) << misfits.join(QLatin1Char('\n')).toStdString();
}

} // namespace
} // namespace kelvano
